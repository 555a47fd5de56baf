#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "device/survey_report.h"
#include "device/wireless_records.h"
#include "tests/support/fake_bridge.h"
#include "tests/support/network_entry_text.h"
#include "tools/emu/survey_report.h"

namespace {

const std::uint8_t OWN[6] = {0x02, 0, 0, 0, 0, 0x01};
const std::uint8_t BRIDGE[6] = {0x02, 0, 0, 0, 0, 0xb1};

// A received report frame in a whole receive buffer, as the survey hands it over.
Bytes report_frame(const Bytes& payload, int length_field = -1) {
  Bytes frame = make_reply(BRIDGE, OWN, RSP_EXECUTE_DATA, payload, length_field);
  frame.resize(MAX_FRAME_SIZE, 0);
  return frame;
}

Bytes report_frame(const std::string& text) { return report_frame(report_payload(text)); }

std::string entry(const std::string& ssid, const std::string& fields) {
  return ssid + '\f' + fields + '\v';
}

const std::string HEAD = "SSID:home\n7001 :16\n7002 :0\nSECMODE:3\n";

class SurveyReport : public ::testing::Test {
protected:
  int count = -7;
  void SetUp() override {
    std::memset(NetworkTable, 0, sizeof NetworkTable);
    std::memset(&CurrentNetwork, 0, sizeof CurrentNetwork);
  }
  void parse(const std::string& text) { parse(report_frame(text)); }
  void parse(const Bytes& frame) { ASSERT_EQ(parse_survey_reply(frame.data(), &count), 0); }
  static bool all_zero(const NetworkEntry& entry) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(&entry);
    for (std::size_t i = 0; i < sizeof entry; ++i)
      if (bytes[i] != 0)
        return false;
    return true;
  }
};

} // namespace

TEST_F(SurveyReport, ReadsPresentSettingAndEveryFieldOfAnEntry) {
  parse(HEAD + "SURVEY:\f" + entry("cafe", "00-11-22-33-44-55,11,BG,2,78") +
        entry("lab", "001122aabbcc,6,G,1,5"));
  EXPECT_EQ(field_text(CurrentNetwork.ssid), "home");
  EXPECT_EQ(field_text(CurrentNetwork.security), "WPA2-PSK");
  EXPECT_EQ(CurrentNetwork.signal, 0);
  EXPECT_EQ(field_text(CurrentNetwork.mac_text), "");
  ASSERT_EQ(count, 2);
  EXPECT_EQ(network_entry_text(NetworkTable[0]), "78|cafe|00-11-22-33-44-55|11|11Mbps|WPA-PSK|78%");
  EXPECT_EQ(network_entry_text(NetworkTable[1]), "5|lab|001122aabbcc|6|54Mbps|WEP|5%");
  EXPECT_TRUE(all_zero(NetworkTable[2]));
}

TEST_F(SurveyReport, SecurityDigitsModesAndHiddenNames) {
  parse(HEAD + "SURVEY:\f" + entry("", "m,1,G,0,50") + entry("b", "m,1,N,4,50") +
        entry("c", "m,1,,,50"));
  ASSERT_EQ(count, 3);
  EXPECT_EQ(field_text(NetworkTable[0].ssid), "[HiddenSSID]");
  EXPECT_EQ(field_text(NetworkTable[0].security), "Disable");
  EXPECT_EQ(field_text(NetworkTable[1].speed), "") << "mode N";
  EXPECT_EQ(field_text(NetworkTable[1].security), "") << "digit 4";
  EXPECT_EQ(field_text(NetworkTable[2].speed), "");
  EXPECT_EQ(field_text(NetworkTable[2].security), "");

  for (const auto& [digit, text] :
       {std::pair{'0', "Disable"}, {'1', "WEP"}, {'2', "WPA-PSK"}, {'3', "WPA2-PSK"}, {'9', ""}}) {
    parse(std::string("SSID:x\n7001 :16\nSECMODE:") + digit + "\n");
    EXPECT_EQ(field_text(CurrentNetwork.security), text) << digit;
  }
}

TEST_F(SurveyReport, FormFeedAfterTheListMarkerIsOptional) {
  parse(HEAD + "SURVEY:\f" + entry("a", "m,1,G,3,9"));
  EXPECT_EQ(field_text(NetworkTable[0].ssid), "a");
  parse(HEAD + "SURVEY:" + entry("a", "m,1,G,3,9"));
  ASSERT_EQ(count, 1);
  EXPECT_EQ(field_text(NetworkTable[0].ssid), "a");
  parse(HEAD + "SURVEY:\f\f" + entry("a", "m,1,G,3,9"));
  EXPECT_EQ(field_text(NetworkTable[0].ssid), "[HiddenSSID]")
      << "only one form feed is skipped; the second ends an empty name";
}

TEST_F(SurveyReport, TableHoldsFiftyEntriesAtMost) {
  for (const int listed : {49, 50, 55, 60}) {
    std::string list;
    for (int i = 0; i < listed; ++i)
      list += entry(std::to_string(i), "m,1,G,3,9");
    parse(HEAD + "SURVEY:\f" + list);
    EXPECT_EQ(count, std::min(listed, 50)) << listed;
    EXPECT_EQ(field_text(NetworkTable[std::min(listed, 50) - 1].ssid),
              std::to_string(std::min(listed, 50) - 1));
  }
}

TEST_F(SurveyReport, SsidOfFiftyBytesIsKeptAndFiftyOneEndsTheList) {
  const std::string fifty(50, 'x');
  parse(HEAD + "SURVEY:\f" + entry("a", "m,1,G,3,9") + entry(fifty, "m,2,G,3,9") +
        entry("c", "m,3,G,3,9"));
  ASSERT_EQ(count, 3);
  EXPECT_EQ(field_text(NetworkTable[1].ssid), fifty);
  EXPECT_EQ(field_text(NetworkTable[1].mac_text), "m") << "the next field is intact";

  parse(HEAD + "SURVEY:\f" + entry("a", "m,1,G,3,9") + entry(fifty + "y", "m,2,G,3,9") +
        entry("c", "m,3,G,3,9"));
  EXPECT_EQ(count, 1);
  EXPECT_TRUE(all_zero(NetworkTable[1]));

  parse("SSID:" + fifty + "yz\n7001 :16\n");
  EXPECT_EQ(field_text(CurrentNetwork.ssid), fifty) << "a longer present SSID is cut to fit";
}

TEST_F(SurveyReport, SsidBytesAreKeptAsTheyCame) {
  const std::string name = "caf\xc3\xa9 \x80\xff,;\v";
  parse("SSID:" + name + "\r7001 :16\nSECMODE:0\nSURVEY:\f" + entry(name, "m,1,G,3,9"));
  EXPECT_EQ(field_text(CurrentNetwork.ssid), name);
  ASSERT_EQ(count, 1);
  EXPECT_EQ(field_text(NetworkTable[0].ssid), name);
  EXPECT_EQ(field_text(NetworkTable[0].signal_text), "9%");
}

TEST_F(SurveyReport, LongFieldsAreCutToFit) {
  parse(HEAD + "SURVEY:\f" + entry("a", std::string(40, 'm') + ",123456,GGGGGGGGGGGGGGG,3,123456"));
  ASSERT_EQ(count, 1);
  const NetworkEntry& cut = NetworkTable[0];
  EXPECT_EQ(field_text(cut.mac_text), std::string(23, 'm'));
  EXPECT_EQ(field_text(cut.channel), "1234");
  EXPECT_EQ(cut.signal, 123456);
  EXPECT_EQ(field_text(cut.signal_text), "1234%");
  EXPECT_EQ(cut.mac_text[23], '\0');
}

TEST_F(SurveyReport, ListlessReportRewritesOnlyThePresentSetting) {
  NetworkTable[3].signal = 42;
  std::strcpy(CurrentNetwork.channel, "11");
  parse("SSID:new\n7001 :16\nSECMODE:1\n");
  EXPECT_EQ(count, -7) << "count is left as the caller set it";
  EXPECT_EQ(NetworkTable[3].signal, 42);
  EXPECT_EQ(field_text(CurrentNetwork.ssid), "new");
  EXPECT_EQ(field_text(CurrentNetwork.channel), "") << "the record is rewritten whole";

  parse("SURVEY:\f" + entry("a", "m,1,G,3,9") + "SSID:x\n7001 ");
  EXPECT_EQ(count, -7) << "a list marker within the first three characters is not a list";
  EXPECT_EQ(NetworkTable[3].signal, 42);
}

TEST_F(SurveyReport, EmptyListClearsTheTable) {
  NetworkTable[3].signal = 42;
  parse(HEAD + "SURVEY:\f");
  EXPECT_EQ(count, 0);
  EXPECT_TRUE(all_zero(NetworkTable[3]));
  parse(HEAD + "SURVEY:\fno vertical tab\fm,1,G,3,9");
  EXPECT_EQ(count, 0);
}

TEST_F(SurveyReport, MalformedEntriesEndTheListAndKeepWhatCameBefore) {
  const std::string good = entry("a", "m,1,G,3,9");
  const std::string broken[] = {
      good.substr(0, good.size() - 1),               // the last entry lacks its vertical tab
      "b\f",                                         // a name and its form feed only
      "b",                                           // a name and nothing else
      entry("b", "m,1,G,3") + good,                  // one "," short before its own vertical tab
      entry("b", "m") + good,                        // no "," at all
      std::string(51, 'b') + "\fm,1,G,3,9\v" + good, // name too long
  };
  for (const std::string& bad : broken) {
    parse(HEAD + "SURVEY:\f" + good + good + bad);
    EXPECT_EQ(count, 2) << testing::PrintToString(bad);
    EXPECT_TRUE(all_zero(NetworkTable[2])) << testing::PrintToString(bad);
  }
  parse(HEAD + "SURVEY:\f" + good + "\v");
  EXPECT_EQ(count, 1) << "a lone vertical tab after an entry is no entry";
}

TEST_F(SurveyReport, MissingMarkersLeaveTheirFieldsEmpty) {
  parse("SSID:home with no next line\nSECMODE:");
  EXPECT_EQ(field_text(CurrentNetwork.ssid), "");
  EXPECT_EQ(field_text(CurrentNetwork.security), "");
  parse("SSID:7001 :16\n");
  EXPECT_EQ(field_text(CurrentNetwork.ssid), "") << "no separator before the next line";
  parse("no markers at all");
  EXPECT_EQ(field_text(CurrentNetwork.ssid), "");
  EXPECT_EQ(count, -7);
}

// Every prefix of a full report, and a report cut anywhere by a zero byte, parses within the
// copied text and leaves the table consistent.
TEST_F(SurveyReport, ReportCutAtAnyByteStaysConsistent) {
  std::vector<SurveyNetwork> networks;
  for (int i = 0; i < 6; ++i)
    networks.push_back({"net" + std::to_string(i), "00-11-22-33-44-55", "11", "BG",
                        std::to_string(i % 4), "7" + std::to_string(i)});
  networks[2].ssid.clear();
  const std::string report = build_survey_report("home", '0', networks);
  const Bytes payload(report.begin(), report.end());
  for (std::size_t cut = 0; cut <= payload.size(); ++cut) {
    count = -7;
    parse(report_frame(Bytes(payload.begin(), payload.begin() + static_cast<long>(cut))));
    ASSERT_LE(count, 6) << cut;
    for (int i = std::max(count, 0); i < NETWORK_TABLE_ENTRIES; ++i)
      ASSERT_TRUE(all_zero(NetworkTable[i])) << cut;
    for (int i = 0; i < count; ++i) {
      ASSERT_EQ(NetworkTable[i].signal_text[sizeof NetworkEntry::signal_text - 1], '\0');
      ASSERT_EQ(NetworkTable[i].security[sizeof NetworkEntry::security - 1], '\0');
    }
  }
  parse(report_frame(payload));
  EXPECT_EQ(count, 6);
  EXPECT_EQ(field_text(NetworkTable[2].ssid), "[HiddenSSID]");
  EXPECT_EQ(NetworkTable[5].signal, 75);
}

TEST_F(SurveyReport, LengthFieldNeverTakesTheCopyOutsideTheFrame) {
  Bytes frame = report_frame(HEAD + "SURVEY:\f" + entry("a", "m,1,G,3,9"));
  for (const int length : {-1, 0, 1, 2, 3, 0x7fff}) {
    frame[22] = static_cast<std::uint8_t>(length);
    frame[23] = static_cast<std::uint8_t>(length >> 8);
    count = -7;
    parse(frame);
    if (length <= 2)
      EXPECT_EQ(field_text(CurrentNetwork.ssid), "") << length;
    else if (length == 3)
      EXPECT_EQ(count, -7);
    else
      EXPECT_EQ(count, 1);
  }
  // A whole frame of text with no zero in it is cut at the frame's end.
  Bytes full(MAX_FRAME_SIZE, 'a');
  build_frame(full.data(), BRIDGE, OWN, RSP_EXECUTE_DATA, 0, MAX_FRAME_SIZE - LINK_HEADER_SIZE);
  char text[REPORT_TEXT_SIZE];
  EXPECT_EQ(copy_report_text(full.data(), text), MAX_FRAME_SIZE - LINK_HEADER_SIZE - 2);
}

TEST(ReportText, FindCharAndFindText) {
  EXPECT_EQ(find_char("", ','), -1);
  EXPECT_EQ(find_char("ab,c,", ','), 2);
  EXPECT_EQ(find_char("abc", '\0'), -1);
  EXPECT_EQ(find_char("a\xff", '\xff'), 1);
  EXPECT_EQ(find_text("xxSSID:", "SSID:"), 2);
  EXPECT_EQ(find_text("SSID", "SSID:"), -1);
  EXPECT_EQ(find_text("WPA2-PSK", "WPA-PSK"), -1);
}

TEST(ReportText, ParseLeadingIntReadsOnlyItsCharacters) {
  EXPECT_EQ(parse_leading_int("78", 2), 78);
  EXPECT_EQ(parse_leading_int("1234", 2), 12);
  EXPECT_EQ(parse_leading_int(" -12x", 5), -12);
  EXPECT_EQ(parse_leading_int("+7", 2), 7);
  EXPECT_EQ(parse_leading_int("x12", 3), 0);
  EXPECT_EQ(parse_leading_int("12", 0), 0);
  EXPECT_EQ(parse_leading_int("12", -3), 0);
  EXPECT_EQ(parse_leading_int("99999999999999999999", 20), 2147483647);
  EXPECT_EQ(parse_leading_int("-99999999999999999999", 21), -2147483647 - 1);
  const char unterminated[2] = {'4', '2'};
  EXPECT_EQ(parse_leading_int(unterminated, 2), 42);
}
