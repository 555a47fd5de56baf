#include "cli/configure_plan.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "cli/cli_options.h"
#include "cli/cli_output.h"
#include "cli/terminal_prompt.h"
#include "device/config_write.h"
#include "device/input_checks.h"
#include "device/security_modes.h"
#include "device/survey_report.h"
#include "device/user_choices.h"
#include "link/translation.h"

namespace {

// The channel that the survey page's manual entry starts on; the settings text carries none.
constexpr int MANUAL_ENTRY_CHANNEL = 6;

bool refuse(const BridgePlan& plan, const std::string& message, CommandResult* result) {
  result->fail(EXIT_USAGE, (plan.where.empty() ? "" : plan.where + ": ") + message);
  return false;
}

// What form the WEP keys are wanted in, beside the page's message. The page's checks run in
// their order (device/input_checks.h); the hint goes with the one that failed.
std::string wep_hint(const std::string_view (&keys)[WEP_KEY_COUNT], const BridgePlan& plan) {
  if (std::all_of(std::begin(keys), std::end(keys), [](auto key) { return key.empty(); }))
    return "";
  if (keys[plan.key_index - 1].empty())
    return " (" +
           translation::filled(_("give key%1= in the secrets"), {std::to_string(plan.key_index)}) +
           ")";
  const auto all_filled_are = [&keys, &plan](WepWidth width) {
    const auto wanted =
        static_cast<std::size_t>(plan.wep_hex ? wep_hex_digits(width) : wep_key_bytes(width));
    return std::all_of(std::begin(keys), std::end(keys),
                       [wanted](auto key) { return key.empty() || key.size() == wanted; });
  };
  if (all_filled_are(WepWidth::Bits64) || all_filled_are(WepWidth::Bits128))
    return "";
  std::string lengths;
  std::size_t first = 0;
  bool mixed = false;
  for (int i = 0; i < WEP_KEY_COUNT; ++i) {
    if (keys[i].empty())
      continue;
    // TRANSLATORS: one key's length in a list such as "key 1 has 10, key 2 has 26 characters".
    const std::string length = translation::filled(
        _("key %1 has %2"), {std::to_string(i + 1), std::to_string(keys[i].size())});
    lengths += (lengths.empty() ? "" : ", ") + length;
    mixed = mixed || (first != 0 && keys[i].size() != first);
    first = first == 0 ? keys[i].size() : first;
  }
  const std::size_t ascii_short = static_cast<std::size_t>(wep_key_bytes(WepWidth::Bits64));
  const std::size_t ascii_long = static_cast<std::size_t>(wep_key_bytes(WepWidth::Bits128));
  // TRANSLATORS: %1 is a list of the keys' lengths: "key 1 has 10, key 2 has 26".
  if (mixed)
    return " (" +
           translation::filled(_("%1 characters: every key must be of one width, 64 or 128 bit"),
                               {lengths}) +
           ")";
  if (plan.wep_hex && (first == ascii_short || first == ascii_long))
    return " (" +
           translation::filled(_("%1 characters: a key of %2 or %3 characters is ASCII; add "
                                 "--wep-format ascii"),
                               {lengths, std::to_string(ascii_short), std::to_string(ascii_long)}) +
           ")";
  return " (" + translation::filled(_("%1 characters"), {lengths}) + ")";
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
    // TRANSLATORS: the words in quotes are a fleet file's keys, to be kept as they are; %1 is
    // wpa-psk or wpa2-psk.
    *problem = plan.security == SECURITY_WEP
                   ? _("wep needs its keys: give them in the entry (\"key1\" ... \"key4\"), in "
                       "a file (\"secrets_file\"), or with --secrets-file for every entry")
                   : translation::filled(_("%1 needs a passphrase: give it in the entry "
                                           "(\"passphrase\"), in a file (\"secrets_file\"), or "
                                           "with --secrets-file for every entry"),
                                         {security_word(plan.security)});
    return std::nullopt;
  }
  Secrets secrets;
  const std::string network = terminal_text(plan.ssid);
  // TRANSLATORS: a prompt on the terminal, followed by what the user types (not shown); "%2" and
  // "%1" below are the network's name.
  const std::optional<std::string> typed = prompt_secret(
      plan.security == SECURITY_WEP ? translation::filled(_("WEP key %1 for \"%2\": "),
                                                          {std::to_string(plan.key_index), network})
                                    : translation::filled(_("Passphrase for \"%1\": "), {network}));
  if (!typed) {
    *problem = _("no terminal to ask for the secret on; give it with --secrets-file");
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
        return refuse(*plan, *message + wep_hint(keys, *plan), result);
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
  // TRANSLATORS: %1 is the survey's stand-in for a hidden name, [HiddenSSID]; the options in
  // parentheses are typed as they are.
  result->fail(EXIT_USAGE,
               (where.empty() ? "" : where + ": ") +
                   translation::filled(_("%1 is how the survey shows a network that hides its "
                                         "name; type the network's real name (--ssid NAME "
                                         "--hidden --security MODE)"),
                                       {HIDDEN_SSID_TEXT}));
  return false;
}

bool record_typed_plan(const CliOptions& options, BridgePlan* plan, CommandResult* result) {
  if (plan->ssid.empty())
    return refuse(*plan, _("You must input the ssid!"), result);
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
