// What a command hands back to main, which prints it once: its rows on standard output, then
// what it has to say on standard error, and the exit status.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/cli_output.h"
#include "cli/exit_status.h"

struct CommandResult {
  int status = EXIT_DONE;
  std::optional<Table> table;
  std::vector<std::string> errors; // always said
  std::vector<std::string> notes;  // dropped by --quiet

  // Says "qbr20g-cli: `message`" and sets the status; returns *this for a command to return.
  CommandResult& fail(int exit_status, const std::string& message) {
    status = exit_status;
    errors.push_back("qbr20g-cli: " + message);
    return *this;
  }
  void note(const std::string& message) { notes.push_back("qbr20g-cli: note: " + message); }
};
