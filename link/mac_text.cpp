#include "link/mac_text.h"

#include <cstring>

#include "link/link_frame.h"

namespace {

// Reads the pair at text[at], text[at + 1], where length is the text's length. Returns true
// when both characters were hex digits.
bool read_pair(const char* text, std::size_t length, std::size_t at, std::uint8_t* out) {
  const int high = at < length ? hex_digit_value(text[at]) : -1;
  const int low = at + 1 < length ? hex_digit_value(text[at + 1]) : -1;
  if (high < 0)
    *out = 0;
  else if (low < 0)
    *out = static_cast<std::uint8_t>(high);
  else
    *out = static_cast<std::uint8_t>(high << 4 | low);
  return high >= 0 && low >= 0;
}

} // namespace

void mac_bytes_to_text(const std::uint8_t* mac, char* text) {
  static const char digits[] = "0123456789abcdef";
  for (int i = 0; i < MAC_SIZE; ++i) {
    text[3 * i] = digits[mac[i] >> 4];
    text[3 * i + 1] = digits[mac[i] & 0x0f];
    if (i < MAC_SIZE - 1)
      text[3 * i + 2] = '-';
  }
  text[MAC_TEXT_LENGTH] = '\0';
}

int frame_source_mac_text(const std::uint8_t* frame, int /*frame_length*/, char* text) {
  mac_bytes_to_text(frame + 6, text);
  return 0;
}

int mac_text_to_bytes(const char* text, std::uint8_t* mac) {
  // Letter case does not matter to read_pair, so no lower-cased copy is needed.
  const std::size_t length = text ? std::strlen(text) : 0;
  const std::size_t stride = length == MAC_TEXT_LENGTH ? 3 : 2;
  bool well_formed = true;
  for (std::size_t i = 0; i < MAC_SIZE; ++i)
    well_formed = read_pair(text, length, stride * i, &mac[i]) && well_formed;
  return well_formed ? 0 : -1;
}

int hex_digit_value(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}

void to_lower_ascii(char* text) {
  for (; *text; ++text)
    if (*text >= 'A' && *text <= 'Z')
      *text = static_cast<char>(*text - 'A' + 'a');
}

int mac_list_count(const char* list) {
  return static_cast<int>(std::strlen(list) / MAC_TEXT_LENGTH);
}

bool is_group_mac(const std::uint8_t* mac) { return (mac[0] & 0x01) != 0; }

bool is_zero_mac(const std::uint8_t* mac) {
  for (int i = 0; i < 6; ++i)
    if (mac[i] != 0)
      return false;
  return true;
}
