// Checks of what a user types before it becomes a setting. The pages run them when Next is
// pressed, the configuration write runs the control-byte check once more on the stored values,
// and a command-line front end can run the same ones. Each check returns the message for the
// user, or nothing when the value may be used. Lengths are counted in bytes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "device/security_modes.h"

// A byte below 0x20 or 0x7F: the settings text is lines ended by line feeds, so such a byte
// could end a line early and slip another setting line into the bridge.
bool is_control_byte(char c);
bool holds_control_byte(std::string_view text);

// Hex digits of either case only (an empty text passes).
bool is_hex_text(std::string_view text);

constexpr int SSID_MAX_BYTES = 32; // the 802.11 limit

// An SSID for the settings. A `typed` one came from the keyboard and is held to the 802.11
// length; one heard on the air is taken as the bridge reported it.
std::optional<std::string> ssid_problem(std::string_view ssid, bool typed);

constexpr int PASSPHRASE_MIN_BYTES = 8;
constexpr int PASSPHRASE_MAX_BYTES = 63;

std::optional<std::string> passphrase_problem(std::string_view passphrase);

constexpr int WEP_KEY_COUNT = 4;

// The four WEP keys (empty ones allowed beside filled ones), typed as hex digits or ASCII, and
// the zero-based default key. Checked in this order: not all empty; the default key filled;
// every filled key of the short length (64 bit) or every one of the long length (128 bit);
// hex digits only when typed as hex; no control bytes. On success sets *width.
std::optional<std::string> wep_keys_problem(const std::string_view (&keys)[WEP_KEY_COUNT],
                                            bool typed_as_hex, int default_key, WepWidth* width);
