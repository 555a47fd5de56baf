#include "cli/configure_plan.h"

#include <string_view>

#include "cli/cli_options.h"
#include "cli/cli_output.h"
#include "cli/terminal_prompt.h"
#include "device/config_write.h"
#include "device/input_checks.h"
#include "device/security_modes.h"
#include "device/survey_report.h"
#include "device/user_choices.h"

namespace {

// The channel that the survey page's manual entry starts on; the settings text carries none.
constexpr int MANUAL_ENTRY_CHANNEL = 6;

bool refuse(const BridgePlan& plan, const std::string& message, CommandResult* result) {
  result->fail(EXIT_USAGE, (plan.where.empty() ? "" : plan.where + ": ") + message);
  return false;
}

// What form the WEP keys are wanted in, beside the page's message.
std::string wep_hint(const std::string_view (&keys)[WEP_KEY_COUNT], const BridgePlan& plan,
                     const std::string& message) {
  if (message.rfind("The key of Key Index", 0) == 0)
    return " (give key" + std::to_string(plan.key_index) + "= in the secrets)";
  if (message.rfind("Key length", 0) != 0)
    return "";
  std::string lengths;
  std::size_t first = 0;
  bool mixed = false;
  for (int i = 0; i < WEP_KEY_COUNT; ++i) {
    if (keys[i].empty())
      continue;
    lengths += (lengths.empty() ? "key " : ", key ") + std::to_string(i + 1) + " has " +
               std::to_string(keys[i].size());
    mixed = mixed || (first != 0 && keys[i].size() != first);
    first = first == 0 ? keys[i].size() : first;
  }
  const std::size_t ascii_short = static_cast<std::size_t>(wep_key_bytes(WepWidth::Bits64));
  const std::size_t ascii_long = static_cast<std::size_t>(wep_key_bytes(WepWidth::Bits128));
  if (mixed)
    return " (" + lengths + " characters: every key must be of one width, 64 or 128 bit)";
  if (plan.wep_hex && (first == ascii_short || first == ascii_long))
    return " (" + lengths + " characters: a key of " + std::to_string(ascii_short) + " or " +
           std::to_string(ascii_long) + " characters is ASCII; add --wep-format ascii)";
  return " (" + lengths + " characters)";
}

// The secrets the plan's security needs: the plan's own, else --secrets-file, else asked for.
std::optional<Secrets> obtain_secrets(const CliOptions& options, const BridgePlan& plan,
                                      std::string* problem) {
  if (plan.secrets)
    return plan.secrets;
  if (!options.secrets_file.empty()) {
    // Read once, for every plan that has no secrets of its own (standard input can be read
    // only once).
    static std::optional<Secrets> shared;
    static std::string shared_problem;
    static bool read = false;
    if (!read)
      shared = read_secrets_file(options.secrets_file, &shared_problem);
    read = true;
    *problem = shared_problem;
    return shared;
  }
  if (!options.from_file.empty()) {
    *problem = plan.security == SECURITY_WEP
                   ? "wep needs its keys: give them in the entry (\"key1\" ... \"key4\"), in "
                     "a file (\"secrets_file\"), or with --secrets-file for every entry"
                   : security_word(plan.security) +
                         " needs a passphrase: give it in the entry (\"passphrase\"), in a file "
                         "(\"secrets_file\"), or with --secrets-file for every entry";
    return std::nullopt;
  }
  Secrets secrets;
  const std::string network = " for \"" + terminal_text(plan.ssid) + "\": ";
  const std::optional<std::string> typed = prompt_secret(
      plan.security == SECURITY_WEP ? "WEP key " + std::to_string(plan.key_index) + network
                                    : "Passphrase" + network);
  if (!typed) {
    *problem = "no terminal to ask for the secret on; give it with --secrets-file";
    return std::nullopt;
  }
  if (plan.security == SECURITY_WEP)
    secrets.keys[plan.key_index - 1] = *typed;
  else
    secrets.passphrase = *typed;
  return secrets;
}

// The security, WEP or WPA page's check and record for the plan's security.
bool record_security(const CliOptions& options, BridgePlan* plan, CommandResult* result) {
  BoundWirelessRecords bound(plan->choices);
  if (plan->security == SECURITY_DISABLE) {
    choose_open_network();
  } else {
    std::string problem;
    const std::optional<Secrets> secrets = obtain_secrets(options, *plan, &problem);
    if (!secrets)
      return refuse(*plan, problem, result);
    if (plan->security == SECURITY_WEP) {
      const std::string_view keys[WEP_KEY_COUNT] = {secrets->keys[0], secrets->keys[1],
                                                    secrets->keys[2], secrets->keys[3]};
      WepWidth width{};
      if (const auto message = wep_keys_problem(keys, plan->wep_hex, plan->key_index - 1, &width))
        return refuse(*plan, *message + wep_hint(keys, *plan, *message), result);
      choose_wep_keys(keys, plan->wep_hex, plan->key_index - 1, width);
    } else {
      if (const auto message = passphrase_problem(secrets->passphrase))
        return refuse(*plan, *message, result);
      choose_wpa_passphrase(plan->security, secrets->passphrase);
    }
  }
  if (const auto message = unsafe_setting_message())
    return refuse(*plan, *message, result);
  return true;
}

} // namespace

bool refuse_hidden_placeholder(const std::string& ssid, const std::string& where,
                               CommandResult* result) {
  if (ssid != HIDDEN_SSID_TEXT)
    return true;
  result->fail(EXIT_USAGE, (where.empty() ? "" : where + ": ") + std::string(HIDDEN_SSID_TEXT) +
                               " is how the survey shows a network that hides its name; type "
                               "the network's real name (--ssid NAME --hidden --security MODE)");
  return false;
}

bool record_typed_plan(const CliOptions& options, BridgePlan* plan, CommandResult* result) {
  if (plan->ssid.empty())
    return refuse(*plan, "You must input the ssid!", result);
  if (!refuse_hidden_placeholder(plan->ssid, plan->where, result))
    return false;
  if (const auto message = ssid_problem(plan->ssid, true))
    return refuse(*plan, *message, result);
  {
    BoundWirelessRecords bound(plan->choices);
    choose_typed_network(plan->ssid, MANUAL_ENTRY_CHANNEL);
  }
  return record_security(options, plan, result);
}

bool record_listed_plan(const CliOptions& options, const NetworkEntry& row, BridgePlan* plan,
                        CommandResult* result) {
  if (const auto message = ssid_problem(field_text(row.ssid), false))
    return refuse(*plan, *message, result);
  {
    BoundWirelessRecords bound(plan->choices);
    choose_listed_network(row, field_text(row.ssid));
  }
  plan->security = security_mode_of_text(field_text(row.security));
  return record_security(options, plan, result);
}
