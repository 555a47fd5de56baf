// The site survey and the configuration write on real libpcap over veth against the bridge
// emulator (root): the requests on the wire, in order and byte for byte, the retries and
// give-ups, which reports are refused, and the settings text that reaches the bridge.
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "device/config_write.h"
#include "device/site_survey.h"
#include "device/wireless_records.h"
#include "link/adapter_selection.h"
#include "link/frame_exchange.h"
#include "link/link_frame.h"
#include "link/link_timing.h"
#include "link/mac_text.h"
#include "tests/netns/testnet.h"
#include "tests/support/network_entry_text.h"

namespace {

using Log = std::vector<FrameLogEntry>;
using Frame = std::vector<std::uint8_t>;

const char* const WIZARD_TEXT = "02-00-00-00-01-01";
const char* const BRIDGE_TEXT = "02-00-00-00-00-b1";
const std::uint8_t WIZARD[6] = {0x02, 0, 0, 0, 0x01, 0x01};
const std::uint8_t BRIDGE[6] = {0x02, 0, 0, 0, 0, 0xb1};
// A code that no procedure sends and the emulator leaves unanswered.
using netns::LOG_MARKER;

const char* const OFFICE = "mac = 02:00:00:00:00:b1\n"
                           "ssid = Office\n"
                           "secmode = 3\n"
                           "network = Home|00:11:22:33:44:55|6|BG|2|78\n"
                           "network = |00:11:22:33:44:66|11|G|3|40\n"
                           "network = Caf\xe9 \xe4\xb8\xad|00:11:22:33:44:77|1|N|1|5\n";

Frame request(RequestBuilder build) {
  Frame frame(MAX_FRAME_SIZE);
  frame.resize(static_cast<std::size_t>(build(frame.data(), WIZARD, BRIDGE)));
  return frame;
}

std::string requests(const Log& log) { return netns::request_summary(log); }

std::vector<const FrameLogEntry*> sent_by_bridge(const Log& log, std::uint32_t code) {
  std::vector<const FrameLogEntry*> sent;
  for (const FrameLogEntry& entry : log)
    if (entry.direction == "tx" && entry.code == code)
      sent.push_back(&entry);
  return sent;
}

std::string expected_settings(const std::string& ssid, char digit, const char* key_length,
                              const char* cipher, const std::string& passphrase) {
  return "7000 :" + ssid + "\n7001 :16\n7002 :0\n7003 :" + digit + "\n7004 :" + key_length +
         "\n7005 :0\n7006 :\n7007 :\n7008 :\n7009 :\n7012 :3\n7013 :0\n7018 :" + cipher +
         "\n7019 :" + passphrase + "\n7022 :0\n";
}

void choose(const std::string& ssid, const char* security, const char* passphrase = "") {
  std::memset(&WirelessSettings, 0, sizeof WirelessSettings);
  std::memset(&WirelessKeys, 0, sizeof WirelessKeys);
  store_ssid(WirelessSettings, ssid);
  store_text(WirelessSettings.security, security);
  store_text(WirelessKeys.passphrase, passphrase);
}

class DeviceOverVeth : public netns::NetnsTest {
protected:
  void SetUp() override {
    netns::NetnsTest::SetUp();
    std::memset(NetworkTable, 0, sizeof NetworkTable);
    std::memset(&CurrentNetwork, 0, sizeof CurrentNetwork);
    std::memset(&WirelessSettings, 0, sizeof WirelessSettings);
    std::memset(&WirelessKeys, 0, sizeof WirelessKeys);
  }

  netns::Emulator& start(const std::string& scenario, const std::vector<std::string>& faults = {}) {
    const auto wizard = net->add_namespace("wiz");
    const auto bridge = net->add_namespace("br");
    net->add_veth(wizard, "eth0", "02:00:00:00:01:01", bridge, "br0", "-");
    emu_ = &net->start_emulator(bridge, "br0", scenario, faults);
    net->enter(wizard);
    EXPECT_EQ(reopen_adapter(WIZARD_TEXT), 0);
    return *emu_;
  }
  int survey() { return run_site_survey(buffer, buffer, WIZARD_TEXT, BRIDGE_TEXT, &count); }
  int write() { return write_configuration(buffer, buffer, WIZARD_TEXT, BRIDGE_TEXT); }

  Log settled_log() { return emu_->settled_log(WIZARD, BRIDGE); }

  netns::QuickLinkTiming timing;
  std::uint8_t buffer[MAX_FRAME_SIZE] = {};
  int count = -1;

private:
  netns::Emulator* emu_ = nullptr;
};

struct GiveUp {
  const char* procedure; // "survey" or "write"
  const char* fault;
  const char* wire; // every request the bridge sees, as requests() names them
};

struct ReportCase {
  const char* name;
  const char* scenario;
  const char* fault;
  int result;
  const char* wire;
  int report_size; // of each report the bridge sent; 0: not checked
};

// Shown instead of the parameters' bytes in test listings.
void PrintTo(const GiveUp& c, std::ostream* out) { *out << c.procedure << " with " << c.fault; }
void PrintTo(const ReportCase& c, std::ostream* out) { *out << c.name; }

} // namespace

TEST_F(DeviceOverVeth, SurveySendsItsSevenRequestsAndFillsTheTableAndCurrentNetwork) {
  start(OFFICE);
  link_timing().survey_scan_pause = std::chrono::milliseconds{300};

  ASSERT_EQ(survey(), 0);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(field_text(CurrentNetwork.ssid), "Office");
  EXPECT_EQ(field_text(CurrentNetwork.security), "WPA2-PSK");
  EXPECT_EQ(network_entry_text(NetworkTable[0]), "78|Home|00:11:22:33:44:55|6|11Mbps|WPA-PSK|78%");
  EXPECT_EQ(field_text(NetworkTable[1].ssid), "[HiddenSSID]");
  EXPECT_EQ(field_text(NetworkTable[1].speed), "54Mbps");
  EXPECT_EQ(field_text(NetworkTable[2].ssid), "Caf\xe9 \xe4\xb8\xad");
  EXPECT_EQ(field_text(NetworkTable[2].speed), "");
  EXPECT_EQ(field_text(NetworkTable[2].security), "WEP");
  EXPECT_EQ(NetworkTable[3].signal_text[0], '\0');

  const Log log = settled_log();
  const std::vector<Frame> expected = {
      request(build_begin_request), request(build_9107_request), request(build_execute_request),
      request(build_begin_request), request(build_9100_request), request(build_execute_request),
      request(build_done_request)};
  std::vector<Frame> seen;
  double scan_from = -1;
  double scan_to = -1;
  for (const FrameLogEntry& entry : log) {
    if (entry.direction != "rx" || entry.code == LOG_MARKER)
      continue;
    if (seen.size() == 2)
      scan_from = entry.time;
    if (seen.size() == 3)
      scan_to = entry.time;
    seen.push_back(entry.frame());
  }
  EXPECT_EQ(seen, expected) << requests(log);
  EXPECT_GE(scan_to - scan_from, 0.29) << "the bridge is left alone while it scans";
  ASSERT_EQ(sent_by_bridge(log, RSP_EXECUTE_DATA).size(), 1u);
  EXPECT_EQ(sent_by_bridge(log, RSP_EXECUTE_DATA)[0]->payload_text().substr(2, 12),
            "SSID:Office\n");
}

TEST_F(DeviceOverVeth, OneLostReplyPerStepIsMadeUpByTheSecondSend) {
  start(OFFICE, {"lossy any 2"});

  ASSERT_EQ(survey(), 0);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(field_text(CurrentNetwork.ssid), "Office");
  EXPECT_EQ(requests(settled_log()), "B B 9107 9107 X X B B 9100 9100 X X D");

  choose("Home", "WPA-PSK", "sesame-open-42");
  ASSERT_EQ(write(), 0);
  EXPECT_EQ(requests(settled_log()), "B B 9107 9107 X X B B 9100 9100 X X D "
                                     "B B S S X X B B 9002 9002 X X");
}

class DeviceGivesUpOverVeth : public DeviceOverVeth,
                              public ::testing::WithParamInterface<GiveUp> {};

TEST_P(DeviceGivesUpOverVeth, TwoLostRepliesInARowEndTheProcedureAtThatStep) {
  const GiveUp& c = GetParam();
  start(OFFICE, {c.fault});
  NetworkTable[0].signal = 7;
  store_ssid(CurrentNetwork, "before");
  count = 12;
  choose("Home", "Disable");

  EXPECT_EQ(std::string(c.procedure) == "survey" ? survey() : write(), -1);
  EXPECT_EQ(requests(settled_log()), c.wire) << "no later request and no CMD_DONE";
  EXPECT_EQ(NetworkTable[0].signal, 7) << "the records keep what they held";
  EXPECT_EQ(field_text(CurrentNetwork.ssid), "before");
  EXPECT_EQ(count, 12);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, DeviceGivesUpOverVeth,
    ::testing::Values(GiveUp{"survey", "drop begin 2", "B B"},
                      GiveUp{"survey", "drop write-9107 2", "B 9107 9107"},
                      GiveUp{"survey", "drop ack 2", "B 9107 X X"},
                      GiveUp{"survey", "drop write-9100 2", "B 9107 X B 9100 9100"},
                      GiveUp{"survey", "drop report 2", "B 9107 X B 9100 X X"},
                      GiveUp{"write", "drop begin 2", "B B"},
                      GiveUp{"write", "drop write-settings 2", "B S S"},
                      GiveUp{"write", "drop ack 2", "B S X X"},
                      GiveUp{"write", "drop write-9002 2", "B S X B 9002 9002"}),
    [](const ::testing::TestParamInfo<GiveUp>& param) {
      std::string name = std::string(param.param.procedure) + "_" + param.param.fault;
      for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
          c = '_';
      return name;
    });

class SurveyReportOverVeth : public DeviceOverVeth,
                             public ::testing::WithParamInterface<ReportCase> {};

TEST_P(SurveyReportOverVeth, OnlyAReportLongerThanARequestWithAnAgreeingLengthIsTaken) {
  const ReportCase& c = GetParam();
  start(c.scenario, c.fault[0] ? std::vector<std::string>{c.fault} : std::vector<std::string>{});
  store_ssid(CurrentNetwork, "before");

  EXPECT_EQ(survey(), c.result);
  const Log log = settled_log();
  EXPECT_EQ(requests(log), c.wire);
  EXPECT_EQ(field_text(CurrentNetwork.ssid), c.result == 0 ? "Abcdef" : "before");
  if (c.report_size > 0) {
    for (const FrameLogEntry* report : sent_by_bridge(log, RSP_EXECUTE_DATA)) {
      EXPECT_EQ(report->size, c.report_size) << "the scenario gives a report of that size";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Reports, SurveyReportOverVeth,
    ::testing::Values(
        // Payload: two bytes, "SSID:", five bytes, "\n7001 :16\nSECMODE:0\nSURVEY:\f": 40.
        ReportCase{"Exactly64Bytes", "ssid = Abcde\n", "", -1, "B 9107 X B 9100 X X", 64},
        ReportCase{"Of65Bytes", "ssid = Abcdef\n", "", 0, "B 9107 X B 9100 X D", 65},
        ReportCase{"DisagreeingLengthTwice", "ssid = Abcdef\n", "bad-length report 2", -1,
                   "B 9107 X B 9100 X X", 0},
        ReportCase{"DisagreeingLengthOnce", "ssid = Abcdef\n", "bad-length report 1", 0,
                   "B 9107 X B 9100 X X D", 0}),
    [](const ::testing::TestParamInfo<ReportCase>& param) { return param.param.name; });

TEST_F(DeviceOverVeth, WriteSendsItsSixRequestsAndTheBridgeReportsTheNewSettingAfter9002) {
  auto& emu = start(OFFICE);
  choose("Home", "WPA-PSK", "sesame-open-42");
  const std::string text = expected_settings("Home", '2', "32", "0", "sesame-open-42");

  ASSERT_EQ(write(), 0);
  EXPECT_EQ(emu.settings(), text) << "stored byte for byte";
  Frame settings(LINK_HEADER_SIZE + text.size());
  build_frame(settings.data(), WIZARD, BRIDGE, CMD_WRITE, 0,
              static_cast<std::uint16_t>(text.size()));
  std::memcpy(settings.data() + LINK_HEADER_SIZE, text.data(), text.size());
  const std::vector<Frame> expected = {
      request(build_begin_request),   settings,
      request(build_execute_request), request(build_begin_request),
      request(build_9002_request),    request(build_execute_request)};
  std::vector<Frame> seen;
  const Log log = settled_log();
  for (const FrameLogEntry& entry : log)
    if (entry.direction == "rx" && entry.code != LOG_MARKER)
      seen.push_back(entry.frame());
  EXPECT_EQ(seen, expected) << requests(log);

  ASSERT_EQ(survey(), 0);
  EXPECT_EQ(field_text(CurrentNetwork.ssid), "Home");
  EXPECT_EQ(field_text(CurrentNetwork.security), "WPA-PSK");
}

TEST_F(DeviceOverVeth, SsidBytesTravelUnchangedFromTheReportIntoTheSettingsAndBack) {
  const std::string latin = "Caf\xe9 \x80\xff\xa0!";
  std::string wide; // 50 bytes, the longest name a survey entry may carry
  for (int i = 0; i < 25; ++i)
    wide += "\xc3\xa9";
  auto& emu = start("mac = 02:00:00:00:00:b1\nssid = Office\nsecmode = 3\n"
                    "network = " +
                    latin + "|00:11:22:33:44:55|6|G|0|60\n" + "network = " + wide +
                    "|00:11:22:33:44:66|11|G|1|40\n");

  ASSERT_EQ(survey(), 0);
  ASSERT_EQ(count, 2);
  const std::string heard[] = {std::string(field_text(NetworkTable[0].ssid)),
                               std::string(field_text(NetworkTable[1].ssid))};
  EXPECT_EQ(heard[0], latin);
  EXPECT_EQ(heard[1], wide);
  for (const std::string& ssid : heard) {
    SCOPED_TRACE(ssid);
    choose(ssid, "Disable");
    ASSERT_EQ(write(), 0);
    EXPECT_EQ(emu.settings(), expected_settings(ssid, '0', "0", "1", ""));
    ASSERT_EQ(survey(), 0);
    EXPECT_EQ(field_text(CurrentNetwork.ssid), ssid) << "the bridge reports what it was sent";
    EXPECT_EQ(field_text(CurrentNetwork.security), "Disable");
  }
}
