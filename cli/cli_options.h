// The command line of qbr20g-cli: its commands and options, read with CLI11.
#pragma once

#include <optional>
#include <string>
#include <vector>

enum class CliCommand { Adapters, List, Survey, Show, Configure };

struct CliOptions {
  CliCommand command = CliCommand::Adapters;
  bool json = false;
  bool quiet = false;
  std::string adapter;              // --adapter NAME: that adapter only
  std::vector<std::string> bridges; // --bridge MAC, as MAC texts ("02-00-00-00-0b-01")
  bool all = false;                 // --all
  // configure
  std::string ssid;
  bool hidden = false;
  std::optional<int> security; // --security as a SECURITY_* mode; without it, from the survey
  bool wep_hex = true;         // --wep-format hex (the WEP page's own default) or ascii
  int key_index = 1;           // --key-index 1 to 4
  bool key_options_given = false;
  std::string secrets_file; // --secrets-file FILE, or "-" for standard input
};

// Reads the command line. Returns the options, or nothing with the exit status in *status
// when the program is done: after --help or --version (0), or after a usage error, which it
// has described on standard error (2).
std::optional<CliOptions> parse_cli_options(int argc, char** argv, int* status);
