// Feeds arbitrary texts to `mac_text_to_bytes`. The text sits in a heap block that ends with its
// zero, so a read past it is caught. Checks: a text read as well formed formats back to itself
// (in lower case, with "-" between the pairs); every MAC text and every text of twelve hex
// digits is read as well formed; letter case never matters.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "link/link_frame.h"
#include "link/mac_text.h"

namespace {

void check(bool holds) {
  if (!holds)
    std::abort();
}

std::unique_ptr<char[]> terminated_copy(const std::string& text) {
  auto copy = std::make_unique<char[]>(text.size() + 1);
  std::memcpy(copy.get(), text.c_str(), text.size() + 1);
  return copy;
}

bool all_hex(const std::string& text) {
  for (const char c : text)
    if (!std::isxdigit(static_cast<unsigned char>(c)))
      return false;
  return true;
}

std::string lower(std::string text) {
  for (char& c : text)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string upper(std::string text) {
  for (char& c : text)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::string text = input.substr(0, input.find('\0'));

  std::uint8_t mac[MAC_SIZE];
  const int result = mac_text_to_bytes(terminated_copy(text).get(), mac);
  check(result == 0 || result == -1);

  // The digits that count: the pairs of a 17-character text, else the first twelve characters.
  std::string digits;
  if (text.size() == MAC_TEXT_LENGTH) {
    for (std::size_t i = 0; i < MAC_SIZE; ++i)
      digits += text.substr(3 * i, 2);
  } else {
    digits = text.substr(0, 12);
  }
  const bool well_formed = digits.size() == 12 && all_hex(digits);
  check((result == 0) == well_formed);

  if (well_formed) {
    char formatted[MAC_TEXT_SIZE];
    mac_bytes_to_text(mac, formatted);
    std::string pairs;
    for (std::size_t i = 0; i < MAC_SIZE; ++i)
      pairs += (i ? "-" : "") + lower(digits.substr(2 * i, 2));
    check(pairs == formatted);
  }

  std::uint8_t again[MAC_SIZE];
  check(mac_text_to_bytes(terminated_copy(upper(text)).get(), again) == result);
  check(std::memcmp(mac, again, MAC_SIZE) == 0);
  return 0;
}
