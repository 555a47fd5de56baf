#include "cli/cli_options.h"

#include <CLI/CLI.hpp>

#include <cstdint>
#include <map>

#include "cli/exit_status.h"
#include "device/security_modes.h"
#include "link/link_frame.h"
#include "link/mac_text.h"

namespace {

std::string lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c - 'A' + 'a');
  return text;
}

constexpr const char* VERSION = "qbr20g-cli " QBR20G_VERSION;

// A bridge's MAC in any of the usual spellings (colons or dashes, either case), turned into the
// link's MAC text.
const CLI::Validator BRIDGE_MAC(
    [](std::string& text) -> std::string {
      std::uint8_t bytes[MAC_SIZE];
      if ((text.size() != MAC_TEXT_LENGTH && text.size() != 12) ||
          mac_text_to_bytes(text.c_str(), bytes) != 0)
        return "not a MAC address: " + text + " (give six hex pairs, as 02:00:00:00:0b:01)";
      char normalised[MAC_TEXT_SIZE];
      mac_bytes_to_text(bytes, normalised);
      text = normalised;
      return "";
    },
    "", "MAC");

void add_bridge_options(CLI::App& command, CliOptions& options, bool several) {
  command
      .add_option("--adapter", options.adapter,
                  "use this wired adapter only, without trying the others")
      ->type_name("NAME");
  auto* bridge = command
                     .add_option("--bridge", options.bridges,
                                 several ? "the bridge to set up, by its MAC (repeatable); "
                                           "with --adapter, no discovery is run"
                                         : "the bridge, by its MAC; with --adapter, no "
                                           "discovery is run")
                     ->transform(BRIDGE_MAC)
                     ->type_name("MAC");
  if (!several)
    bridge->expected(1);
}

} // namespace

std::optional<CliOptions> parse_cli_options(int argc, char** argv, int* status) {
  CliOptions options;
  CLI::App app{"Sets up QBR20G Wi-Fi client bridges over a wired Ethernet port: finds them, has "
               "them survey the air, and writes a network's settings into them.",
               "qbr20g-cli"};
  app.set_version_flag("--version", VERSION);
  app.require_subcommand(1, 1);
  // --json and --quiet may also come after the command.
  app.fallthrough();
  app.add_flag("--json", options.json,
               "write the result as one JSON document (arrays of objects with fixed keys)");
  app.add_flag("-q,--quiet", options.quiet, "no progress line and no notes on standard error");
  app.footer("Exit status: 0 done, 1 a bridge did not confirm, 2 bad usage or a failed check, "
             "3 no usable adapter or no right to capture, 4 no bridge answered, 130 "
             "interrupted.\nSee qbr20g-cli(1).");

  auto* adapters = app.add_subcommand("adapters", "the wired adapters that can reach a bridge");
  auto* list = app.add_subcommand("list", "the bridges that answer, per adapter");
  list->add_option("--adapter", options.adapter, "look on this wired adapter only")
      ->type_name("NAME");
  auto* survey = app.add_subcommand("survey", "the wireless networks that a bridge hears");
  add_bridge_options(*survey, options, false);
  auto* show = app.add_subcommand("show", "a bridge's present network and security");
  add_bridge_options(*show, options, false);

  auto* configure = app.add_subcommand("configure", "write a network's settings into bridges");
  add_bridge_options(*configure, options, true);
  configure->add_option("--ssid", options.ssid, "the network's name")
      ->required()
      ->type_name("SSID");
  std::string security;
  configure
      ->add_option("--security", security,
                   "the network's security; without it, the bridge surveys the air and the "
                   "network's own is taken")
      ->check(
          CLI::IsMember({"open", "wep", "wpa-psk", "wpa2-psk"}, CLI::ignore_case).description(""))
      ->type_name("open|wep|wpa-psk|wpa2-psk");
  auto* all = configure->add_flag("--all", options.all, "every bridge that answers");
  configure->add_flag("--hidden", options.hidden, "the network hides its name (needs --security)");
  std::string wep_format;
  auto* format =
      configure
          ->add_option("--wep-format", wep_format, "how the WEP keys are written (default hex)")
          ->check(CLI::IsMember({"hex", "ascii"}, CLI::ignore_case).description(""))
          ->type_name("hex|ascii");
  auto* index =
      configure
          ->add_option("--key-index", options.key_index, "the WEP key the bridge uses (default 1)")
          ->check(CLI::Range(1, 4).description(""))
          ->type_name("1-4");
  configure
      ->add_option("--secrets-file", options.secrets_file,
                   "read the WEP keys or the passphrase from FILE ('-': standard input), one "
                   "key1= ... key4= or passphrase= line each; without it they are asked for "
                   "on the terminal")
      ->type_name("FILE");
  all->excludes(configure->get_option("--bridge"));

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    const int code = app.exit(error);
    *status = code == 0 ? EXIT_DONE : EXIT_USAGE;
    return std::nullopt;
  }

  options.key_options_given = format->count() > 0 || index->count() > 0;
  const std::map<std::string, int> securities = {{"open", SECURITY_DISABLE},
                                                 {"wep", SECURITY_WEP},
                                                 {"wpa-psk", SECURITY_WPA_PSK},
                                                 {"wpa2-psk", SECURITY_WPA2_PSK}};
  if (!security.empty())
    options.security = securities.at(lower(security));
  options.wep_hex = lower(wep_format) != "ascii";
  if (adapters->parsed())
    options.command = CliCommand::Adapters;
  else if (list->parsed())
    options.command = CliCommand::List;
  else if (survey->parsed())
    options.command = CliCommand::Survey;
  else if (show->parsed())
    options.command = CliCommand::Show;
  else
    options.command = CliCommand::Configure;

  const auto usage = [&](const std::string& message) {
    std::fprintf(stderr, "qbr20g-cli: %s\nRun with --help for more information.\n",
                 message.c_str());
    *status = EXIT_USAGE;
    return std::nullopt;
  };
  if (options.command == CliCommand::Configure) {
    const bool batch = options.all || options.bridges.size() > 1;
    if (batch && !options.security)
      return usage("setting up several bridges at once needs --security");
    if (options.hidden && !options.security)
      return usage("a hidden network needs --security");
    if (options.key_options_given && options.security && *options.security != SECURITY_WEP)
      return usage("--wep-format and --key-index are for --security wep");
  }
  return options;
}
