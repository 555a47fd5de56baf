// Which bridges a command works on: those named with --bridge (found by discovery, or taken
// as they are with --adapter), every one that answers (--all), or the only one that answers.
#pragma once

#include <vector>

#include "cli/bridge_session.h"
#include "cli/cli_options.h"

class ProgressLine;

struct BridgeChoice {
  int status = 0;                  // EXIT_DONE, or why there is nothing to work on
  std::vector<CliBridge> bridges;  // those to work on, in the order asked for or found
  std::vector<std::string> silent; // MACs named with --bridge that did not answer
};

// `several`: the command may work on more than one bridge (configure's batch).
BridgeChoice choose_bridges(const CliOptions& options, bool several, ProgressLine& progress);
