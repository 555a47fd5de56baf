#include "device/security_modes.h"

namespace {

constexpr std::string_view MODE_TEXTS[SECURITY_MODE_COUNT] = {"Disable", "WEP", "WPA-PSK",
                                                              "WPA2-PSK"};

struct StoredText {
  std::string_view text;
  int mode;
  std::string_view key_length;
};
constexpr StoredText STORED_TEXTS[] = {
    {"Disable", SECURITY_DISABLE, "0"},    {"WEP(64bit)", SECURITY_WEP, "5"},
    {"WEP(128bits)", SECURITY_WEP, "13"},  {"WPA-PSK", SECURITY_WPA_PSK, "32"},
    {"WPA2-PSK", SECURITY_WPA2_PSK, "32"},
};
constexpr StoredText OTHER_STORED_TEXT = {{}, SECURITY_WPA2_PSK, "32"};

const StoredText& stored_text_entry(std::string_view stored) {
  for (const StoredText& entry : STORED_TEXTS)
    if (entry.text == stored)
      return entry;
  return OTHER_STORED_TEXT;
}

bool valid_mode(int mode) { return mode >= 0 && mode < SECURITY_MODE_COUNT; }

} // namespace

std::string_view security_mode_text(int mode) { return valid_mode(mode) ? MODE_TEXTS[mode] : ""; }

int security_mode_of_digit(char digit) {
  const int mode = digit - '0';
  return valid_mode(mode) ? mode : -1;
}

int security_mode_of_text(std::string_view text) {
  for (const int mode : {SECURITY_DISABLE, SECURITY_WEP, SECURITY_WPA_PSK})
    if (text.find(MODE_TEXTS[mode]) != std::string_view::npos)
      return mode;
  return SECURITY_WPA2_PSK;
}

std::string_view stored_security_text(int mode, WepWidth width) {
  if (mode == SECURITY_WEP)
    return width == WepWidth::Bits64 ? "WEP(64bit)" : "WEP(128bits)";
  return security_mode_text(mode);
}

char settings_security_digit(std::string_view stored) {
  return static_cast<char>('0' + stored_text_entry(stored).mode);
}

std::string_view settings_key_length(std::string_view stored) {
  return stored_text_entry(stored).key_length;
}

char settings_cipher_digit(std::string_view stored) {
  return stored_text_entry(stored).mode == SECURITY_WPA_PSK ? '0' : '1';
}

std::string_view wpa_cipher_text(int mode) { return mode == SECURITY_WPA_PSK ? "TKIP" : "AES"; }

std::string stored_wep_key(std::string_view key, bool typed_as_hex) {
  if (typed_as_hex)
    return std::string(key);
  static constexpr char DIGITS[] = "0123456789ABCDEF";
  std::string hex;
  hex.reserve(2 * key.size());
  for (const char c : key) {
    const auto byte = static_cast<unsigned char>(c);
    hex += DIGITS[byte >> 4];
    hex += DIGITS[byte & 0x0f];
  }
  return hex;
}
