#include "device/survey_report.h"

#include <climits>
#include <cstring>
#include <string_view>

#include "device/security_modes.h"
#include "device/wireless_records.h"

namespace {

constexpr char FORM_FEED = 12;
constexpr char VERTICAL_TAB = 11;
constexpr int REPORT_SKIPPED_BYTES = 2;
constexpr int SIGNAL_DIGITS = sizeof(NetworkEntry::signal_text) - 2; // room for "%" and zero

const char* speed_text(char mode_letter) {
  switch (mode_letter) {
  case 'G':
    return "54Mbps";
  case 'B':
    return "11Mbps";
  default:
    return "";
  }
}

// Splits the next field off `rest` at its ','; false when there is no ',' left.
bool take_field(std::string_view& rest, std::string_view* field) {
  const std::size_t comma = rest.find(',');
  if (comma == std::string_view::npos)
    return false;
  *field = rest.substr(0, comma);
  rest.remove_prefix(comma + 1);
  return true;
}

// Fills `entry` from the list entry starting at `at`. Returns its closing vertical tab, or
// nullptr for a malformed entry (SSID longer than the field, or a missing form feed,
// separator or vertical tab); its fields must all lie before its own vertical tab.
const char* parse_entry(const char* at, NetworkEntry& entry) {
  const int ssid_length = find_char(at, FORM_FEED);
  if (ssid_length < 0 || ssid_length > SSID_WIDTH)
    return nullptr;
  store_ssid(entry, ssid_length == 0 ? HIDDEN_SSID_TEXT
                                     : std::string_view{at, static_cast<std::size_t>(ssid_length)});
  at += ssid_length + 1;

  const int fields_length = find_char(at, VERTICAL_TAB);
  if (fields_length < 0)
    return nullptr;
  std::string_view rest{at, static_cast<std::size_t>(fields_length)};
  std::string_view mac_text, channel, mode, security;
  if (!take_field(rest, &mac_text) || !take_field(rest, &channel) || !take_field(rest, &mode) ||
      !take_field(rest, &security))
    return nullptr;
  store_text(entry.mac_text, mac_text);
  store_text(entry.channel, channel);
  store_text(entry.speed, speed_text(mode.empty() ? '\0' : mode.front()));
  store_text(entry.security, security_mode_text(security_mode_of_digit(
                                 security.empty() ? '\0' : security.front())));

  const std::string_view signal = rest; // up to the vertical tab
  entry.signal = parse_leading_int(signal.data(), static_cast<int>(signal.size()));
  char signal_text[sizeof(NetworkEntry::signal_text)] = {};
  const std::size_t digits = signal.size() < SIGNAL_DIGITS ? signal.size() : SIGNAL_DIGITS;
  std::memcpy(signal_text, signal.data(), digits);
  signal_text[digits] = '%';
  store_text(entry.signal_text, std::string_view{signal_text, digits + 1});
  return at + fields_length;
}

// Fills the network table from the list at `at`; returns the number of entries stored.
int parse_network_list(const char* at) {
  NetworkEntry(&table)[NETWORK_TABLE_ENTRIES] = wireless_records().network_table;
  std::memset(table, 0, sizeof table);
  int stored = 0;
  if (find_char(at, VERTICAL_TAB) < 0)
    return 0;
  for (;;) {
    NetworkEntry& entry = table[stored];
    const char* end = parse_entry(at, entry);
    if (end == nullptr) {
      std::memset(&entry, 0, sizeof entry);
      return stored;
    }
    if (++stored == NETWORK_TABLE_ENTRIES)
      return stored;
    // `end` is the entry's vertical tab; go on only if another whole entry may follow.
    if (end[1] == '\0')
      return stored;
    at = end + 1;
    if (find_char(at, VERTICAL_TAB) < 0)
      return stored;
  }
}

} // namespace

int find_char(const char* text, char byte) {
  if (byte == '\0')
    return -1;
  const char* found = std::strchr(text, byte);
  return found ? static_cast<int>(found - text) : -1;
}

int find_text(const char* text, const char* pattern) {
  const char* found = std::strstr(text, pattern);
  return found ? static_cast<int>(found - text) : -1;
}

int parse_leading_int(const char* text, int n) {
  int at = 0;
  auto more = [&] { return at < n && text[at] != '\0'; };
  while (more() && (text[at] == ' ' || (text[at] >= '\t' && text[at] <= '\r')))
    ++at;
  bool negative = false;
  if (more() && (text[at] == '+' || text[at] == '-'))
    negative = text[at++] == '-';
  long long value = 0;
  for (; more() && text[at] >= '0' && text[at] <= '9'; ++at) {
    value = value * 10 + (text[at] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1)
      value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative)
    return static_cast<int>(-value);
  return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

int copy_report_text(const std::uint8_t* frame, char* text) {
  constexpr int room = MAX_FRAME_SIZE - LINK_HEADER_SIZE - REPORT_SKIPPED_BYTES;
  int length = frame_length_field(frame) - REPORT_SKIPPED_BYTES;
  length = length < 0 ? 0 : length > room ? room : length;
  std::memset(text, 0, REPORT_TEXT_SIZE);
  std::memcpy(text, frame + LINK_HEADER_SIZE + REPORT_SKIPPED_BYTES,
              static_cast<std::size_t>(length));
  return static_cast<int>(std::strlen(text));
}

int parse_survey_reply(const std::uint8_t* frame, int* count) {
  char text[REPORT_TEXT_SIZE];
  copy_report_text(frame, text);

  NetworkEntry& current = wireless_records().current_network;
  std::memset(&current, 0, sizeof current);
  const int ssid_at = find_text(text, "SSID:");
  if (ssid_at >= 0) {
    const char* ssid = text + ssid_at + 5;
    // The separator before "7001 " is not a part of the name.
    const int next_line = find_text(ssid, "7001 ");
    if (next_line > 0)
      store_ssid(current, {ssid, static_cast<std::size_t>(next_line - 1)});
  }
  const int mode_at = find_text(text, "SECMODE:");
  if (mode_at >= 0)
    store_text(current.security, security_mode_text(security_mode_of_digit(text[mode_at + 8])));

  // Absent, or within the first three characters: no list.
  const int list_at = find_text(text, "SURVEY:");
  if (list_at < 3)
    return 0;
  const char* list = text + list_at + 7;
  if (*list == FORM_FEED)
    ++list;
  *count = parse_network_list(list);
  return 0;
}
