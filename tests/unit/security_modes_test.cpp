#include <gtest/gtest.h>

#include <string>

#include "device/security_modes.h"

TEST(SecurityModes, ListPositionReportDigitAndTextAreOneNumbering) {
  const char* const texts[] = {"Disable", "WEP", "WPA-PSK", "WPA2-PSK"};
  for (int mode = 0; mode < SECURITY_MODE_COUNT; ++mode) {
    EXPECT_EQ(security_mode_text(mode), texts[mode]);
    EXPECT_EQ(security_mode_of_digit(static_cast<char>('0' + mode)), mode);
    EXPECT_EQ(security_mode_of_text(security_mode_text(mode)), mode) << texts[mode];
  }
  for (const char digit : {'4', '9', '/', 'a', '\0'})
    EXPECT_EQ(security_mode_of_digit(digit), -1) << digit;
  EXPECT_EQ(security_mode_text(-1), "");
  EXPECT_EQ(security_mode_text(SECURITY_MODE_COUNT), "");
}

TEST(SecurityModes, ANetworksTextIsReadBySubstringInItsOrder) {
  EXPECT_EQ(security_mode_of_text("WEP(128bits)"), SECURITY_WEP);
  EXPECT_EQ(security_mode_of_text("Disable WEP"), SECURITY_DISABLE)
      << "Disable is looked for first";
  EXPECT_EQ(security_mode_of_text("WPA-PSK/WEP"), SECURITY_WEP) << "WEP before WPA-PSK";
  EXPECT_EQ(security_mode_of_text("WPA2-PSK"), SECURITY_WPA2_PSK) << "WPA-PSK is not inside it";
  EXPECT_EQ(security_mode_of_text(""), SECURITY_WPA2_PSK);
  EXPECT_EQ(security_mode_of_text("wep"), SECURITY_WPA2_PSK) << "case counts";
}

TEST(SecurityModes, EveryStoredTextGivesItsModeDigitKeyLengthAndCipherInTheSettings) {
  struct Case {
    int mode;
    WepWidth width;
    const char* stored;
    char digit;
    const char* key_length;
    char cipher;
  };
  const Case cases[] = {
      {SECURITY_DISABLE, WepWidth::Bits64, "Disable", '0', "0", '1'},
      {SECURITY_WEP, WepWidth::Bits64, "WEP(64bit)", '1', "5", '1'},
      {SECURITY_WEP, WepWidth::Bits128, "WEP(128bits)", '1', "13", '1'},
      {SECURITY_WPA_PSK, WepWidth::Bits64, "WPA-PSK", '2', "32", '0'},
      {SECURITY_WPA2_PSK, WepWidth::Bits64, "WPA2-PSK", '3', "32", '1'},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(stored_security_text(c.mode, c.width), c.stored);
    EXPECT_EQ(settings_security_digit(c.stored), c.digit) << c.stored;
    EXPECT_EQ(settings_key_length(c.stored), c.key_length) << c.stored;
    EXPECT_EQ(settings_cipher_digit(c.stored), c.cipher) << c.stored;
  }
  // A WEP key length in the settings is the key's bytes.
  EXPECT_EQ(settings_key_length("WEP(64bit)"), std::to_string(wep_key_bytes(WepWidth::Bits64)));
  EXPECT_EQ(settings_key_length("WEP(128bits)"), std::to_string(wep_key_bytes(WepWidth::Bits128)));
}

TEST(SecurityModes, OnlyExactStoredTextsCountTheRestIsWpa2) {
  for (const char* other : {"", "WEP", "wpa-psk", "WPA-PSK ", "Disabled"}) {
    EXPECT_EQ(settings_security_digit(other), '3') << other;
    EXPECT_EQ(settings_key_length(other), "32") << other;
    EXPECT_EQ(settings_cipher_digit(other), '1') << other;
  }
}

TEST(SecurityModes, WpaCiphers) {
  EXPECT_EQ(wpa_cipher_text(SECURITY_WPA_PSK), "TKIP");
  EXPECT_EQ(wpa_cipher_text(SECURITY_WPA2_PSK), "AES");
}

TEST(SecurityModes, WepKeysAreStoredAsHexText) {
  EXPECT_EQ(stored_wep_key("abcde", false), "6162636465");
  EXPECT_EQ(stored_wep_key(std::string("\x00\x7f\x80\xff", 4), false), "007F80FF");
  EXPECT_EQ(stored_wep_key("z\xc3\xa9xy", false), "7AC3A97879") << "bytes, not characters";
  EXPECT_EQ(stored_wep_key("00aaBBccdd", true), "00aaBBccdd") << "hex keeps its case";
  EXPECT_EQ(stored_wep_key("", false), "");
}
