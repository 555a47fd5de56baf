// The security modes in every form the wizard meets them. The mode number is the position in
// every security list and the digit of the bridge's survey report; the lists, the report and
// `CurrentNetwork` show its text; `WirelessSettings.security` holds the stored texts, WEP with
// its width; the settings text turns a stored text into digits and a key length.
#pragma once

#include <string>
#include <string_view>

constexpr int SECURITY_DISABLE = 0;
constexpr int SECURITY_WEP = 1;
constexpr int SECURITY_WPA_PSK = 2;
constexpr int SECURITY_WPA2_PSK = 3;
constexpr int SECURITY_MODE_COUNT = 4;

// "Disable", "WEP", "WPA-PSK" or "WPA2-PSK"; empty for any other number.
std::string_view security_mode_text(int mode);

// The mode of a survey report's digit, '0' to '3'; -1 for any other byte.
int security_mode_of_digit(char digit);

// The mode a network's security text asks for, by substring in this order: "Disable", "WEP",
// "WPA-PSK", and WPA2-PSK for anything else. ("WPA-PSK" is not a part of "WPA2-PSK".)
int security_mode_of_text(std::string_view text);

// WEP widths and their key lengths: bytes of the key, which is also the number of characters
// of a key typed as ASCII, and twice that in hex digits.
enum class WepWidth { Bits64, Bits128 };
constexpr int wep_key_bytes(WepWidth width) { return width == WepWidth::Bits64 ? 5 : 13; }
constexpr int wep_hex_digits(WepWidth width) { return 2 * wep_key_bytes(width); }

// The text stored in `WirelessSettings.security` for a mode: "Disable", "WEP(64bit)" or
// "WEP(128bits)" by `width`, "WPA-PSK", "WPA2-PSK"; empty for any other number.
std::string_view stored_security_text(int mode, WepWidth width = WepWidth::Bits64);

// What the settings text makes of a stored security text: the mode digit of line "7003 :",
// the key length of line "7004 :" ("0", "5", "13", "32") and the cipher digit of line
// "7018 :" ('0' for WPA-PSK, '1' otherwise). A text that is none of the stored texts counts
// as WPA2-PSK.
char settings_security_digit(std::string_view stored);
std::string_view settings_key_length(std::string_view stored);
char settings_cipher_digit(std::string_view stored);

// The cipher that goes with a WPA mode: "TKIP" for WPA-PSK, "AES" for WPA2-PSK.
std::string_view wpa_cipher_text(int mode);

// A WEP key as it is stored, always hex text: a key typed as ASCII becomes two upper-case
// hex digits per byte; a key typed in hex is kept as typed.
std::string stored_wep_key(std::string_view key, bool typed_as_hex);
