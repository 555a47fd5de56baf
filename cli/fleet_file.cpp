#include "cli/fleet_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <set>

#include <nlohmann/json.hpp>

#include "cli/cli_options.h"
#include "cli/cli_output.h"
#include "cli/secrets.h"
#include "device/security_modes.h"
#include "link/mac_text.h"
#include "link/translation.h"

namespace {

using JsonDocument = nlohmann::ordered_json;

// Far more than fifty bridges need.
constexpr std::size_t MAX_FLEET_FILE_BYTES = 4 * 1024 * 1024;

// Keys of the rows that show and configure print, which are not settings.
const std::set<std::string> ROW_KEYS = {
    "result",           "message", "security_text", "present_ssid", "present_ssid_hex",
    "present_security", "changed", "adapter_mac",   "hidden",       "present_security_text"};
const std::set<std::string> SECRET_KEYS = {"key1", "key2", "key3", "key4", "passphrase"};
const std::set<std::string> SETTING_KEYS = {"bridge",   "adapter",    "ssid",      "ssid_hex",
                                            "security", "wep_format", "key_index", "secrets_file"};

bool read_whole(const std::string& path, std::string* text, bool* private_file,
                std::string* problem) {
  const int fd = path == "-" ? dup(STDIN_FILENO) : open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    *problem = translation::filled(_("cannot read %1: %2"), {path, std::strerror(errno)});
    return false;
  }
  struct stat status {};
  *private_file = path == "-" || (fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
                                  (status.st_mode & (S_IRWXG | S_IRWXO)) == 0);
  char chunk[65536];
  for (;;) {
    const ssize_t got = read(fd, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR)
      continue;
    if (got <= 0) {
      if (got < 0)
        *problem = translation::filled(_("cannot read %1: %2"), {path, std::strerror(errno)});
      close(fd);
      return got == 0;
    }
    text->append(chunk, static_cast<std::size_t>(got));
    if (text->size() > MAX_FLEET_FILE_BYTES) {
      close(fd);
      *problem = translation::filled(_("%1 is too long for a fleet file"), {path});
      return false;
    }
  }
}

bool from_hex(const std::string& hex, std::string* bytes) {
  if (hex.size() % 2 != 0)
    return false;
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const int high = hex_digit_value(hex[i]);
    const int low = hex_digit_value(hex[i + 1]);
    if (high < 0 || low < 0)
      return false;
    bytes->push_back(static_cast<char>(high * 16 + low));
  }
  return true;
}

// One entry into *plan; the reason in *problem when it does not fit.
bool read_entry(const JsonDocument& entry, BridgePlan* plan, bool* holds_secrets,
                std::string* problem) {
  if (!entry.is_object()) {
    // TRANSLATORS: what is wrong with an entry of a fleet file (a JSON array of objects); the
    // words in quotes are the entries' keys and the words the user writes, to be kept as they
    // are.
    *problem = _("not an object");
    return false;
  }
  const auto text = [&](const char* key, std::string* value) {
    if (!entry.contains(key) || entry[key].is_null())
      return true;
    if (!entry[key].is_string()) {
      *problem = translation::filled(_("\"%1\" is not a text"), {key});
      return false;
    }
    *value = entry[key].get<std::string>();
    return true;
  };
  for (const auto& [key, value] : entry.items())
    if (!SETTING_KEYS.count(key) && !SECRET_KEYS.count(key) && !ROW_KEYS.count(key)) {
      *problem = translation::filled(_("unknown key \"%1\""), {key});
      return false;
    }
  std::string bridge;
  if (!text("bridge", &bridge))
    return false;
  const std::optional<std::string> mac = normalised_mac(bridge);
  if (!mac) {
    *problem = bridge.empty()
                   ? std::string(_("no \"bridge\""))
                   : translation::filled(_("\"bridge\" %1 is not a MAC address"), {bridge});
    return false;
  }
  plan->bridge = *mac;
  std::string ssid_hex;
  std::string security;
  std::string format;
  if (!text("adapter", &plan->adapter) || !text("ssid", &plan->ssid) ||
      !text("ssid_hex", &ssid_hex) || !text("security", &security) || !text("wep_format", &format))
    return false;
  if (!ssid_hex.empty()) {
    std::string bytes;
    if (!from_hex(ssid_hex, &bytes)) {
      *problem = _("\"ssid_hex\" is not hex pairs");
      return false;
    }
    // "ssid" beside it is its display text; the bytes are the name.
    plan->ssid = bytes;
  }
  plan->security = security_of_word(security);
  if (plan->security < 0) {
    *problem = security.empty()
                   ? std::string(_("no \"security\" (open, wep, wpa-psk or wpa2-psk)"))
                   : translation::filled(_("\"security\" %1 is not open, wep, wpa-psk or wpa2-psk"),
                                         {security});
    return false;
  }
  if (!format.empty() && format != "hex" && format != "ascii") {
    *problem = _("\"wep_format\" is hex or ascii");
    return false;
  }
  plan->wep_hex = format != "ascii";
  if (entry.contains("key_index")) {
    if (!entry["key_index"].is_number_integer() || entry["key_index"].get<int>() < 1 ||
        entry["key_index"].get<int>() > 4) {
      *problem = _("\"key_index\" is 1, 2, 3 or 4");
      return false;
    }
    plan->key_index = entry["key_index"].get<int>();
  }
  if ((!format.empty() || entry.contains("key_index")) && plan->security != SECURITY_WEP) {
    *problem = _("\"wep_format\" and \"key_index\" are for security wep");
    return false;
  }
  Secrets secrets;
  bool inline_secrets = false;
  for (int i = 0; i < 4; ++i) {
    const std::string key = "key" + std::to_string(i + 1);
    if (!text(key.c_str(), &secrets.keys[i]))
      return false;
    inline_secrets = inline_secrets || entry.contains(key);
  }
  if (!text("passphrase", &secrets.passphrase))
    return false;
  inline_secrets = inline_secrets || entry.contains("passphrase");
  std::string secrets_file;
  if (!text("secrets_file", &secrets_file))
    return false;
  if (inline_secrets && !secrets_file.empty()) {
    *problem = _("secrets both in the entry and in \"secrets_file\"");
    return false;
  }
  if (inline_secrets)
    plan->secrets = secrets;
  if (!secrets_file.empty()) {
    std::string why;
    plan->secrets = read_secrets_file(secrets_file, &why);
    if (!plan->secrets) {
      *problem = why;
      return false;
    }
  }
  *holds_secrets = *holds_secrets || inline_secrets;
  return true;
}

} // namespace

bool read_fleet_file(const std::string& path, std::vector<BridgePlan>* plans,
                     CommandResult* result) {
  std::string text;
  std::string problem;
  bool private_file = false;
  if (!read_whole(path, &text, &private_file, &problem)) {
    result->fail(EXIT_USAGE, problem);
    return false;
  }
  JsonDocument document = JsonDocument::parse(text, nullptr, false);
  if (document.is_discarded() || !document.is_array()) {
    result->fail(EXIT_USAGE, translation::filled(_("%1 is not a fleet file: a JSON array of "
                                                   "objects, one per bridge, is wanted (see "
                                                   "qbr20g-cli(1))"),
                                                 {path}));
    return false;
  }
  bool holds_secrets = false;
  std::set<std::string> bridges;
  for (std::size_t i = 0; i < document.size(); ++i) {
    BridgePlan plan;
    // TRANSLATORS: where in a fleet file, before what is wrong there: "fleet.json: entry 2".
    plan.where = translation::filled(_("%1: entry %2"), {path, std::to_string(i + 1)});
    if (!read_entry(document[i], &plan, &holds_secrets, &problem)) {
      result->fail(EXIT_USAGE, plan.where + ": " + problem);
      return false;
    }
    plan.where = translation::filled(_("%1: entry %2 (bridge %3)"),
                                     {path, std::to_string(i + 1), plan.bridge});
    if (!bridges.insert(plan.bridge).second) {
      result->fail(EXIT_USAGE, plan.where + ": " + _("the bridge has an entry already"));
      return false;
    }
    plans->push_back(std::move(plan));
  }
  if (plans->empty()) {
    result->fail(EXIT_USAGE, translation::filled(_("%1 names no bridge"), {path}));
    return false;
  }
  if (holds_secrets && !private_file) {
    result->fail(EXIT_USAGE, translation::filled(_("%1 holds secrets and other users may read "
                                                   "it; make it private (chmod 600 %1)"),
                                                 {path}));
    return false;
  }
  return true;
}
