// The command line of qbr20g-cli: the options of every command, read with CLI11 from the
// command table (commands.h).
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace CLI {
class App;
}

struct CliOptions {
  std::string command; // the command's name
  bool json = false;
  bool quiet = false;
  std::string adapter;              // --adapter NAME
  std::vector<std::string> bridges; // --bridge MAC, as MAC texts ("02-00-00-00-0b-01")
  bool all = false;                 // --all
  int parallel = 16;                // --parallel N: bridges worked on at once
  // configure
  std::string ssid;
  bool hidden = false;
  std::optional<int> security; // --security as a SECURITY_* mode; without it, from the survey
  bool wep_hex = true;         // --wep-format hex (the WEP page's own default) or ascii
  int key_index = 1;           // --key-index 1 to 4
  bool key_options_given = false;
  std::string secrets_file; // --secrets-file FILE, or "-" for standard input
  std::string from_file;    // --from FILE: one entry per bridge
  bool dry_run = false;     // --dry-run: the plan, nothing written
  bool unless_same = false; // --unless-same: leave a bridge that already has the settings
};

// Reads the command line. Returns the options, or nothing with the exit status in *status
// when the program is done: after --help or --version (0), or after a usage error, which it
// has described on standard error (2).
std::optional<CliOptions> parse_cli_options(int argc, char** argv, int* status);

// A MAC address in colon, dash or bare-hex form as the link's MAC text; nothing when it is not
// six hex pairs.
std::optional<std::string> normalised_mac(const std::string& text);

// A --security word (open, wep, wpa-psk, wpa2-psk; any case) as a SECURITY_* mode, else -1.
int security_of_word(const std::string& word);
// The word of a mode, as the rows print it and --security takes it; empty for an unknown one.
std::string security_word(int mode);

// Each command's own options, as the command table (commands.h) adds them to its subcommand.
void add_no_options(CLI::App& command, CliOptions& options);
void add_list_options(CLI::App& command, CliOptions& options);
// --adapter, --bridge (repeatable), --all and --parallel: the bridges to work on.
void add_bridge_options(CLI::App& command, CliOptions& options);
void add_configure_options(CLI::App& command, CliOptions& options);
