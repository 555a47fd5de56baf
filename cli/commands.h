// The commands of qbr20g-cli, in one table: each command's name, help, options and what it runs.
// A command returns its rows, what it has to say and its exit status; main prints them once.
#pragma once

#include <vector>

#include "cli/cli_options.h"
#include "cli/command_result.h"

namespace CLI {
class App;
}

struct Command {
  const char* name;
  const char* help;
  // Adds the command's own options to its subcommand, reading into `options`.
  void (*add_options)(CLI::App& command, CliOptions& options);
  CommandResult (*run)(const CliOptions& options);
};

const std::vector<Command>& command_table();

CommandResult run_configure(const CliOptions& options);

// Marks the point from which a command talks to bridges: before it, a Ctrl-C ends the program
// at once (it only reads its input); from it on, the work winds down and every row is printed.
void mark_link_work_begun();
bool link_work_begun();
