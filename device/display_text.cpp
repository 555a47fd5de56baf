#include "device/display_text.h"

namespace {

// Well-formed UTF-8 as the Unicode standard defines it: no overlong forms, no surrogates,
// nothing above U+10FFFF.
bool is_utf8(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    int length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xbf;
    if (lead < 0x80) {
      ++i;
      continue;
    } else if (lead >= 0xc2 && lead <= 0xdf) {
      length = 2;
    } else if (lead >= 0xe0 && lead <= 0xef) {
      length = 3;
      low = lead == 0xe0 ? 0xa0 : 0x80;
      high = lead == 0xed ? 0x9f : 0xbf;
    } else if (lead >= 0xf0 && lead <= 0xf4) {
      length = 4;
      low = lead == 0xf0 ? 0x90 : 0x80;
      high = lead == 0xf4 ? 0x8f : 0xbf;
    } else {
      return false;
    }
    if (i + static_cast<std::size_t>(length) > bytes.size())
      return false;
    for (int k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
      if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xbf))
        return false;
    }
    i += static_cast<std::size_t>(length);
  }
  return true;
}

} // namespace

std::string display_text(std::string_view bytes) {
  if (is_utf8(bytes))
    return std::string(bytes);
  std::string text;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      text += c;
    } else {
      text += static_cast<char>(0xc0 | (byte >> 6));
      text += static_cast<char>(0x80 | (byte & 0x3f));
    }
  }
  return text;
}

std::string hex_text(std::string_view bytes) {
  static constexpr char DIGITS[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(bytes.size() * 2);
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    hex += DIGITS[byte >> 4];
    hex += DIGITS[byte & 0x0f];
  }
  return hex;
}
