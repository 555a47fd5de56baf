#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "device/config_write.h"
#include "device/site_survey.h"
#include "device/wireless_records.h"
#include "link/frame_exchange.h"
#include "tests/support/fake_bridge.h"

namespace {

const std::uint8_t OWN[6] = {0x02, 0, 0, 0, 0, 0x01};
const std::uint8_t BRIDGE[6] = {0x02, 0, 0, 0, 0, 0xb1};
const char OWN_TEXT[] = "02-00-00-00-00-01";
const char BRIDGE_TEXT[] = "02-00-00-00-00-b1";

void clear_settings() {
  std::memset(&WirelessSettings, 0, sizeof WirelessSettings);
  std::memset(&WirelessKeys, 0, sizeof WirelessKeys);
}

void choose(const std::string& ssid, const char* security) {
  clear_settings();
  store_ssid(WirelessSettings, ssid);
  store_text(WirelessSettings.security, security);
}

std::string settings_text(const std::string& ssid, const std::string& mode,
                          const std::string& key_length, const std::string& key_index,
                          const std::string& key1, const std::string& cipher,
                          const std::string& passphrase) {
  return "7000 :" + ssid + "\n7001 :16\n7002 :0\n7003 :" + mode + "\n7004 :" + key_length +
         "\n7005 :" + key_index + "\n7006 :" + key1 + "\n7007 :\n7008 :\n7009 :\n7012 :3\n" +
         "7013 :0\n7018 :" + cipher + "\n7019 :" + passphrase + "\n7022 :0\n";
}

// Builds the settings request into a buffer of stale bytes and returns its text; checks the
// header and that the rest of the 1500 bytes is zero.
std::string built_text() {
  std::vector<std::uint8_t> frame(MAX_FRAME_SIZE, 0xaa);
  const int length = build_settings_text(frame.data(), OWN, BRIDGE);
  const int text_length = length - LINK_HEADER_SIZE;
  EXPECT_EQ(frame_code(frame.data()), CMD_WRITE);
  EXPECT_EQ(frame_param(frame.data()), 0u);
  EXPECT_EQ(frame_length_field(frame.data()), text_length) << "counts the final line feed";
  EXPECT_EQ(0, std::memcmp(frame.data(), BRIDGE, 6));
  EXPECT_EQ(0, std::memcmp(frame.data() + 6, OWN, 6));
  for (int i = length; i < SETTINGS_FRAME_ROOM; ++i)
    if (frame[static_cast<std::size_t>(i)] != 0) {
      ADD_FAILURE() << "byte " << i << " after the text is not zero";
      break;
    }
  EXPECT_EQ(frame[SETTINGS_FRAME_ROOM], 0xaa) << "nothing past the settings room is touched";
  return {frame.begin() + LINK_HEADER_SIZE, frame.begin() + length};
}

struct WriteRig : BridgeRig {
  WriteRig() : BridgeRig(BRIDGE) {}
  int run() { return write_configuration(send.data(), receive.data(), OWN_TEXT, BRIDGE_TEXT); }
  // Code and, for writes, the first five text bytes of every frame sent.
  std::vector<std::string> sent() const {
    std::vector<std::string> names;
    for (const Bytes& frame : capture.sent()) {
      std::string name = std::to_string(frame_code(frame.data()));
      if (frame_code(frame.data()) == CMD_WRITE)
        name = std::string(frame.begin() + LINK_HEADER_SIZE, frame.begin() + LINK_HEADER_SIZE + 5);
      names.push_back(name);
    }
    return names;
  }
};

const std::string BEGIN = std::to_string(CMD_BEGIN);
const std::string EXECUTE = std::to_string(CMD_EXECUTE);
const std::vector<std::string> SIX_STEPS = {BEGIN, "7000 ", EXECUTE, BEGIN, "9002:", EXECUTE};

} // namespace

TEST(SettingsText, TheWepExampleLineByLine) {
  choose("home", "WEP(64bit)");
  store_text(WirelessKeys.key_index, "0");
  store_text(WirelessKeys.wep_key1, "0123456789");
  EXPECT_EQ(built_text(), settings_text("home", "1", "5", "0", "0123456789", "1", ""));
}

TEST(SettingsText, EachSecurityTextGivesItsModeKeyLengthAndCipher) {
  const struct {
    const char* security;
    const char* mode;
    const char* key_length;
    const char* cipher;
  } cases[] = {
      {"Disable", "0", "0", "1"},  {"WEP(64bit)", "1", "5", "1"}, {"WEP(128bits)", "1", "13", "1"},
      {"WPA-PSK", "2", "32", "0"}, {"WPA2-PSK", "3", "32", "1"},  {"", "3", "32", "1"},
      {"wpa-psk", "3", "32", "1"},
  };
  for (const auto& c : cases) {
    choose("n", c.security);
    EXPECT_EQ(built_text(), settings_text("n", c.mode, c.key_length, "0", "", c.cipher, ""))
        << '"' << c.security << '"';
  }
}

TEST(SettingsText, EveryKeyLineIsSentWhateverTheMode) {
  choose("", "Disable");
  store_text(WirelessKeys.key_index, "2");
  store_text(WirelessKeys.wep_key1, "AA");
  store_text(WirelessKeys.wep_key2, "BB");
  store_text(WirelessKeys.wep_key3, "CC");
  store_text(WirelessKeys.wep_key4, "DD");
  store_text(WirelessKeys.passphrase, "left from the WPA page");
  EXPECT_EQ(built_text(), "7000 :\n7001 :16\n7002 :0\n7003 :0\n7004 :0\n7005 :2\n7006 :AA\n"
                          "7007 :BB\n7008 :CC\n7009 :DD\n7012 :3\n7013 :0\n7018 :1\n"
                          "7019 :left from the WPA page\n7022 :0\n");
}

TEST(SettingsText, FullFieldsAndNonAsciiBytesTravelUnchanged) {
  const std::string fifty = "\xe4\xb8\xad" + std::string(46, 's') + "\xff";
  ASSERT_EQ(fifty.size(), 50u);
  choose(fifty, "WPA2-PSK");
  const std::string longest(99, 'p');
  store_text(WirelessKeys.passphrase, longest + "cut");
  EXPECT_EQ(built_text(), settings_text(fifty, "3", "32", "0", "", "1", longest));

  // A key field filled to its last byte (a page that forgot the zero) is read to its end only.
  choose("n", "WEP(128bits)");
  std::memset(WirelessKeys.wep_key1, 'F', sizeof WirelessKeys.wep_key1);
  EXPECT_EQ(built_text(), settings_text("n", "1", "13", "0", std::string(100, 'F'), "1", ""));
}

TEST(ConfigWrite, SendsSixStepsAndTheBridgeStoresTheExactText) {
  WriteRig rig;
  choose("home", "WPA-PSK");
  store_text(WirelessKeys.passphrase, "correct horse");
  // One buffer for sending and receiving, as the summary page passes it.
  ASSERT_EQ(write_configuration(rig.send.data(), rig.send.data(), OWN_TEXT, BRIDGE_TEXT), 0);
  EXPECT_EQ(rig.sent(), SIX_STEPS);
  const std::string expected = settings_text("home", "2", "32", "0", "", "0", "correct horse");
  EXPECT_EQ(rig.bridge.stored_settings(), expected);
  EXPECT_EQ(rig.bridge.present_ssid(), "home") << "applied by \"9002:\"";
  EXPECT_EQ(rig.bridge.done_count(), 0) << "the write sends no done";

  const auto frames = rig.capture.sent();
  EXPECT_EQ(frames[1].size(), LINK_HEADER_SIZE + expected.size());
  EXPECT_EQ(std::string(frames[4].begin() + 24, frames[4].begin() + 32),
            std::string("9002:\r\n\0", 8));
  for (const std::size_t i : {0u, 2u, 3u, 4u, 5u})
    EXPECT_EQ(frames[i].size(), static_cast<std::size_t>(REQUEST_FRAME_SIZE)) << i;
}

TEST(ConfigWrite, TheFirstExecuteWaitsOneTickLonger) {
  choose("home", "Disable");
  {
    WriteRig rig;
    rig.bridge.inject(REPLY_ACK, BridgeFault::Late);
    ASSERT_EQ(rig.run(), 0);
    EXPECT_EQ(rig.sent(), SIX_STEPS) << "three ticks are within the first execute's limit";
  }
  {
    WriteRig rig;
    rig.bridge.inject(REPLY_ACK, BridgeFault::Pass);
    rig.bridge.inject(REPLY_ACK, BridgeFault::Late);
    ASSERT_EQ(rig.run(), 0);
    std::vector<std::string> expected = SIX_STEPS;
    expected.push_back(EXECUTE);
    EXPECT_EQ(rig.sent(), expected) << "the second execute gives up after two ticks";
  }
  for (const ReplyKind reply : {REPLY_BEGIN, REPLY_WRITE}) {
    WriteRig rig;
    rig.bridge.inject(reply, BridgeFault::Late);
    ASSERT_EQ(rig.run(), 0);
    EXPECT_EQ(rig.sent().size(), 7u) << "late for limit 2";
  }
}

TEST(ConfigWrite, AStepThatFailsTwiceEndsTheWrite) {
  choose("home", "Disable");
  const struct {
    ReplyKind reply;
    int earlier;
    std::size_t position;
  } steps[] = {{REPLY_BEGIN, 0, 0}, {REPLY_WRITE, 0, 1}, {REPLY_ACK, 0, 2},
               {REPLY_BEGIN, 1, 3}, {REPLY_WRITE, 1, 4}, {REPLY_ACK, 1, 5}};
  for (const auto& step : steps) {
    for (const BridgeFault fault : {BridgeFault::Drop, BridgeFault::BadLength}) {
      WriteRig rig;
      rig.bridge.inject(step.reply, BridgeFault::Pass, step.earlier);
      rig.bridge.inject(step.reply, fault, 2);
      EXPECT_EQ(rig.run(), -1) << step.position;
      std::vector<std::string> expected(SIX_STEPS.begin(),
                                        SIX_STEPS.begin() + static_cast<long>(step.position) + 1);
      expected.push_back(expected.back());
      EXPECT_EQ(rig.sent(), expected) << step.position;
    }
    WriteRig rig;
    rig.bridge.inject(step.reply, BridgeFault::Pass, step.earlier);
    rig.bridge.inject(step.reply, BridgeFault::WrongCode);
    EXPECT_EQ(rig.run(), 0) << "one failure is mended at step " << step.position;
    EXPECT_EQ(rig.sent().size(), 7u);
  }
}

TEST(ConfigWrite, ControlBytesInAnyValueAreRefusedBeforeAnythingIsSent) {
  struct Field {
    char* at;
    const char* name;
  };
  const Field fields[] = {
      {WirelessSettings.ssid, "The SSID"},         {WirelessKeys.key_index, "The WEP key index"},
      {WirelessKeys.wep_key1, "WEP key 1"},        {WirelessKeys.wep_key2, "WEP key 2"},
      {WirelessKeys.wep_key3, "WEP key 3"},        {WirelessKeys.wep_key4, "WEP key 4"},
      {WirelessKeys.passphrase, "The passphrase"},
  };
  for (const Field& field : fields) {
    for (const std::string& bad :
         {std::string("x\n7003 :0"), std::string("a\rb"), std::string("\t"), std::string("del\x7f"),
          std::string("\x1b[0m")}) {
      choose("home", "WPA2-PSK");
      std::memcpy(field.at, bad.data(), bad.size());
      const auto before_settings = WirelessSettings;
      const auto before_keys = WirelessKeys;

      const auto message = unsafe_setting_message();
      ASSERT_TRUE(message.has_value()) << field.name;
      EXPECT_EQ(message->rfind(field.name, 0), 0u) << *message;
      EXPECT_NE(message->find("control character"), std::string::npos) << *message;

      WriteRig rig;
      EXPECT_EQ(rig.run(), -1) << field.name;
      EXPECT_TRUE(rig.capture.sent().empty()) << field.name;
      EXPECT_EQ(0, std::memcmp(&before_settings, &WirelessSettings, sizeof WirelessSettings));
      EXPECT_EQ(0, std::memcmp(&before_keys, &WirelessKeys, sizeof WirelessKeys));
    }
  }
}

TEST(ConfigWrite, PrintableAndNonAsciiValuesPassTheCheck) {
  choose("caf\xc3\xa9 ~!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}\x80\xff", "WPA2-PSK");
  store_text(WirelessKeys.passphrase, "pass phrase with blanks ~");
  EXPECT_FALSE(unsafe_setting_message().has_value());
  // A field's zero and the zeros after it are not control bytes of the value.
  std::memset(&WirelessKeys, 0, sizeof WirelessKeys);
  EXPECT_FALSE(unsafe_setting_message().has_value());
}

TEST(ConfigWrite, ANewSurveyReportsTheWrittenSetting) {
  WriteRig rig;
  Scenario before;
  before.ssid = "before";
  rig.bridge.set_scenario(before);
  const std::string ssid = "new \xe6\x97\xa5 net";
  choose(ssid, "WEP(128bits)");
  store_text(WirelessKeys.key_index, "1");
  store_text(WirelessKeys.wep_key2, "00112233445566778899aabbcc");
  ASSERT_EQ(rig.run(), 0);

  int count = 0;
  ASSERT_EQ(run_site_survey(rig.send.data(), rig.receive.data(), OWN_TEXT, BRIDGE_TEXT, &count), 0);
  EXPECT_EQ(field_text(CurrentNetwork.ssid), ssid);
  EXPECT_EQ(field_text(CurrentNetwork.security), "WEP");
}

TEST(ConfigWrite, UnreadableMacTextSendsNothing) {
  WriteRig rig;
  choose("home", "Disable");
  EXPECT_EQ(write_configuration(rig.send.data(), rig.receive.data(), OWN_TEXT, "bridge"), -1);
  EXPECT_TRUE(rig.capture.sent().empty());
}
