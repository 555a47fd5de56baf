#include "cli/cli_options.h"

#include <CLI/CLI.hpp>

#include <cstdint>

#include "cli/bridge_work.h"
#include "cli/commands.h"
#include "cli/exit_status.h"
#include "device/security_modes.h"
#include "link/link_frame.h"
#include "link/mac_text.h"
#include "link/translation.h"

namespace {

constexpr const char* VERSION = "qbr20g-cli " QBR20G_VERSION;

std::string lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c - 'A' + 'a');
  return text;
}

// A bridge's MAC in any of the usual spellings (colons, dashes or none; either case), turned
// into the link's MAC text.
const CLI::Validator BRIDGE_MAC(
    [](std::string& text) -> std::string {
      const std::optional<std::string> mac = normalised_mac(text);
      if (!mac)
        return translation::filled(_("not a MAC address: %1 (give six hex pairs: "
                                     "02:00:00:00:0b:01, 02-00-00-00-0b-01 or 020000000b01)"),
                                   {text});
      text = *mac;
      return "";
    },
    "", "MAC");

void add_adapter_option(CLI::App& command, CliOptions& options) {
  // TRANSLATORS: the help of the options in qbr20g-cli --help, beside each option; the words
  // in capitals are the values' names in the option list, and the words after -- are options.
  command.add_option("--adapter", options.adapter, _("look on this wired adapter only"))
      ->type_name(_("NAME"));
}

void add_parallel_option(CLI::App& command, CliOptions& options) {
  command
      .add_option("--parallel", options.parallel,
                  translation::filled(_("work on at most N bridges at once (default %1)"),
                                      {std::to_string(DEFAULT_PARALLEL)}))
      ->check(CLI::Range(1, MAX_PARALLEL).description(""))
      ->type_name("N");
}

} // namespace

void add_bridge_options(CLI::App& command, CliOptions& options) {
  add_adapter_option(command, options);
  command
      .add_option("--bridge", options.bridges,
                  _("a bridge to work on, by its MAC (repeatable); with --adapter, no discovery "
                    "is run; with --all, one that must answer"))
      ->transform(BRIDGE_MAC)
      ->type_name("MAC");
  command.add_flag("--all", options.all, _("every bridge that answers"));
  add_parallel_option(command, options);
}

void add_no_options(CLI::App&, CliOptions&) {}

void add_list_options(CLI::App& command, CliOptions& options) {
  add_adapter_option(command, options);
}

void add_configure_options(CLI::App& command, CliOptions& options) {
  add_bridge_options(command, options);
  command.add_option("--ssid", options.ssid, _("the network's name"))->type_name("SSID");
  command
      .add_option_function<std::string>(
          "--security",
          [&options](const std::string& word) { options.security = security_of_word(word); },
          _("the network's security; without it, the bridge surveys the air and the network's "
            "own is taken"))
      ->check(
          CLI::IsMember({"open", "wep", "wpa-psk", "wpa2-psk"}, CLI::ignore_case).description(""))
      ->type_name("open|wep|wpa-psk|wpa2-psk");
  command.add_flag("--hidden", options.hidden, _("the network hides its name (needs --security)"));
  command
      .add_option_function<std::string>(
          "--wep-format",
          [&options](const std::string& format) {
            options.wep_hex = format != "ascii";
            options.key_options_given = true;
          },
          _("how the WEP keys are written (default hex)"))
      ->check(CLI::IsMember({"hex", "ascii"}, CLI::ignore_case).description(""))
      ->transform(CLI::detail::to_lower)
      ->type_name("hex|ascii");
  command
      .add_option_function<int>(
          "--key-index",
          [&options](int index) {
            options.key_index = index;
            options.key_options_given = true;
          },
          _("the WEP key the bridge uses (default 1)"))
      ->check(CLI::Range(1, 4).description(""))
      ->type_name("1-4");
  command
      .add_option("--secrets-file", options.secrets_file,
                  _("read the WEP keys or the passphrase from FILE ('-': standard input), one "
                    "key1= ... key4= or passphrase= line each; without it they are asked for on "
                    "the terminal. A file that other users may read is refused."))
      ->type_name(_("FILE"));
  command
      .add_option("--from", options.from_file,
                  _("a fleet file: a JSON array with one object per bridge (bridge, adapter, ssid "
                    "or ssid_hex, security, wep_format, key_index, key1 ... key4, passphrase or "
                    "secrets_file); the rows of show --json are such entries"))
      ->type_name(_("FILE"));
  command.add_flag("--dry-run", options.dry_run,
                   _("read each bridge's present settings and print the plan; write nothing"));
  command.add_flag("--unless-same", options.unless_same,
                   _("leave alone a bridge whose SSID and security are already the new ones (a "
                     "new key or passphrase alone is not seen)"));
}

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
  // TRANSLATORS: the first lines of qbr20g-cli --help.
  CLI::App app{_("Sets up QBR20G Wi-Fi client bridges over a wired Ethernet port: finds them, "
                 "has them survey the air, and writes a network's settings into them, one bridge "
                 "or a fleet at once."),
               "qbr20g-cli"};
  // TRANSLATORS: the headings of the lists of options and of commands in qbr20g-cli --help.
  app.option_defaults()->group(_("Options"));
  app.set_help_flag("-h,--help", _("Print this help message and exit"));
  app.set_version_flag("--version", VERSION, _("Display program version information and exit"));
  // TRANSLATORS: headings and words of qbr20g-cli --help, as in "Usage: qbr20g-cli [OPTIONS]
  // SUBCOMMAND"; OPTIONS and SUBCOMMAND are written in capitals.
  app.get_formatter()->label("Usage", _("Usage"));
  app.get_formatter()->label("OPTIONS", _("OPTIONS"));
  app.get_formatter()->label("SUBCOMMAND", _("SUBCOMMAND"));
  app.get_formatter()->label("REQUIRED", _("REQUIRED"));
  app.require_subcommand(1, 1);
  // --json and --quiet may also come after the command.
  app.fallthrough();
  app.add_flag("--json", options.json,
               _("write the result as one JSON document (an array of objects with fixed keys)"));
  app.add_flag("-q,--quiet", options.quiet, _("no progress line and no notes on standard error"));
  app.footer(_("Exit status: 0 done, 1 a bridge did not confirm or did not answer, 2 bad usage "
               "or a failed check, 3 no usable adapter or no right to capture, 4 no bridge "
               "answered, 130 interrupted.\nSee qbr20g-cli(1)."));
  std::vector<CLI::App*> subcommands;
  for (const Command& command : command_table()) {
    CLI::App* sub = app.add_subcommand(command.name, _(command.help));
    sub->group(_("Subcommands"));
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
