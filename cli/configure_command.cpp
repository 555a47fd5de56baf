// configure: the wizard's way from a network's name to a save, without its pages. The survey
// page's choice (a listed network, or one typed by hand), the security, WEP and WPA pages'
// checks, the summary page's last check and its save, with their own messages, in their order.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/bridge_choice.h"
#include "cli/bridge_session.h"
#include "cli/bridge_survey.h"
#include "cli/cli_output.h"
#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/progress_line.h"
#include "cli/secrets.h"
#include "cli/terminal_prompt.h"
#include "device/config_write.h"
#include "device/input_checks.h"
#include "device/security_modes.h"
#include "device/user_choices.h"
#include "device/wireless_records.h"
#include "link/link_frame.h"
#include "link/link_timing.h"

namespace {

// The channel that the survey page's manual entry starts on; the settings text carries none.
constexpr int MANUAL_ENTRY_CHANNEL = 6;

int refuse(const std::string& message) {
  std::fprintf(stderr, "qbr20g-cli: %s\n", message.c_str());
  return EXIT_USAGE;
}

// The secrets that `mode` needs: from --secrets-file, else asked for on the terminal.
std::optional<Secrets> obtain_secrets(const CliOptions& options, int mode, std::string* problem) {
  if (!options.secrets_file.empty())
    return read_secrets_file(options.secrets_file, problem);
  Secrets secrets;
  const std::string network = " for " + ("\"" + terminal_text(options.ssid) + "\"") + ": ";
  std::optional<std::string> typed;
  if (mode == SECURITY_WEP)
    typed = prompt_secret("WEP key " + std::to_string(options.key_index) + network);
  else
    typed = prompt_secret("Passphrase" + network);
  if (!typed) {
    *problem = "no terminal to ask for the secret on; give it with --secrets-file";
    return std::nullopt;
  }
  if (mode == SECURITY_WEP)
    secrets.keys[options.key_index - 1] = *typed;
  else
    secrets.passphrase = *typed;
  return secrets;
}

// The WEP or WPA page's check and record for `mode`; the security page's for Disable. Returns
// EXIT_DONE, or EXIT_USAGE after the page's message.
int choose_security(const CliOptions& options, int mode) {
  if (mode == SECURITY_DISABLE) {
    choose_open_network();
    return EXIT_DONE;
  }
  std::string problem;
  const std::optional<Secrets> secrets = obtain_secrets(options, mode, &problem);
  if (!secrets)
    return refuse(problem);
  if (mode == SECURITY_WEP) {
    const std::string_view keys[WEP_KEY_COUNT] = {secrets->keys[0], secrets->keys[1],
                                                  secrets->keys[2], secrets->keys[3]};
    WepWidth width{};
    if (const auto message = wep_keys_problem(keys, options.wep_hex, options.key_index - 1, &width))
      return refuse(*message);
    choose_wep_keys(keys, options.wep_hex, options.key_index - 1, width);
    return EXIT_DONE;
  }
  if (const auto message = passphrase_problem(secrets->passphrase))
    return refuse(*message);
  choose_wpa_passphrase(mode, secrets->passphrase);
  return EXIT_DONE;
}

// The survey page's list entry: the network named `ssid` in the bridge's report.
int choose_listed(const CliOptions& options, const CliBridge& bridge, ProgressLine& progress) {
  int count = 0;
  const int status = survey_bridge(bridge, progress, &count);
  if (status != EXIT_DONE)
    return status;
  const NetworkEntry* row = nullptr;
  for (int i = 0; i < count && !row; ++i)
    if (field_text(NetworkTable[i].ssid) == options.ssid)
      row = &NetworkTable[i];
  if (!row)
    return refuse("bridge " + bridge.mac + " does not hear a network named " +
                  ("\"" + terminal_text(options.ssid) + "\"") +
                  " ('qbr20g-cli survey' lists those it hears; a hidden network needs --hidden "
                  "and --security)");
  if (const auto message = ssid_problem(field_text(row->ssid), false))
    return refuse(*message);
  choose_listed_network(*row, field_text(row->ssid));
  return choose_security(options, security_mode_of_text(field_text(row->security)));
}

struct Outcome {
  CliBridge bridge;
  std::string result; // "saved", "failed" or "silent"
  std::string message;
};

Outcome save_into(const CliBridge& bridge) {
  if (!use_adapter(bridge.adapter))
    return {bridge, "failed", "cannot capture on " + bridge.adapter.name};
  std::uint8_t frame[MAX_FRAME_SIZE];
  const int result = [&] {
    LinkTicks ticks;
    return write_configuration(frame, frame, bridge.adapter.mac.c_str(), bridge.mac.c_str());
  }();
  if (result == 0)
    return {bridge, "saved", "Save config successfully !"};
  return {bridge, "failed", "Save config failed !"};
}

void report(const CliOptions& options, const std::vector<Outcome>& outcomes, bool batch) {
  if (options.json) {
    JsonDocument document = JsonDocument::array();
    for (const Outcome& outcome : outcomes)
      document.push_back({{"bridge", outcome.bridge.mac},
                          {"adapter", outcome.bridge.adapter.name},
                          {"result", outcome.result},
                          {"message", outcome.message}});
    print_json(document);
    return;
  }
  if (batch) {
    std::vector<std::vector<std::string>> rows;
    for (const Outcome& outcome : outcomes)
      rows.push_back({outcome.bridge.mac, terminal_text(outcome.bridge.adapter.name),
                      outcome.result, outcome.message});
    print_table({"BRIDGE", "ADAPTER", "RESULT", "MESSAGE"}, rows);
    return;
  }
  // One bridge: quiet on success, as network tools are.
  for (const Outcome& outcome : outcomes)
    if (outcome.result != "saved")
      std::fprintf(stderr, "qbr20g-cli: bridge %s: %s\n", outcome.bridge.mac.c_str(),
                   outcome.message.c_str());
}

} // namespace

int run_configure(const CliOptions& options) {
  const bool typed = options.security.has_value();
  if (options.ssid.empty())
    return refuse("You must input the ssid!");
  // A network typed by hand is checked and chosen before anything goes on the wire.
  if (typed) {
    if (const auto message = ssid_problem(options.ssid, true))
      return refuse(*message);
    choose_typed_network(options.ssid, MANUAL_ENTRY_CHANNEL);
    const int status = choose_security(options, *options.security);
    if (status != EXIT_DONE)
      return status;
    if (const auto message = unsafe_setting_message())
      return refuse(*message);
  }

  ProgressLine progress(options.quiet);
  const bool batch = options.all || options.bridges.size() > 1;
  const BridgeChoice choice = choose_bridges(options, batch, progress);
  if (choice.status != EXIT_DONE)
    return choice.status;
  if (!typed) {
    const int status = choose_listed(options, choice.bridges.front(), progress);
    if (status != EXIT_DONE)
      return status;
    if (const auto message = unsafe_setting_message())
      return refuse(*message);
  }

  std::vector<Outcome> outcomes;
  for (const CliBridge& bridge : choice.bridges) {
    if (link_stop_requested())
      break;
    if (batch)
      progress.Show("Saving into " + bridge.mac, link_timing().tick_period);
    outcomes.push_back(save_into(bridge));
    progress.Clear();
  }
  for (const std::string& mac : choice.silent)
    outcomes.push_back({{mac, {}}, "silent", "did not answer"});
  if (link_stop_requested())
    return EXIT_INTERRUPTED;
  report(options, outcomes, batch);
  for (const Outcome& outcome : outcomes)
    if (outcome.result != "saved")
      return EXIT_NOT_CONFIRMED;
  return EXIT_DONE;
}
