// SSIDs as people see them: well-formed UTF-8 is kept, anything else is read as Latin-1, so a
// malformed sequence can never pass through as text that is not UTF-8.
#include <gtest/gtest.h>

#include <string>

#include "device/display_text.h"

TEST(DisplayText, WellFormedUtf8IsKeptAndEverythingElseIsReadAsLatin1) {
  for (const std::string utf8 : {"Office", "Caf\xc3\xa9", "\xe2\x82\xac", "\xf0\x9f\x93\xb6",
                                 "\xed\x9f\xbf", "\xf4\x8f\xbf\xbf", ""})
    EXPECT_EQ(display_text(utf8), utf8) << hex_text(utf8);

  struct Case {
    std::string bytes;
    std::string shown;
  };
  const Case latin1[] = {
      {"Caf\xe9", "Caf\xc3\xa9"},                               // a Latin-1 name
      {"\xc0\xaf", "\xc3\x80\xc2\xaf"},                         // overlong '/'
      {"\xe0\x80\xaf", "\xc3\xa0\xc2\x80\xc2\xaf"},             // overlong, three bytes
      {"\xed\xa0\x80", "\xc3\xad\xc2\xa0\xc2\x80"},             // a UTF-16 surrogate
      {"\xf4\x90\x80\x80", "\xc3\xb4\xc2\x90\xc2\x80\xc2\x80"}, // above U+10FFFF
      {"ab\xc3", "ab\xc3\x83"},                                 // cut off at the end
      {"\x80", "\xc2\x80"},                                     // a lone continuation byte
  };
  for (const Case& c : latin1)
    EXPECT_EQ(display_text(c.bytes), c.shown) << hex_text(c.bytes);
}

TEST(DisplayText, HexKeepsEveryByte) {
  EXPECT_EQ(hex_text(std::string("\x00\x1b\x7f\xff", 4)), "001b7fff");
  EXPECT_EQ(hex_text("Office"), "4f6666696365");
  EXPECT_EQ(hex_text(""), "");
}
