// Which adapters and bridges a command works on. Never an implicit or group target: a bridge is
// named (--bridge, or an entry of --from), every one that answers (--all), or the only one that
// answers on any usable adapter; a broadcast, multicast, zero or own MAC is refused before any
// frame goes out, and an ambiguous choice lists the candidates.
#pragma once

#include <string>
#include <vector>

#include "cli/command_result.h"

class ProgressLine;

struct CliAdapter {
  std::string name;
  std::string mac; // MAC text
};

struct CliBridge {
  std::string mac; // MAC text
  CliAdapter adapter;
};

// Rows by adapter, then MAC, so that two runs compare line by line.
bool bridge_order(const CliBridge& a, const CliBridge& b);

// The wired adapters to use: the one named `only` (checked), or every one that the wizard's
// start-up finds usable. False after telling why in *result (EXIT_NO_ADAPTER).
bool find_cli_adapters(const std::string& only, std::vector<CliAdapter>* adapters,
                       CommandResult* result);

// Refuses a MAC text that can never be one bridge: a group address, the zero address, or one of
// this host's adapters (listed through the link helper; no frame is sent). False after telling
// why in *result (EXIT_USAGE). `what` names where the MAC came from ("--bridge", "entry 3").
bool refuse_non_bridge(const std::string& mac, const std::string& what, CommandResult* result);

struct TargetRequest {
  struct Named {
    std::string mac;     // MAC text
    std::string adapter; // empty: wherever it answers
  };
  std::string adapter;      // --adapter: the only adapter to look on, and the default
  std::vector<Named> named; // bridges that must answer
  bool all = false;         // every bridge that answers, the named ones among them
  int parallel = 1;         // (unused by the choice; carried for the command)
};

struct Targets {
  std::vector<CliBridge> bridges;  // to work on, in bridge_order
  std::vector<std::string> silent; // named, but did not answer
};

// Finds the bridges to work on. A named bridge on a named adapter is taken as it is (no
// discovery); the rest are looked for on every usable adapter at once, listening until every
// named one has answered. Without names and without `all`, exactly one bridge must answer.
// False after telling why in *result.
bool choose_targets(const TargetRequest& request, ProgressLine& progress, Targets* targets,
                    CommandResult* result);

// Discovery over `adapters` at once: one quiet window whatever their number, then the unicast
// probes back to back and one pause. Listening ends early once every MAC of `expected` (when
// not empty) has answered. The bridges found, each once, on the first adapter in name order
// where it answered; in bridge_order.
std::vector<CliBridge> discover_fleet(const std::vector<CliAdapter>& adapters,
                                      const std::vector<std::string>& expected,
                                      ProgressLine& progress);
