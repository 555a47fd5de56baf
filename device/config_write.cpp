#include "device/config_write.h"

#include <cstring>
#include <string_view>

#include "device/input_checks.h"
#include "device/mac_arguments.h"
#include "device/security_modes.h"
#include "device/wireless_records.h"
#include "link/frame_exchange.h"
#include "link/link_frame.h"
#include "link/translation.h"

namespace {

// The longest text the fields can give must fit the settings request.
constexpr int LONGEST_SETTINGS_TEXT = 15 * 9 + SSID_WIDTH + 6 * KEY_FIELD_WIDTH;
static_assert(LONGEST_SETTINGS_TEXT <= SETTINGS_FRAME_ROOM - LINK_HEADER_SIZE);

class TextWriter {
public:
  explicit TextWriter(std::uint8_t* at) : at_(at) {}
  void line(std::string_view key, std::string_view value = {}) {
    put(key);
    put(value);
    put("\n");
  }
  int length() const { return length_; }

private:
  void put(std::string_view text) {
    if (!text.empty())
      std::memcpy(at_ + length_, text.data(), text.size());
    length_ += static_cast<int>(text.size());
  }
  std::uint8_t* at_;
  int length_ = 0;
};

struct SaveStep {
  const char* name;
  RequestBuilder build;
  std::uint32_t expected;
  int tick_limit;
};

const SaveStep SAVE_STEPS[] = {
    {SAVE_STEP_BEGIN, build_begin_request, RSP_BEGIN, STEP_TICK_LIMIT},
    {SAVE_STEP_SETTINGS, build_settings_text, RSP_WRITE, STEP_TICK_LIMIT},
    {SAVE_STEP_EXECUTE, build_execute_request, RSP_EXECUTE_ACK, FIRST_EXECUTE_TICK_LIMIT},
    {SAVE_STEP_APPLY_BEGIN, build_begin_request, RSP_BEGIN, STEP_TICK_LIMIT},
    {SAVE_STEP_APPLY, build_9002_request, RSP_WRITE, STEP_TICK_LIMIT},
    {SAVE_STEP_APPLY_EXECUTE, build_execute_request, RSP_EXECUTE_ACK, STEP_TICK_LIMIT},
};

} // namespace

std::optional<std::string> unsafe_setting_message() {
  const WirelessRecords& records = wireless_records();
  const NetworkEntry& settings = records.wireless_settings;
  const WirelessKeySet& keys = records.wireless_keys;
  const struct {
    std::string_view value;
    const char* message;
  } values[] = {
      {field_text(settings.ssid),
       N_("The SSID contains a control character (such as a line break) and cannot be saved.")},
      {field_text(keys.key_index), N_("The WEP key index contains a control character (such as "
                                      "a line break) and cannot be saved.")},
      {field_text(keys.wep_key1),
       N_("WEP key 1 contains a control character (such as a line break) and cannot be saved.")},
      {field_text(keys.wep_key2),
       N_("WEP key 2 contains a control character (such as a line break) and cannot be saved.")},
      {field_text(keys.wep_key3),
       N_("WEP key 3 contains a control character (such as a line break) and cannot be saved.")},
      {field_text(keys.wep_key4),
       N_("WEP key 4 contains a control character (such as a line break) and cannot be saved.")},
      {field_text(keys.passphrase), N_("The passphrase contains a control character (such as a "
                                       "line break) and cannot be saved.")},
  };
  for (const auto& [value, message] : values)
    if (holds_control_byte(value))
      return std::string(_(message));
  return std::nullopt;
}

int build_settings_text(std::uint8_t* frame, const std::uint8_t* own, const std::uint8_t* bridge) {
  const WirelessRecords& records = wireless_records();
  const NetworkEntry& settings = records.wireless_settings;
  const WirelessKeySet& keys = records.wireless_keys;
  std::memset(frame, 0, SETTINGS_FRAME_ROOM);
  const std::string_view security = field_text(settings.security);
  const std::string_view key_index = field_text(keys.key_index);
  const char digit[] = {settings_security_digit(security), '\0'};
  const char cipher[] = {settings_cipher_digit(security), '\0'};

  TextWriter text(frame + LINK_HEADER_SIZE);
  text.line("7000 :", field_text(settings.ssid));
  text.line("7001 :16");
  text.line("7002 :0");
  text.line("7003 :", digit);
  text.line("7004 :", settings_key_length(security));
  text.line("7005 :", key_index.empty() ? "0" : key_index);
  text.line("7006 :", field_text(keys.wep_key1));
  text.line("7007 :", field_text(keys.wep_key2));
  text.line("7008 :", field_text(keys.wep_key3));
  text.line("7009 :", field_text(keys.wep_key4));
  text.line("7012 :3");
  text.line("7013 :0");
  text.line("7018 :", cipher);
  text.line("7019 :", field_text(keys.passphrase));
  text.line("7022 :0");

  build_frame(frame, own, bridge, CMD_WRITE, 0, static_cast<std::uint16_t>(text.length()));
  return LINK_HEADER_SIZE + text.length();
}

int write_configuration(std::uint8_t* send, std::uint8_t* receive, const char* own_mac_text,
                        const char* bridge_mac_text) {
  clear_link_failure();
  if (unsafe_setting_message())
    return -1;
  std::uint8_t own[MAC_SIZE];
  std::uint8_t bridge[MAC_SIZE];
  if (!procedure_macs(own_mac_text, bridge_mac_text, own, bridge))
    return -1;

  for (const SaveStep& step : SAVE_STEPS) {
    note_link_step(step.name);
    if (send_and_await(step.build, send, receive, own, bridge, step.expected, step.tick_limit) <= 0)
      return -1;
  }
  return 0;
}
