#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>
#include <string>

#include "link/link_frame.h"
#include "link/mac_text.h"

namespace {

using Mac = std::array<std::uint8_t, 6>;

Mac parse(const char* text, int* result = nullptr) {
  Mac mac;
  mac.fill(0xee);
  const int r = mac_text_to_bytes(text, mac.data());
  if (result)
    *result = r;
  return mac;
}

const Mac SAMPLE = {0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x5e};

} // namespace

TEST(MacText, FormatsLowerCaseWithLeadingZeros) {
  char text[MAC_TEXT_SIZE + 4];
  std::memset(text, 'x', sizeof text);
  mac_bytes_to_text(SAMPLE.data(), text);
  EXPECT_STREQ(text, "00-1a-2b-3c-4d-5e");
  const Mac high = {0xff, 0x0f, 0xf0, 0x01, 0x10, 0x80};
  mac_bytes_to_text(high.data(), text);
  EXPECT_STREQ(text, "ff-0f-f0-01-10-80");
}

TEST(MacText, ParsesTheAcceptedForms) {
  int result = 1;
  EXPECT_EQ(parse("00-1a-2b-3c-4d-5e", &result), SAMPLE);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(parse("00-1A-2b-3C-4d-5E"), SAMPLE);
  EXPECT_EQ(parse("00:1a:2b:3c:4d:5e"), SAMPLE); // separators are not examined
  EXPECT_EQ(parse("001a2b3c4d5e", &result), SAMPLE);
  EXPECT_EQ(result, 0);
  // A list of two entries is read back to back from its first twelve characters.
  EXPECT_EQ(parse("00-1a-2b-3c-4d-5e66-77-88-99-aa-bb"), (Mac{0x00, 0x00, 0x0a, 0x2b, 0x00, 0x0c}));
}

TEST(MacText, RoundTripsEveryByteValue) {
  for (int v = 0; v < 256; ++v) {
    const Mac mac = {static_cast<std::uint8_t>(v), 0, 0, 0, 0, static_cast<std::uint8_t>(255 - v)};
    char text[MAC_TEXT_SIZE];
    mac_bytes_to_text(mac.data(), text);
    EXPECT_EQ(parse(text), mac) << text;
  }
}

TEST(MacText, TextsThatAreNotMacsGiveDefinedBytesWithoutOverreading) {
  int result = 0;
  EXPECT_EQ(parse("", &result), (Mac{0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(result, -1);
  EXPECT_EQ(parse("0"), (Mac{0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(parse("1"), (Mac{1, 0, 0, 0, 0, 0}));
  EXPECT_EQ(parse("00-1a-2b", &result), (Mac{0x00, 0, 0x0a, 0x2b, 0, 0}));
  EXPECT_EQ(result, -1);
  EXPECT_EQ(parse("1g-zz-2 -+1-0x-ff", &result), (Mac{0x01, 0, 0x02, 0, 0, 0xff}));
  EXPECT_EQ(result, -1);
  EXPECT_EQ(parse("\xff\xfe-\x80\x81-aa-bb-cc-dd"), (Mac{0, 0, 0xaa, 0xbb, 0xcc, 0xdd}));

  // Texts of every length from 0 to 17 in a buffer that ends exactly at the zero: a read past
  // it is caught by AddressSanitizer.
  for (std::size_t n = 0; n <= MAC_TEXT_LENGTH; ++n) {
    auto text = std::make_unique<char[]>(n + 1);
    std::memset(text.get(), 'f', n);
    text[n] = '\0';
    Mac mac;
    mac_text_to_bytes(text.get(), mac.data());
    for (std::size_t i = 0; i < 6; ++i) {
      const std::size_t stride = n == MAC_TEXT_LENGTH ? 3 : 2;
      const std::size_t digits = n > stride * i ? std::min<std::size_t>(2, n - stride * i) : 0;
      EXPECT_EQ(mac[i], digits == 2 ? 0xff : digits == 1 ? 0x0f : 0) << n << " " << i;
    }
  }
}

TEST(MacText, LowerCasesAsciiLettersOnly) {
  char text[] = "AZaz09-\xc4\xd6";
  to_lower_ascii(text);
  EXPECT_STREQ(text, "azaz09-\xc4\xd6");
}

TEST(MacText, ListCountIgnoresATrailingPart) {
  EXPECT_EQ(mac_list_count(""), 0);
  EXPECT_EQ(mac_list_count("00-1a-2b-3c-4d-5e"), 1);
  EXPECT_EQ(mac_list_count(std::string(34, 'a').c_str()), 2);
  EXPECT_EQ(mac_list_count(std::string(40, 'a').c_str()), 2);
}

TEST(MacText, SourceOfAFrame) {
  std::uint8_t frame[LINK_HEADER_SIZE];
  build_frame(frame, SAMPLE.data(), BROADCAST_MAC, 0, 0, 0);
  char text[MAC_TEXT_SIZE];
  EXPECT_EQ(frame_source_mac_text(frame, 0, text), 0);
  EXPECT_STREQ(text, "00-1a-2b-3c-4d-5e");
}
