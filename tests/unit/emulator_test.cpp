#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "link/link_frame.h"
#include "tests/support/scripted_capture.h"
#include "tools/emu/emulated_bridge.h"
#include "tools/emu/escaped_text.h"
#include "tools/emu/frame_log.h"
#include "tools/emu/scenario.h"
#include "tools/emu/survey_report.h"

namespace {

const std::uint8_t WIZARD[6] = {0x02, 0, 0, 0, 0, 0x01};
const std::uint8_t BRIDGE[6] = {0x02, 0, 0, 0, 0, 0xb1};
const std::uint8_t OTHER_BRIDGE[6] = {0x02, 0, 0, 0, 0, 0xb2};

Scenario scenario_from(const std::string& text) {
  Scenario scenario;
  std::string error;
  EXPECT_EQ(parse_scenario(text, &scenario, &error), 0) << error;
  return scenario;
}

std::string scenario_error(const std::string& text) {
  Scenario scenario;
  std::string error;
  EXPECT_EQ(parse_scenario(text, &scenario, &error), -1) << text;
  return error;
}

Bytes request(int (*build)(std::uint8_t*, const std::uint8_t*, const std::uint8_t*),
              const std::uint8_t* to = BRIDGE) {
  Bytes frame(MAX_FRAME_SIZE);
  frame.resize(static_cast<std::size_t>(build(frame.data(), WIZARD, to)));
  return frame;
}

Bytes settings_request(const std::string& text) {
  Bytes frame(LINK_HEADER_SIZE + text.size());
  build_frame(frame.data(), WIZARD, BRIDGE, CMD_WRITE, 0, static_cast<std::uint16_t>(text.size()));
  std::memcpy(frame.data() + LINK_HEADER_SIZE, text.data(), text.size());
  return frame;
}

std::vector<OutgoingFrame> send(EmulatedBridge& bridge, const Bytes& frame) {
  return bridge.handle(frame.data(), static_cast<int>(frame.size()));
}

// The single reply to `frame`; fails the test when there is not exactly one.
Bytes only_reply(EmulatedBridge& bridge, const Bytes& frame) {
  auto replies = send(bridge, frame);
  EXPECT_EQ(replies.size(), 1u);
  return replies.empty() ? Bytes{} : replies[0].bytes;
}

std::string report_of(EmulatedBridge& bridge) {
  send(bridge, request(build_begin_request));
  send(bridge, request(build_9100_request));
  const Bytes report = only_reply(bridge, request(build_execute_request));
  EXPECT_EQ(frame_code(report.data()), RSP_EXECUTE_DATA);
  return {report.begin() + LINK_HEADER_SIZE,
          report.begin() + LINK_HEADER_SIZE + frame_length_field(report.data())};
}

} // namespace

TEST(EmulatorScenario, ReadsEveryKeyWithCommentsAndRawBytes) {
  const Scenario scenario = scenario_from("# a bridge\n"
                                          "mac = 02:00:00:00:00:B7   # upper case is fine\n"
                                          "ssid = Caf\xc3\xa9#1 # a comment\n"
                                          "secmode = 2\n"
                                          "network = Home|Net|00:11:22:33:44:55|6|BG|2|78\n"
                                          "network = |00:11:22:33:44:66|11|G|3|40\n"
                                          "network = \"  spaced \\x01 |m|1|B|0|5\"\n"
                                          "fault = drop begin 2\n");
  const std::uint8_t mac[6] = {0x02, 0, 0, 0, 0, 0xb7};
  EXPECT_EQ(0, std::memcmp(scenario.mac, mac, 6));
  EXPECT_EQ(scenario.ssid, "Caf\xc3\xa9#1") << "'#' inside a word is data";
  EXPECT_EQ(scenario.secmode, '2');
  ASSERT_EQ(scenario.networks.size(), 3u);
  EXPECT_EQ(scenario.networks[0].ssid, "Home|Net") << "fields are split from the right";
  EXPECT_EQ(scenario.networks[0].mac, "00:11:22:33:44:55");
  EXPECT_EQ(scenario.networks[0].signal, "78");
  EXPECT_EQ(scenario.networks[1].ssid, "");
  EXPECT_EQ(scenario.networks[2].ssid, "  spaced \x01 ");
  ASSERT_EQ(scenario.faults.size(), 1u);
  EXPECT_EQ(scenario.faults[0].type, Fault::Drop);
  EXPECT_EQ(scenario.faults[0].kinds, unsigned{REPLY_BEGIN});
  EXPECT_EQ(scenario.faults[0].amount, 2);
}

TEST(EmulatorScenario, BadLinesAreRefusedWithTheirLineNumber) {
  EXPECT_EQ(scenario_error("ssid = a\nmac = 02:00:00:00:00\n").rfind("line 2:", 0), 0u);
  EXPECT_NE(scenario_error("colour = blue\n").find("unknown key 'colour'"), std::string::npos);
  EXPECT_NE(scenario_error("just words\n").find("key = value"), std::string::npos);
  EXPECT_NE(scenario_error("secmode = 12\n").find("secmode"), std::string::npos);
  EXPECT_NE(scenario_error("network = a|b|c\n").find("ssid|mac"), std::string::npos);
  EXPECT_NE(scenario_error("ssid = \"bad \\q\"\n").find("escape"), std::string::npos);
  EXPECT_NE(scenario_error("ssid = \"cut \\x4\"\n").find("two hex digits"), std::string::npos);
  EXPECT_NE(scenario_error("fault = drop sideways 1\n").find("unknown reply kind"),
            std::string::npos);
  EXPECT_NE(scenario_error("fault = drop begin -1\n").find("whole number"), std::string::npos);
  EXPECT_NE(scenario_error("fault = lossy any 0\n").find("at least 1"), std::string::npos);
  EXPECT_NE(scenario_error("fault = melt any 1\n").find("unknown fault"), std::string::npos);
  EXPECT_NE(scenario_error("fault = chatter zz:00:00:00:00:00 5\n").find("not a MAC"),
            std::string::npos);
  EXPECT_NE(scenario_error("fault = silent now\n").find("no arguments"), std::string::npos);
}

TEST(EmulatorReport, HoldsPresentSettingAndNetworksInTheBridgeFormat) {
  const std::string report =
      build_survey_report("Office", '3',
                          {{"Home", "00:11:22:33:44:55", "6", "BG", "2", "78"},
                           {"", "00:11:22:33:44:66", "11", "G", "3", "40"}});
  EXPECT_EQ(report, std::string("\0\0SSID:Office\n7001 :16\nSECMODE:3\nSURVEY:\f", 41) +
                        "Home\f00:11:22:33:44:55,6,BG,2,78\v"
                        "\f00:11:22:33:44:66,11,G,3,40\v");
}

TEST(EmulatorReport, KeepsToOneFrame) {
  std::vector<SurveyNetwork> many(
      80, {"Network-name-of-20ch", "00:11:22:33:44:55", "6", "BG", "2", "78"});
  const std::string report = build_survey_report("Office", '3', many);
  EXPECT_LE(report.size(), std::size_t{MAX_FRAME_SIZE - LINK_HEADER_SIZE});
  EXPECT_GT(report.size() + 48, std::size_t{MAX_FRAME_SIZE - LINK_HEADER_SIZE})
      << "as many entries as fit";
  EXPECT_EQ(report.back(), '\v');
}

TEST(EmulatorBridge, AnswersEachStepWithItsCodeAndLengthTwo) {
  EmulatedBridge bridge(scenario_from("mac = 02:00:00:00:00:b1\nssid = Office\nsecmode = 3\n"));
  const Bytes probe_reply = only_reply(bridge, request(build_probe_request, BROADCAST_MAC));
  EXPECT_EQ(frame_code(probe_reply.data()), CMD_PROBE);
  EXPECT_EQ(0, std::memcmp(probe_reply.data(), WIZARD, 6)) << "sent back to the prober";
  EXPECT_EQ(0, std::memcmp(probe_reply.data() + 6, BRIDGE, 6));

  const struct {
    int (*build)(std::uint8_t*, const std::uint8_t*, const std::uint8_t*);
    std::uint32_t code;
  } steps[] = {{build_begin_request, RSP_BEGIN},         {build_9107_request, RSP_WRITE},
               {build_execute_request, RSP_EXECUTE_ACK}, {build_begin_request, RSP_BEGIN},
               {build_9002_request, RSP_WRITE},          {build_execute_request, RSP_EXECUTE_ACK}};
  for (const auto& step : steps) {
    const Bytes reply = only_reply(bridge, request(step.build));
    EXPECT_EQ(reply.size(), 60u);
    EXPECT_EQ(frame_code(reply.data()), step.code);
    EXPECT_EQ(frame_length_field(reply.data()), 2);
  }
  EXPECT_TRUE(send(bridge, request(build_done_request)).empty());
}

TEST(EmulatorBridge, ReportLengthMatchesItsSizeAndRepeatsOnASecondPoll) {
  EmulatedBridge bridge(scenario_from("ssid = Office\nsecmode = 3\n"
                                      "network = Home|00:11:22:33:44:55|6|BG|2|78\n"));
  send(bridge, request(build_begin_request));
  send(bridge, request(build_9100_request));
  for (int poll = 0; poll < 2; ++poll) {
    const Bytes report = only_reply(bridge, request(build_execute_request));
    EXPECT_EQ(frame_code(report.data()), RSP_EXECUTE_DATA);
    EXPECT_EQ(static_cast<std::size_t>(frame_length_field(report.data()) + LINK_HEADER_SIZE),
              report.size());
  }
}

TEST(EmulatorBridge, StoresTheSettingsTextAndAppliesItOn9002) {
  EmulatedBridge bridge(scenario_from("ssid = Office\nsecmode = 3\n"));
  const std::string text = "7000 :Caf\xc3\xa9\n7001 :16\n7002 :0\n7003 :1\n7004 :5\n";
  send(bridge, request(build_begin_request));
  EXPECT_EQ(frame_code(only_reply(bridge, settings_request(text)).data()), RSP_WRITE);
  EXPECT_TRUE(bridge.take_settings_changed());
  EXPECT_FALSE(bridge.take_settings_changed());
  EXPECT_EQ(bridge.settings_text(), text);
  send(bridge, request(build_execute_request));
  EXPECT_EQ(bridge.present_ssid(), "Office") << "not applied before 9002";

  send(bridge, request(build_begin_request));
  send(bridge, request(build_9002_request));
  send(bridge, request(build_execute_request));
  EXPECT_EQ(bridge.present_ssid(), "Caf\xc3\xa9");
  EXPECT_EQ(bridge.present_secmode(), '1');
  EXPECT_EQ(report_of(bridge).substr(2, 22), "SSID:Caf\xc3\xa9\n7001 :16\nSE");
}

TEST(EmulatorBridge, IgnoresFramesForOtherStationsAndItsOwn) {
  EmulatedBridge bridge(scenario_from(""));
  EXPECT_TRUE(send(bridge, request(build_begin_request, OTHER_BRIDGE)).empty());
  Bytes own = request(build_begin_request);
  std::memcpy(own.data() + 6, BRIDGE, 6);
  EXPECT_TRUE(send(bridge, own).empty());
  Bytes ip = request(build_begin_request);
  ip[12] = 0x08;
  ip[13] = 0x00;
  EXPECT_TRUE(send(bridge, ip).empty());
  EXPECT_TRUE(send(bridge, Bytes(20, 0xff)).empty()) << "too short for a header";
}

TEST(EmulatorFaults, DropWrongCodeBadLengthDelayAndSilence) {
  EmulatedBridge bridge(scenario_from("fault = drop begin 2\n"
                                      "fault = wrong-code write-9107 3\n"
                                      "fault = bad-length ack 1\n"
                                      "fault = delay report 250\n"
                                      "network = a|b|1|G|0|9\n"));
  EXPECT_TRUE(send(bridge, request(build_begin_request)).empty());
  EXPECT_TRUE(send(bridge, request(build_begin_request)).empty());
  EXPECT_EQ(send(bridge, request(build_begin_request)).size(), 1u) << "the third is answered";

  const auto write_replies = send(bridge, request(build_9107_request));
  ASSERT_EQ(write_replies.size(), 4u);
  for (int i = 0; i < 3; ++i)
    EXPECT_NE(frame_code(write_replies[static_cast<std::size_t>(i)].bytes.data()), RSP_WRITE);
  EXPECT_EQ(frame_code(write_replies[3].bytes.data()), RSP_WRITE);
  EXPECT_EQ(send(bridge, request(build_9100_request)).size(), 1u) << "only write-9107 is hit";

  send(bridge, request(build_9107_request));
  const Bytes bad = only_reply(bridge, request(build_execute_request));
  EXPECT_NE(frame_length_field(bad.data()), 2);
  EXPECT_NE(static_cast<std::size_t>(frame_length_field(bad.data()) + LINK_HEADER_SIZE),
            bad.size());
  EXPECT_EQ(frame_length_field(only_reply(bridge, request(build_execute_request)).data()), 2);

  send(bridge, request(build_9100_request));
  const auto report = send(bridge, request(build_execute_request));
  ASSERT_EQ(report.size(), 1u);
  EXPECT_EQ(report[0].delay_ms, 250);

  EmulatedBridge silent(scenario_from("fault = silent\n"));
  EXPECT_TRUE(send(silent, request(build_probe_request, BROADCAST_MAC)).empty());
  EXPECT_TRUE(send(silent, request(build_begin_request)).empty());
}

TEST(EmulatorFaults, LossyDropsTheFirstReplyOfEveryNOfItsKinds) {
  EmulatedBridge bridge(scenario_from("fault = lossy any 2\nfault = lossy report 3\n"));
  const Bytes steps[] = {request(build_begin_request), request(build_9107_request),
                         request(build_execute_request)};
  for (const Bytes& step : steps) {
    EXPECT_TRUE(send(bridge, step).empty()) << "the first send goes unanswered";
    EXPECT_EQ(send(bridge, step).size(), 1u) << "its second send is answered";
  }
  EXPECT_TRUE(send(bridge, request(build_done_request)).empty());

  // Report polls: "any" drops the 1st, 3rd and 5th, "report" the 1st and 4th.
  send(bridge, request(build_begin_request));
  send(bridge, request(build_begin_request));
  send(bridge, request(build_9100_request));
  send(bridge, request(build_9100_request));
  std::string answered;
  for (int poll = 0; poll < 6; ++poll)
    answered += send(bridge, request(build_execute_request)).empty() ? '-' : 'R';
  EXPECT_EQ(answered, "-R---R");
}

TEST(EmulatorFaults, VanishAnswersItsNthReplyThenNothingMore) {
  EmulatedBridge bridge(scenario_from("fault = vanish write-settings 2\n"));
  const Bytes settings = settings_request("7000 :new\n");
  send(bridge, request(build_begin_request));
  EXPECT_EQ(send(bridge, settings).size(), 1u);
  EXPECT_FALSE(bridge.vanished());
  EXPECT_EQ(send(bridge, request(build_9107_request)).size(), 1u) << "other writes do not count";
  EXPECT_EQ(send(bridge, settings).size(), 1u) << "the second settings write is answered";
  EXPECT_TRUE(bridge.vanished());
  EXPECT_EQ(bridge.settings_text(), "7000 :new\n") << "and its text kept";
  EXPECT_TRUE(send(bridge, request(build_execute_request)).empty());
  EXPECT_TRUE(send(bridge, request(build_probe_request, BROADCAST_MAC)).empty());

  Fault fault;
  std::string error;
  EXPECT_EQ(parse_fault("vanish ack 0", &fault, &error), -1);
  EXPECT_NE(error.find("at least 1"), std::string::npos) << error;
}

TEST(EmulatorLog, LinesReadBackToTheSameFrame) {
  Bytes frame = settings_request(std::string("7000 :a \"b\"\\\x01\xff\n", 15));
  frame.resize(80, 0);
  const std::string line = format_log_line(1.5, "rx", frame.data(), static_cast<int>(frame.size()));
  EXPECT_EQ(line.find('\n'), std::string::npos) << "one line per frame";
  EXPECT_EQ(
      line.rfind("1.500000 rx 02-00-00-00-00-01 02-00-00-00-00-b1 0x00010101 0x00000000 15 80 "
                 "\"7000 :a \\\"b\\\"\\\\\\x01\\xff\\n\\0",
                 0),
      0u)
      << line;
  FrameLogEntry entry;
  ASSERT_TRUE(parse_log_line(line, &entry));
  EXPECT_EQ(entry.direction, "rx");
  EXPECT_EQ(entry.size, 80);
  EXPECT_EQ(entry.frame(), frame);
  EXPECT_FALSE(parse_log_line("1.0 rx not a frame", &entry));
  EXPECT_FALSE(parse_log_line("1.0 rx a b 0x0 0x0 0 24 \"\\q\"", &entry));
}

// The log writes payloads and the scenario reads quoted values with one table of escapes: every
// byte comes back as it went, and only printable ASCII stands for itself.
TEST(EmulatorEscapes, EveryByteReadsBackAsItWasWritten) {
  std::string bytes;
  for (int byte = 0; byte < 256; ++byte)
    bytes.push_back(static_cast<char>(byte));
  const std::string text = escape_bytes(bytes);
  for (const char c : text)
    ASSERT_TRUE(c >= 0x20 && c < 0x7f) << static_cast<int>(c);
  std::string back;
  std::string error;
  ASSERT_TRUE(unescape_text(text, &back, &error)) << error;
  EXPECT_EQ(back, bytes);
  for (const char* bad : {"ends in \\", "\\q", "\\x4", "\\xg0"})
    EXPECT_FALSE(unescape_text(bad, &back, &error)) << bad;
}
