// The configuration write: sends the user's settings (`WirelessSettings`, `WirelessKeys`) to
// the chosen bridge as a text of numbered lines, then the command "9002:" that applies them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Checks every value that the settings text carries (SSID, key index, WEP keys, passphrase).
// The text is lines ended by line feeds, so a value holding a control byte (below 0x20, or
// 0x7F) could end its line early and slip another setting line into the bridge. Returns
// nothing when every value is safe, else a message for the user naming the first bad field.
std::optional<std::string> unsafe_setting_message();

// Builds the settings request (a `RequestBuilder`): zeroes SETTINGS_FRAME_ROOM bytes of
// `frame`, writes the fifteen lines from byte 24 and the `CMD_WRITE` header whose length
// counts every text byte up to the final line feed. Returns 24 + the text's length.
int build_settings_text(std::uint8_t* frame, const std::uint8_t* own, const std::uint8_t* bridge);

// The write's six steps by name, as link_step() tells the one under way: the settings
// transaction (begin, the settings text, execute), then the apply transaction ("9002:").
inline constexpr const char* SAVE_STEP_BEGIN = "begin";
inline constexpr const char* SAVE_STEP_SETTINGS = "settings write";
inline constexpr const char* SAVE_STEP_EXECUTE = "settings execute";
inline constexpr const char* SAVE_STEP_APPLY_BEGIN = "begin of the apply";
inline constexpr const char* SAVE_STEP_APPLY = "apply command (9002:)";
inline constexpr const char* SAVE_STEP_APPLY_EXECUTE = "apply execute";

// Runs the write's six steps. `send` and `receive` are MAX_FRAME_SIZE buffers and may be the
// same one. `own_mac_text` is read for its first 17 characters; `bridge_mac_text` is one MAC
// text. Returns 0 once the bridge has acknowledged "9002:"; -1 when a step fails twice (the
// later steps are not sent), and -1 without sending anything when a value is refused by
// `unsafe_setting_message` or a MAC text does not hold a MAC.
int write_configuration(std::uint8_t* send, std::uint8_t* receive, const char* own_mac_text,
                        const char* bridge_mac_text);
