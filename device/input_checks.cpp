#include "device/input_checks.h"

#include <algorithm>
#include <iterator>

#include "link/mac_text.h"
#include "link/translation.h"

namespace {

std::string numbered(const char* text, int number) {
  return translation::filled(text, {std::to_string(number)});
}

} // namespace

bool is_control_byte(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0x20 || byte == 0x7f;
}

bool holds_control_byte(std::string_view text) {
  return std::any_of(text.begin(), text.end(), is_control_byte);
}

bool is_hex_text(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return hex_digit_value(c) >= 0; });
}

std::optional<std::string> ssid_problem(std::string_view ssid, bool typed) {
  if (typed && ssid.size() > SSID_MAX_BYTES)
    return numbered(_("The SSID must be at most %1 bytes!"), SSID_MAX_BYTES);
  if (holds_control_byte(ssid))
    return _("The SSID must not contain control characters!");
  return std::nullopt;
}

std::optional<std::string> passphrase_problem(std::string_view passphrase) {
  if (passphrase.size() < PASSPHRASE_MIN_BYTES)
    return numbered(_("Passphrase at least %1 characters !"), PASSPHRASE_MIN_BYTES);
  if (passphrase.size() > PASSPHRASE_MAX_BYTES)
    return numbered(_("Passphrase at most %1 characters !"), PASSPHRASE_MAX_BYTES);
  if (holds_control_byte(passphrase))
    return _("Passphrase must not contain control characters !");
  return std::nullopt;
}

std::optional<std::string> wep_keys_problem(const std::string_view (&keys)[WEP_KEY_COUNT],
                                            bool typed_as_hex, int default_key, WepWidth* width) {
  const auto length = [typed_as_hex](WepWidth w) {
    return static_cast<std::size_t>(typed_as_hex ? wep_hex_digits(w) : wep_key_bytes(w));
  };
  if (std::all_of(std::begin(keys), std::end(keys), [](auto key) { return key.empty(); }))
    return _("4 keys are all null !");
  if (default_key >= 0 && default_key < WEP_KEY_COUNT && keys[default_key].empty())
    return numbered(_("The key of Key Index %1 is null !"), default_key + 1);

  const auto all_filled_are = [&keys](std::size_t wanted) {
    return std::all_of(std::begin(keys), std::end(keys),
                       [wanted](auto key) { return key.empty() || key.size() == wanted; });
  };
  if (all_filled_are(length(WepWidth::Bits64)))
    *width = WepWidth::Bits64;
  else if (all_filled_are(length(WepWidth::Bits128)))
    *width = WepWidth::Bits128;
  else
    return translation::filled(
        _("Key length must be %1 or %2 characters!"),
        {std::to_string(length(WepWidth::Bits64)), std::to_string(length(WepWidth::Bits128))});

  for (int i = 0; i < WEP_KEY_COUNT; ++i) {
    if (typed_as_hex && !is_hex_text(keys[i]))
      return numbered(_("Key %1 must be hexadecimal digits (0-9, A-F) !"), i + 1);
    if (holds_control_byte(keys[i]))
      return numbered(_("Key %1 must not contain control characters !"), i + 1);
  }
  return std::nullopt;
}
