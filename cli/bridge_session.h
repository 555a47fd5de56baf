// The link as one run of qbr20g-cli uses it: the usable wired adapters, discovery of the
// bridges on them, the capture on a bridge's adapter, and the ticks that time the waits.
// Everything goes through the same link and device procedures as the wizard's pages.
#pragma once

#include <string>
#include <vector>

#include "link/link_ticks.h"

class ProgressLine;

struct CliAdapter {
  std::string name;
  std::string mac; // MAC text
};

struct CliBridge {
  std::string mac; // MAC text
  CliAdapter adapter;
};

// The wired adapters to use: the one named `only` (checked, and its capture opened), or every
// one that the wizard's start-up finds usable. Returns 0, or EXIT_NO_ADAPTER after telling
// why on standard error, in the wizard's words when it is the same cause.
int find_cli_adapters(const std::string& only, std::vector<CliAdapter>* adapters);

// Discovery over `adapters`: on each in turn (`every_adapter`), or as the wizard does, until
// one of them has bridges. Appends each bridge found, once, with its adapter.
void discover_bridges(const std::vector<CliAdapter>& adapters, bool every_adapter,
                      ProgressLine& progress, std::vector<CliBridge>* bridges);

// Opens the capture on `adapter` unless it is open there already. False when it cannot be.
bool use_adapter(const CliAdapter& adapter);
