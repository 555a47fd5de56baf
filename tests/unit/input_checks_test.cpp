#include <gtest/gtest.h>

#include <string>

#include "device/input_checks.h"

namespace {

std::string repeated(const std::string& text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i)
    out += text;
  return out;
}

// The message of the WEP check, or "ok" with the width it found.
std::string wep(const std::string_view (&keys)[WEP_KEY_COUNT], bool hex, int default_key = 0) {
  WepWidth width{};
  if (const auto problem = wep_keys_problem(keys, hex, default_key, &width))
    return *problem;
  return width == WepWidth::Bits64 ? "ok 64" : "ok 128";
}

} // namespace

TEST(InputChecks, ControlBytesAreTheC0RangeAndDelete) {
  for (int byte = 0; byte < 256; ++byte) {
    const bool control = byte < 0x20 || byte == 0x7f;
    EXPECT_EQ(is_control_byte(static_cast<char>(byte)), control) << byte;
  }
  EXPECT_FALSE(holds_control_byte("caf\xc3\xa9 ~"));
  EXPECT_TRUE(holds_control_byte(std::string("ab\0", 3)));
}

TEST(InputChecks, HexTextIsDigitsOfEitherCase) {
  EXPECT_TRUE(is_hex_text("0123456789abcdefABCDEF"));
  EXPECT_TRUE(is_hex_text(""));
  EXPECT_FALSE(is_hex_text("012g"));
  EXPECT_FALSE(is_hex_text("0x12"));
}

TEST(InputChecks, ATypedSsidIsHeldTo32BytesOneHeardOnTheAirIsNot) {
  EXPECT_FALSE(ssid_problem(std::string(32, 'a'), true));
  EXPECT_EQ(ssid_problem(std::string(33, 'a'), true), "The SSID must be at most 32 bytes!");
  EXPECT_EQ(ssid_problem(repeated("\xc3\xa9", 16) + "a", true),
            "The SSID must be at most 32 bytes!")
      << "counted in bytes";
  EXPECT_FALSE(ssid_problem(std::string(50, 'a'), false));
  EXPECT_EQ(ssid_problem("x\n7003 :0", false), "The SSID must not contain control characters!");
  EXPECT_EQ(ssid_problem("tab\there", true), "The SSID must not contain control characters!");
}

TEST(InputChecks, PassphraseFrom8To63BytesWithoutControlBytes) {
  EXPECT_EQ(passphrase_problem("1234567"), "Passphrase at least 8 characters !");
  EXPECT_FALSE(passphrase_problem("12345678"));
  EXPECT_FALSE(passphrase_problem(std::string(63, 'p')));
  EXPECT_EQ(passphrase_problem(std::string(64, 'p')), "Passphrase at most 63 characters !");
  EXPECT_EQ(passphrase_problem(repeated("\xc3\xa9", 32)), "Passphrase at most 63 characters !");
  EXPECT_EQ(passphrase_problem("good one\x7f"), "Passphrase must not contain control characters !");
}

TEST(InputChecks, WepKeysInTheOrderOfTheirChecks) {
  EXPECT_EQ(wep({"", "", "", ""}, true), "4 keys are all null !");
  EXPECT_EQ(wep({"0123456789", "", "", ""}, true, 2), "The key of Key Index 3 is null !");
  EXPECT_EQ(wep({"", "", "", "abcde"}, false, 3), "ok 64") << "empty keys beside a filled one";
  EXPECT_EQ(wep({"0123456789", "0123456789abcdef0123456789", "", ""}, true),
            "Key length must be 10 or 26 characters!")
      << "filled keys of two widths";
  EXPECT_EQ(wep({"0123456789abcdef0123456789", "", "", ""}, true), "ok 128");
  EXPECT_EQ(wep({"abcdefghijklm", "", "", ""}, false), "ok 128");
  EXPECT_EQ(wep({"0123456789", "", "", ""}, false), "Key length must be 5 or 13 characters!");
  EXPECT_EQ(wep({"012345678g", "", "", ""}, true), "Key 1 must be hexadecimal digits (0-9, A-F) !");
  EXPECT_EQ(wep({"", "ab\tcd", "", ""}, false, 1), "Key 2 must not contain control characters !");
  EXPECT_EQ(wep({"", "", "", "0123456789"}, true, -1), "ok 64") << "no default key chosen";
}
