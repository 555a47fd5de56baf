// What configure will write into a bridge: the network, its security and secrets, checked with
// the pages' own checks and recorded as the pages record them, ready for the write. One plan
// serves every bridge of a command line; a fleet file (--from) gives each bridge its own.
#pragma once

#include <optional>
#include <string>

#include "cli/command_result.h"
#include "cli/secrets.h"
#include "device/wireless_records.h"

struct CliOptions;

struct BridgePlan {
  std::string bridge;  // MAC text; empty: the bridges that the command line chooses
  std::string adapter; // empty: wherever it answers
  std::string where;   // how messages name the plan's source: "" or "FILE: entry 3"
  std::string ssid;
  int security = -1; // SECURITY_*; -1: the network's own, from the bridge's survey
  bool wep_hex = true;
  int key_index = 1; // 1 to 4
  std::optional<Secrets> secrets;
  WirelessRecords choices{}; // the settings the write sends, once recorded
};

// Checks the plan's SSID as typed by hand, its security and secrets (from the plan, else
// --secrets-file, else asked on the terminal), and records them in plan->choices. False after
// telling why in *result (EXIT_USAGE): the page's own message, and what form is wanted.
bool record_typed_plan(const CliOptions& options, BridgePlan* plan, CommandResult* result);

// The same for a network the bridge heard (`row`, from its survey), with that row's security.
bool record_listed_plan(const CliOptions& options, const NetworkEntry& row, BridgePlan* plan,
                        CommandResult* result);

// Refuses the survey's stand-in for a hidden network as an SSID. False after telling why.
bool refuse_hidden_placeholder(const std::string& ssid, const std::string& where,
                               CommandResult* result);
