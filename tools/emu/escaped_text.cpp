#include "tools/emu/escaped_text.h"

#include <cstdio>

#include "link/mac_text.h"

namespace {

struct Escape {
  char byte;
  char letter;
};
constexpr Escape ESCAPES[] = {{'\\', '\\'}, {'"', '"'},  {'\0', '0'}, {'\r', 'r'},
                              {'\n', 'n'},  {'\t', 't'}, {'\f', 'f'}, {'\v', 'v'}};

} // namespace

std::string escape_bytes(std::string_view bytes) {
  std::string text;
  for (const char c : bytes) {
    const Escape* escape = nullptr;
    for (const Escape& candidate : ESCAPES)
      if (candidate.byte == c)
        escape = &candidate;
    const auto byte = static_cast<unsigned char>(c);
    if (escape != nullptr) {
      text += '\\';
      text += escape->letter;
    } else if (byte >= 0x20 && byte < 0x7f) {
      text += c;
    } else {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02x", byte);
      text += hex;
    }
  }
  return text;
}

bool unescape_text(std::string_view text, std::string* bytes, std::string* error) {
  bytes->clear();
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      bytes->push_back(text[i]);
      continue;
    }
    if (++i == text.size()) {
      *error = "a quoted value ends in a lone backslash";
      return false;
    }
    const char letter = text[i];
    if (letter == 'x') {
      const int high = i + 1 < text.size() ? hex_digit_value(text[i + 1]) : -1;
      const int low = i + 2 < text.size() ? hex_digit_value(text[i + 2]) : -1;
      if (high < 0 || low < 0) {
        *error = "\\x needs two hex digits";
        return false;
      }
      bytes->push_back(static_cast<char>(high << 4 | low));
      i += 2;
      continue;
    }
    const Escape* escape = nullptr;
    for (const Escape& candidate : ESCAPES)
      if (candidate.letter == letter)
        escape = &candidate;
    if (escape == nullptr) {
      *error = std::string("unknown escape \\") + letter;
      return false;
    }
    bytes->push_back(escape->byte);
  }
  return true;
}
