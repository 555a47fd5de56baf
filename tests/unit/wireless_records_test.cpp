#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "device/wireless_records.h"

TEST(WirelessRecords, TextsAreCutToFitAndKeepTheirZero) {
  NetworkEntry entry;
  std::memset(&entry, 'z', sizeof entry);
  store_text(entry.channel, "123456789");
  EXPECT_EQ(field_text(entry.channel), "1234");
  EXPECT_EQ(entry.channel[4], '\0');
  EXPECT_EQ(entry.speed[0], 'z') << "the next field is untouched";

  store_text(entry.mac_text, "ab");
  for (std::size_t i = 2; i < sizeof entry.mac_text; ++i)
    EXPECT_EQ(entry.mac_text[i], '\0') << "the rest of the field is zeroed";
  store_text(entry.security, "");
  EXPECT_EQ(field_text(entry.security), "");
}

TEST(WirelessRecords, TheSsidMayFillItsFieldWithoutAZero) {
  NetworkEntry entry;
  std::memset(&entry, 'z', sizeof entry);
  const std::string fifty(50, 's');
  store_ssid(entry, fifty + "cut");
  EXPECT_EQ(field_text(entry.ssid), fifty);
  EXPECT_EQ(entry.mac_text[0], 'z');
  store_ssid(entry, std::string("a\0b", 3));
  EXPECT_EQ(field_text(entry.ssid), "a") << "a name ends at its first zero";
  store_ssid(entry, "");
  EXPECT_EQ(field_text(entry.ssid), "");
}
