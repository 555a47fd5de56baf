#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "device/site_survey.h"
#include "device/wireless_records.h"
#include "link/frame_exchange.h"
#include "link/link_timing.h"
#include "tests/support/fake_bridge.h"

namespace {

const std::uint8_t OWN[6] = {0x02, 0, 0, 0, 0, 0x01};
const std::uint8_t BRIDGE[6] = {0x02, 0, 0, 0, 0, 0xb1};
const char OWN_TEXT[] = "02-00-00-00-00-01";
const char BRIDGE_TEXT[] = "02-00-00-00-00-b1";

// What a sent frame asks for, as the bridge sees it.
std::string request_name(const Bytes& frame) {
  switch (frame_code(frame.data())) {
  case CMD_BEGIN:
    return "begin";
  case CMD_WRITE:
    return std::string(frame.begin() + LINK_HEADER_SIZE, frame.begin() + LINK_HEADER_SIZE + 4);
  case CMD_EXECUTE:
    return "execute";
  case CMD_DONE:
    return "done";
  default:
    return "other";
  }
}

const std::vector<std::string> FULL_SURVEY = {"begin", "9107",    "execute", "begin",
                                              "9100",  "execute", "done"};

Scenario three_networks() {
  Scenario scenario;
  scenario.ssid = "office";
  scenario.secmode = '2';
  scenario.networks = {{"cafe", "00-11-22-33-44-55", "11", "BG", "3", "78"},
                       {"", "00-11-22-33-44-66", "6", "G", "0", "40"},
                       {"lab", "00-11-22-33-44-77", "1", "B", "1", "9"}};
  return scenario;
}

void clear_records() {
  std::memset(NetworkTable, 0, sizeof NetworkTable);
  std::memset(&CurrentNetwork, 0, sizeof CurrentNetwork);
}

// One survey's world.
struct SurveyRig : BridgeRig {
  int count = -7;

  explicit SurveyRig(Scenario scenario = three_networks())
      : BridgeRig(BRIDGE, std::move(scenario)) {
    clear_records();
  }
  int run(const char* own_text = OWN_TEXT, const char* bridge_text = BRIDGE_TEXT) {
    return run_site_survey(send.data(), receive.data(), own_text, bridge_text, &count);
  }
  std::vector<std::string> sent() const {
    std::vector<std::string> names;
    for (const Bytes& frame : capture.sent())
      names.push_back(request_name(frame));
    return names;
  }
  void mark_records() {
    store_ssid(CurrentNetwork, "old");
    store_ssid(NetworkTable[0], "old");
  }
  void expect_records_kept() const {
    EXPECT_EQ(field_text(CurrentNetwork.ssid), "old");
    EXPECT_EQ(field_text(NetworkTable[0].ssid), "old");
    EXPECT_EQ(count, -7);
  }
};

// Where each exchange step sits in the full survey, and the reply that answers it.
struct Step {
  const char* name;
  ReplyKind reply;
  int earlier_replies; // replies of the same kind before this step's
  std::size_t position;
};
const Step STEPS[] = {
    {"first begin", REPLY_BEGIN, 0, 0}, {"9107 write", REPLY_WRITE, 0, 1},
    {"scan execute", REPLY_ACK, 0, 2},  {"second begin", REPLY_BEGIN, 1, 3},
    {"9100 write", REPLY_WRITE, 1, 4},  {"report poll", REPLY_REPORT, 0, 5},
};
const BridgeFault FAULTS[] = {BridgeFault::Drop, BridgeFault::WrongCode, BridgeFault::BadLength,
                              BridgeFault::Late};

} // namespace

TEST(SiteSurvey, FillsTheRecordsAndEndsWithDone) {
  SurveyRig rig;
  // One buffer for sending and receiving, as the survey page passes it.
  ASSERT_EQ(run_site_survey(rig.send.data(), rig.send.data(), OWN_TEXT, BRIDGE_TEXT, &rig.count),
            0);
  EXPECT_EQ(rig.sent(), FULL_SURVEY);
  EXPECT_EQ(rig.count, 3);
  EXPECT_EQ(field_text(CurrentNetwork.ssid), "office");
  EXPECT_EQ(field_text(CurrentNetwork.security), "WPA-PSK");
  EXPECT_EQ(field_text(NetworkTable[0].ssid), "cafe");
  EXPECT_EQ(field_text(NetworkTable[1].ssid), "[HiddenSSID]");
  EXPECT_EQ(field_text(NetworkTable[2].speed), "11Mbps");
  EXPECT_EQ(rig.bridge.done_count(), 1);

  const auto frames = rig.capture.sent();
  for (const Bytes& frame : frames) {
    EXPECT_EQ(frame.size(), static_cast<std::size_t>(REQUEST_FRAME_SIZE));
    EXPECT_EQ(0, std::memcmp(frame.data(), BRIDGE, 6));
    EXPECT_EQ(0, std::memcmp(frame.data() + 6, OWN, 6));
  }
  EXPECT_EQ(std::string(frames[1].begin() + 24, frames[1].begin() + 32),
            std::string("9107:\r\n\0", 8));
  EXPECT_EQ(std::string(frames[4].begin() + 24, frames[4].begin() + 32),
            std::string("9100:\r\n\0", 8));
}

TEST(SiteSurvey, MacTextsOwnIsTheHostListsFirstAndUnreadableOnesSendNothing) {
  SurveyRig rig;
  EXPECT_EQ(rig.run(OWN_TEXT, ""), -1);
  EXPECT_EQ(rig.run("zz-00-00-00-00-01"), -1);
  EXPECT_TRUE(rig.capture.sent().empty());
  ASSERT_EQ(rig.run("02-00-00-00-00-0102-00-00-00-00-02"), 0);
  EXPECT_EQ(rig.capture.sent()[0][11], 0x01);
}

TEST(SiteSurvey, OneFailedReplyPerStepIsMendedBySendingAgain) {
  for (const Step& step : STEPS) {
    for (const BridgeFault fault : FAULTS) {
      SurveyRig rig;
      rig.bridge.inject(step.reply, BridgeFault::Pass, step.earlier_replies);
      rig.bridge.inject(step.reply, fault);
      ASSERT_EQ(rig.run(), 0) << step.name << " fault " << static_cast<int>(fault);
      EXPECT_EQ(rig.count, 3);
      std::vector<std::string> expected = FULL_SURVEY;
      expected.insert(expected.begin() + static_cast<long>(step.position), expected[step.position]);
      EXPECT_EQ(rig.sent(), expected) << step.name << " fault " << static_cast<int>(fault);
    }
  }
}

TEST(SiteSurvey, TwoFailedRepliesEndTheSurveyWithNothingMoreSent) {
  for (const Step& step : STEPS) {
    for (const BridgeFault fault : FAULTS) {
      SurveyRig rig;
      rig.bridge.inject(step.reply, BridgeFault::Pass, step.earlier_replies);
      rig.bridge.inject(step.reply, fault, 2);
      rig.mark_records();
      ASSERT_EQ(rig.run(), -1) << step.name << " fault " << static_cast<int>(fault);
      rig.expect_records_kept();
      std::vector<std::string> expected(FULL_SURVEY.begin(),
                                        FULL_SURVEY.begin() + static_cast<long>(step.position) + 1);
      expected.push_back(expected.back());
      EXPECT_EQ(rig.sent(), expected) << step.name << " fault " << static_cast<int>(fault);
      EXPECT_EQ(rig.bridge.done_count(), 0);
    }
  }
}

TEST(SiteSurvey, ReportsThatAreNotTheReportAreRefused) {
  const std::string text = "SSID:x\n7001 :16\nSECMODE:0\n";
  Bytes exactly_64 = report_payload(text);
  exactly_64.resize(REQUEST_FRAME_SIZE - LINK_HEADER_SIZE, '\n');
  const Bytes no_ssid = report_payload("SID:x\n7001 :16\nSECMODE:0\nSURVEY:\f");

  for (const Bytes& report : {exactly_64, no_ssid}) {
    SurveyRig rig;
    rig.bridge.set_report(report);
    rig.mark_records();
    EXPECT_EQ(rig.run(), -1);
    rig.expect_records_kept();
    EXPECT_EQ(rig.sent().size(), 7u) << "two polls, no done";
    EXPECT_EQ(rig.bridge.done_count(), 0);
  }

  SurveyRig rig;
  Bytes exactly_65 = exactly_64;
  exactly_65.push_back('\n');
  rig.bridge.set_report(exactly_65);
  EXPECT_EQ(rig.run(), 0);
  EXPECT_EQ(field_text(CurrentNetwork.ssid), "x");
}

TEST(SiteSurvey, ReportWithoutListLeavesTableAndCount) {
  SurveyRig rig;
  rig.bridge.set_report(report_payload("SSID:office\n7001 :16\n7002 :0\n7003 :2\nSECMODE:2\n"));
  rig.mark_records();
  ASSERT_EQ(rig.run(), 0);
  EXPECT_EQ(rig.count, -7);
  EXPECT_EQ(field_text(NetworkTable[0].ssid), "old");
  EXPECT_EQ(field_text(CurrentNetwork.ssid), "office");
  EXPECT_EQ(rig.bridge.done_count(), 1);
}

TEST(SurveyReportCheck, LengthSizeAndMarker) {
  const std::string text = "SSID:x\n7001 :16\n";
  Bytes payload = report_payload(text);
  payload[0] = payload[1] = 'S';
  payload.resize(60, 0);
  Bytes frame = make_reply(BRIDGE, OWN, RSP_EXECUTE_DATA, payload);
  frame.resize(MAX_FRAME_SIZE);
  EXPECT_TRUE(is_survey_report(frame.data(), 84));
  EXPECT_FALSE(is_survey_report(frame.data(), 85)) << "size and length field disagree";
  build_frame(frame.data(), BRIDGE, OWN, RSP_EXECUTE_DATA, 0, 2);
  EXPECT_FALSE(is_survey_report(frame.data(), 84)) << "length 2 passes the wait, not the check";
  build_frame(frame.data(), BRIDGE, OWN, RSP_EXECUTE_DATA, 0, 40);
  EXPECT_FALSE(is_survey_report(frame.data(), 64));
  frame[LINK_HEADER_SIZE + 2] = 'X';
  build_frame(frame.data(), BRIDGE, OWN, RSP_EXECUTE_DATA, 0, 60);
  EXPECT_FALSE(is_survey_report(frame.data(), 84)) << "\"SSID:\" must follow the skipped bytes";
}

TEST(SiteSurveyPause, TheBridgeIsLeftToScanBetweenTheTwoTransactions) {
  ScriptedLink link;
  std::vector<std::chrono::steady_clock::time_point> sent_at;
  link.capture().on_send = [&](const Bytes&) {
    sent_at.push_back(std::chrono::steady_clock::now());
  };
  FakeBridge bridge(link.capture(), BRIDGE, three_networks());
  link_timing().survey_scan_pause = std::chrono::milliseconds{60};
  std::vector<std::uint8_t> buffer(MAX_FRAME_SIZE);
  int count = 0;
  ASSERT_EQ(run_site_survey(buffer.data(), buffer.data(), OWN_TEXT, BRIDGE_TEXT, &count), 0);
  ASSERT_EQ(sent_at.size(), 7u);
  EXPECT_GE(sent_at[3] - sent_at[2], std::chrono::milliseconds{60})
      << "the pause lies between the scan's execute and the second begin";
}

TEST(SiteSurveyPause, AStopRequestEndsThePauseAndTheSurvey) {
  ScriptedLink link;
  FakeBridge bridge(link.capture(), BRIDGE, three_networks());
  link_timing().survey_scan_pause = std::chrono::seconds{30};
  std::thread stopper([&] {
    while (link.capture().sent().size() < 3)
      std::this_thread::sleep_for(std::chrono::milliseconds{1});
    std::this_thread::sleep_for(std::chrono::milliseconds{20});
    request_link_stop();
  });
  std::vector<std::uint8_t> buffer(MAX_FRAME_SIZE);
  int count = -7;
  EXPECT_EQ(run_site_survey(buffer.data(), buffer.data(), OWN_TEXT, BRIDGE_TEXT, &count), -1);
  stopper.join();
  EXPECT_EQ(link.capture().sent().size(), 3u);
  EXPECT_EQ(bridge.done_count(), 0);
}

// The worker writes the records, then posts its result; the UI thread reads them once the
// result has arrived. A queue under a lock stands in for the page's posted event, and a
// ticker thread for timer 2. Run under ThreadSanitizer this shows the hand-over is ordered.
TEST(SurveyHandOver, RecordsWrittenByTheWorkerAreWholeWhenTheResultArrives) {
  ScriptedLink link;
  FakeBridge bridge(link.capture(), BRIDGE, three_networks());
  clear_records();
  std::mutex queue_mutex;
  std::condition_variable posted;
  std::vector<int> results;
  std::atomic<bool> done{false};

  std::thread ticker([&] {
    while (!done) {
      tick_rx_timeout();
      std::this_thread::sleep_for(std::chrono::milliseconds{10});
    }
  });
  int count = 0;
  std::thread worker([&] {
    std::vector<std::uint8_t> buffer(MAX_FRAME_SIZE);
    const int result = run_site_survey(buffer.data(), buffer.data(), OWN_TEXT, BRIDGE_TEXT, &count);
    std::lock_guard lock(queue_mutex);
    results.push_back(result);
    posted.notify_one();
  });
  {
    std::unique_lock lock(queue_mutex);
    posted.wait(lock, [&] { return !results.empty(); });
    EXPECT_EQ(results.front(), 0);
  }
  EXPECT_EQ(count, 3);
  EXPECT_EQ(field_text(NetworkTable[2].ssid), "lab");
  EXPECT_EQ(field_text(CurrentNetwork.ssid), "office");
  worker.join();
  done = true;
  ticker.join();
}
