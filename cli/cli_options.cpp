#include "cli/cli_options.h"

#include <CLI/CLI.hpp>

#include <cstdint>

#include "cli/commands.h"
#include "cli/exit_status.h"
#include "device/security_modes.h"
#include "link/link_frame.h"
#include "link/mac_text.h"

namespace {

constexpr const char* VERSION = "qbr20g-cli " QBR20G_VERSION;

std::string lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c - 'A' + 'a');
  return text;
}

} // namespace

std::optional<std::string> normalised_mac(const std::string& text) {
  std::uint8_t bytes[MAC_SIZE];
  if ((text.size() != MAC_TEXT_LENGTH && text.size() != 12) ||
      mac_text_to_bytes(text.c_str(), bytes) != 0)
    return std::nullopt;
  // The 17-character form: the separators are colons or dashes, all alike.
  if (text.size() == MAC_TEXT_LENGTH)
    for (int at = 2; at < MAC_TEXT_LENGTH; at += 3)
      if ((text[at] != ':' && text[at] != '-') || text[at] != text[2])
        return std::nullopt;
  char normalised[MAC_TEXT_SIZE];
  mac_bytes_to_text(bytes, normalised);
  return std::string(normalised);
}

int security_of_word(const std::string& word) {
  const std::string key = lower(word);
  for (int mode = 0; mode < SECURITY_MODE_COUNT; ++mode)
    if (key == security_word(mode))
      return mode;
  return -1;
}

std::string security_word(int mode) {
  switch (mode) {
  case SECURITY_DISABLE:
    return "open";
  case SECURITY_WEP:
    return "wep";
  case SECURITY_WPA_PSK:
    return "wpa-psk";
  case SECURITY_WPA2_PSK:
    return "wpa2-psk";
  default:
    return "";
  }
}

std::optional<CliOptions> parse_cli_options(int argc, char** argv, int* status) {
  CliOptions options;
  CLI::App app{"Sets up QBR20G Wi-Fi client bridges over a wired Ethernet port: finds them, has "
               "them survey the air, and writes a network's settings into them, one bridge or a "
               "fleet at once.",
               "qbr20g-cli"};
  app.set_version_flag("--version", VERSION);
  app.require_subcommand(1, 1);
  // --json and --quiet may also come after the command.
  app.fallthrough();
  app.add_flag("--json", options.json,
               "write the result as one JSON document (an array of objects with fixed keys)");
  app.add_flag("-q,--quiet", options.quiet, "no progress line and no notes on standard error");
  app.footer("Exit status: 0 done, 1 a bridge did not confirm or did not answer, 2 bad usage or "
             "a failed check, 3 no usable adapter or no right to capture, 4 no bridge answered, "
             "130 interrupted.\nSee qbr20g-cli(1).");
  std::vector<CLI::App*> subcommands;
  for (const Command& command : command_table()) {
    CLI::App* sub = app.add_subcommand(command.name, command.help);
    command.add_options(*sub, options);
    subcommands.push_back(sub);
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    const int code = app.exit(error);
    *status = code == 0 ? EXIT_DONE : EXIT_USAGE;
    return std::nullopt;
  }
  for (std::size_t i = 0; i < subcommands.size(); ++i)
    if (subcommands[i]->parsed())
      options.command = command_table()[i].name;
  return options;
}
