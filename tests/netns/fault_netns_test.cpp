// The whole wizard, offscreen, against an emulated bridge that misbehaves (root): lost, late,
// mislabelled and mis-measured replies, other stations on the wire, a bridge that goes away in
// the middle of a write and an adapter that goes down during a survey. Each case checks what
// the user sees and what went over the wire.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QTableWidget>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "device/discovery.h"
#include "device/site_survey.h"
#include "device/wireless_records.h"
#include "link/adapter_selection.h"
#include "link/frame_exchange.h"
#include "link/link_frame.h"
#include "link/link_helper.h"
#include "link/link_timing.h"
#include "link/mac_text.h"
#include "tests/gui/wizard_driver.h"
#include "tests/netns/testnet.h"
#include "tests/netns/wizard_over_veth.h"
#include "wizard/device_list_page.h"
#include "wizard/finish_page.h"
#include "wizard/link_state.h"
#include "wizard/page_messages.h"
#include "wizard/setup_app.h"
#include "wizard/site_survey_page.h"
#include "wizard/summary_page.h"

namespace {

using Log = std::vector<FrameLogEntry>;
using Clock = std::chrono::steady_clock;

const char* const WIZARD_TEXT = "02-00-00-00-0a-01";
const char* const BRIDGE_TEXT = "02-00-00-00-0b-01";
const char* const STATION_TEXT = "02-00-00-00-0c-01";

const char* const SCENARIO = "mac = 02:00:00:00:0b:01\n"
                             "ssid = Previous\n"
                             "secmode = 2\n"
                             "network = OpenCafe|a4:2b:b0:00:00:01|1|BG|0|80\n"
                             "network = Office|a4:2b:b0:00:00:03|11|BG|2|70\n";

// What the bridge stores when the user saves the open network "OpenCafe".
const char* const OPEN_CAFE_SETTINGS = "7000 :OpenCafe\n7001 :16\n7002 :0\n7003 :0\n7004 :0\n"
                                       "7005 :0\n7006 :\n7007 :\n7008 :\n7009 :\n7012 :3\n"
                                       "7013 :0\n7018 :1\n7019 :\n7022 :0\n";

std::string requests(const Log& log) { return netns::request_summary(log, WIZARD_TEXT); }

// The requests after the last probe: those of the survey and the saves.
std::string requests_after_search(const Log& log) {
  const std::string all = requests(log);
  const auto probe = all.rfind('P');
  return probe == std::string::npos ? all : all.substr(std::min(all.size(), probe + 2));
}

int count_sent(const Log& log, std::uint32_t code) {
  int count = 0;
  for (const FrameLogEntry& entry : log)
    count += entry.direction == "tx" && entry.code == code;
  return count;
}

double cpu_seconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

class FaultOverVeth : public WizardOverVethTest {
protected:
  netns::Emulator& StartBridge(const std::vector<std::string>& faults = {}) {
    bridge = &StartEmulator(SCENARIO, faults);
    return *bridge;
  }

  QStringList ListedDevices() const {
    QStringList macs;
    auto* list = wizard->Control<QTableWidget>(CDeviceListPage::IDC_LIST);
    for (int row = 0; row < list->rowCount(); ++row)
      macs << list->item(row, 1)->text();
    return macs;
  }

  // From the device list to the survey page of our bridge, its survey done.
  void Survey() {
    const int row = static_cast<int>(ListedDevices().indexOf(BRIDGE_TEXT));
    ASSERT_GE(row, 0) << ListedDevices().join(' ').toStdString();
    wizard->ClickRow(CDeviceListPage::IDC_LIST, row);
    wizard->Click(CDeviceListPage::IDC_NEXT);
    ASSERT_TRUE(wizard->Advance());
    ASSERT_TRUE(wizard->WaitForMessage(WM_SURVEY_RESULT));
  }

  // From the surveyed list to the summary page of the open network.
  void ChooseOpenCafe() {
    auto* list = wizard->Control<QTableWidget>(CSiteSurveyPage::IDC_LIST);
    ASSERT_EQ(list->rowCount(), 2);
    ASSERT_EQ(list->item(0, 0)->text(), "OpenCafe");
    wizard->ClickRow(CSiteSurveyPage::IDC_LIST, 0);
    wizard->Click(CSiteSurveyPage::IDC_NEXT);
    ASSERT_TRUE(wizard->Advance());
    ASSERT_EQ(wizard->page()->Idd(), CSummaryPage::IDD);
  }

  void ToSummary() {
    ASSERT_NO_FATAL_FAILURE(OpenWizard());
    ASSERT_NO_FATAL_FAILURE(Survey());
    ASSERT_EQ(wizard->Status(CSiteSurveyPage::IDC_STATUS), "There are 2 wireless networks.");
    ASSERT_NO_FATAL_FAILURE(ChooseOpenCafe());
  }

  // Everything `emu` has seen and sent so far; only while no worker runs, since it uses the
  // wizard's capture.
  Log SettledLog(netns::Emulator& emu) {
    std::uint8_t own[MAC_SIZE];
    std::uint8_t peer[MAC_SIZE];
    mac_text_to_bytes(WIZARD_TEXT, own);
    mac_text_to_bytes(BRIDGE_TEXT, peer);
    return emu.settled_log(own, peer);
  }

  // To the survey page of our bridge, with a pause of 1.5 s, until the bridge has been told to
  // scan: the survey is then in its pause.
  void IntoTheSurveyPause() {
    link_timing().survey_scan_pause = std::chrono::milliseconds{1500};
    StartBridge();
    ASSERT_NO_FATAL_FAILURE(OpenWizard());
    const int row = static_cast<int>(ListedDevices().indexOf(BRIDGE_TEXT));
    ASSERT_GE(row, 0);
    wizard->ClickRow(CDeviceListPage::IDC_LIST, row);
    wizard->Click(CDeviceListPage::IDC_NEXT);
    ASSERT_TRUE(wizard->Advance());
    ASSERT_TRUE(WaitWithEvents([&] { return count_sent(bridge->log(), RSP_EXECUTE_ACK) == 1; }));
  }

  // Waits for `done` while the page's timers and posted calls run.
  static bool WaitWithEvents(const std::function<bool()>& done) {
    const auto end = Clock::now() + std::chrono::seconds{10};
    while (!done()) {
      if (Clock::now() >= end)
        return false;
      QTest::qWait(10);
    }
    return true;
  }

  netns::Emulator* bridge = nullptr;
};

} // namespace

TEST_F(FaultOverVeth, OneLostReplyPerStepIsMadeUpByItsSecondSend) {
  // The first of every two begin, write and execute replies is lost; probes all come through.
  StartBridge({"lossy begin 2", "lossy write 2", "lossy execute 2"});
  ASSERT_NO_FATAL_FAILURE(ToSummary());
  EXPECT_EQ(Save(), "Save config successfully !");
  ASSERT_TRUE(wizard->Advance());
  EXPECT_EQ(wizard->page()->Idd(), CFinishPage::IDD);

  const Log log = SettledLog(*bridge);
  EXPECT_EQ(requests_after_search(log), "B B 9107 9107 X X B B 9100 9100 X X D "
                                        "B B S S X X B B 9002 9002 X X");
  EXPECT_EQ(bridge->settings(), OPEN_CAFE_SETTINGS);
}

TEST_F(FaultOverVeth, TwoLostRepliesEndTheSurveyAndItsRetryWithNothingMoreSent) {
  // The page surveys a second time after a failure; both end at their first step.
  StartBridge({"drop begin 4"});
  ASSERT_NO_FATAL_FAILURE(OpenWizard());
  ASSERT_NO_FATAL_FAILURE(Survey());
  EXPECT_EQ(wizard->Status(CSiteSurveyPage::IDC_STATUS), "There are 0 wireless networks.");
  EXPECT_EQ(wizard->Control<QTableWidget>(CSiteSurveyPage::IDC_LIST)->rowCount(), 0);
  EXPECT_TRUE(wizard->Control(CSiteSurveyPage::IDC_REFRESH)->isEnabled()) << "the user may retry";
  EXPECT_EQ(requests_after_search(SettledLog(*bridge)), "B B B B");

  wizard->Click(CSiteSurveyPage::IDC_REFRESH);
  ASSERT_TRUE(wizard->WaitForMessage(WM_SURVEY_RESULT));
  EXPECT_EQ(wizard->Status(CSiteSurveyPage::IDC_STATUS), "There are 2 wireless networks.");
}

TEST_F(FaultOverVeth, TwoLostRepliesFailTheSaveAfterTheSettingsWithoutApplyingThem) {
  StartBridge({"drop write-9002 2"});
  ASSERT_NO_FATAL_FAILURE(ToSummary());
  EXPECT_EQ(Save(), "Save config failed !");
  EXPECT_TRUE(wizard->Control(CSummaryPage::IDC_NEXT)->isEnabled());
  EXPECT_EQ(requests_after_search(SettledLog(*bridge)), "B 9107 X B 9100 X D B S X B 9002 9002");
  EXPECT_EQ(bridge->settings(), OPEN_CAFE_SETTINGS) << "stored whole";

  // Not applied: a survey still reports the previous network.
  std::uint8_t buffer[MAX_FRAME_SIZE];
  int count = 0;
  ASSERT_EQ(run_site_survey(buffer, buffer, WIZARD_TEXT, BRIDGE_TEXT, &count), 0);
  EXPECT_EQ(field_text(CurrentNetwork.ssid), "Previous");

  EXPECT_EQ(Save(), "Save config successfully !");
  ASSERT_EQ(run_site_survey(buffer, buffer, WIZARD_TEXT, BRIDGE_TEXT, &count), 0);
  EXPECT_EQ(field_text(CurrentNetwork.ssid), "OpenCafe");
  EXPECT_EQ(field_text(CurrentNetwork.security), "Disable");
}

TEST_F(FaultOverVeth, RepliesLatePastTheLimitFailTheSaveAndNothingMoreIsSent) {
  // Each wait of the settings step gives up after three ticks (300 ms here); its replies come
  // one and a half seconds late.
  StartBridge({"delay write-settings 1500"});
  ASSERT_NO_FATAL_FAILURE(ToSummary());
  const auto start = Clock::now();
  EXPECT_EQ(Save(), "Save config failed !");
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds{1500}) << "gave up before the reply";
  EXPECT_TRUE(wizard->Control(CSummaryPage::IDC_NEXT)->isEnabled());

  // Both late replies have gone out by now (after the survey's two writes); the wizard sent
  // nothing after its second settings write.
  EXPECT_TRUE(bridge->wait_for([](const Log& log) { return count_sent(log, RSP_WRITE) == 4; },
                               std::chrono::seconds{10}));
  EXPECT_EQ(requests_after_search(SettledLog(*bridge)), "B 9107 X B 9100 X D B S S");
}

TEST_F(FaultOverVeth, TwentyWrongCodesEndAWaitAtOnceAndTheResentStepIsAnswered) {
  // Twenty frames of another code before every ack: the first wait gives up on the twentieth
  // without waiting out its time; the step sends again, and the ack of its first send, next
  // on the wire, answers it.
  StartBridge({"wrong-code ack 20"});
  ASSERT_NO_FATAL_FAILURE(OpenWizard());
  ASSERT_NO_FATAL_FAILURE(Survey());
  ASSERT_NO_FATAL_FAILURE(ChooseOpenCafe());
  const auto start = Clock::now();
  EXPECT_EQ(Save(), "Save config successfully !");
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds{1000}) << "no wait ran out its time";
  ASSERT_TRUE(wizard->Advance());
  EXPECT_EQ(wizard->page()->Idd(), CFinishPage::IDD);

  const Log log = SettledLog(*bridge);
  // The survey's one ack and the save's first begin each cost a second send in the same way.
  EXPECT_EQ(requests_after_search(log), "B 9107 X X B B 9100 X D B S X X B B 9002 X X");
  EXPECT_EQ(bridge->settings(), OPEN_CAFE_SETTINGS);
}

TEST_F(FaultOverVeth, BadLengthTwiceFailsTheSaveAndTheRetryStoresTheWholeText) {
  StartBridge({"bad-length write-settings 2"});
  ASSERT_NO_FATAL_FAILURE(ToSummary());
  EXPECT_EQ(Save(), "Save config failed !");
  EXPECT_EQ(requests_after_search(SettledLog(*bridge)), "B 9107 X B 9100 X D B S S");

  EXPECT_EQ(Save(), "Save config successfully !");
  ASSERT_TRUE(wizard->Advance());
  EXPECT_EQ(wizard->page()->Idd(), CFinishPage::IDD);
  EXPECT_EQ(requests_after_search(SettledLog(*bridge)), "B 9107 X B 9100 X D B S S B S X B 9002 X");
  EXPECT_EQ(bridge->settings(), OPEN_CAFE_SETTINGS);
}

TEST_F(FaultOverVeth, ChatteringStationIsListedAndLeavesSurveyAndSaveAlone) {
  // Another station broadcasts a probe every 50 ms, so discovery never sees a quiet spell.
  StartBridge({"chatter 02:00:00:00:0c:01 50"});
  const auto start = Clock::now();
  ASSERT_NO_FATAL_FAILURE(OpenWizard());
  // Unbounded, the flood would keep the search going for ever; the margin leaves room for a slow
  // (sanitized) build, start-up and the page itself.
  EXPECT_LT(Clock::now() - start, link_timing().tick_period * (DISCOVERY_REPLY_WINDOW_TICKS * 10))
      << "the reply window is bounded";
  const QStringList listed = ListedDevices();
  EXPECT_TRUE(listed.contains(BRIDGE_TEXT) && listed.contains(STATION_TEXT))
      << listed.join(' ').toStdString();

  ASSERT_NO_FATAL_FAILURE(Survey());
  EXPECT_EQ(wizard->Status(CSiteSurveyPage::IDC_STATUS), "There are 2 wireless networks.");
  ASSERT_NO_FATAL_FAILURE(ChooseOpenCafe());
  EXPECT_EQ(Save(), "Save config successfully !");
  EXPECT_EQ(requests_after_search(SettledLog(*bridge)), "B 9107 X B 9100 X D B S X B 9002 X");
  EXPECT_EQ(bridge->settings(), OPEN_CAFE_SETTINGS);
}

TEST_F(FaultOverVeth, FloodFromAnotherMacNeverStretchesAWaitAndTheSaveWorksOnceItStops) {
  StartBridge();
  ASSERT_NO_FATAL_FAILURE(ToSummary());
  // A second station sends link frames back to back, as fast as the wire takes them. Replies
  // may drown in it, but every wait still ends at its limit, so the save ends in time.
  auto& flood = net->start_emulator(bridge_ns, "br0", "mac = 02:00:00:00:0c:02\n",
                                    {"silent", "chatter 02:00:00:00:0c:01 0"});
  const auto start = Clock::now();
  const QString outcome = Save();
  const auto took = Clock::now() - start;
  EXPECT_TRUE(outcome == "Save config successfully !" || outcome == "Save config failed !")
      << outcome.toStdString();
  // Twelve waits at most (six steps, two sends each), each ending at its limit of 2 or 3 ticks.
  EXPECT_LT(took, link_timing().tick_period * 2 * (12 * (FIRST_EXECUTE_TICK_LIMIT + 1) + 10));
  EXPECT_TRUE(flood.stop()) << flood.errors();
  const Log flood_log = flood.log();
  EXPECT_TRUE(std::any_of(flood_log.begin(), flood_log.end(), [](const FrameLogEntry& entry) {
    return entry.direction == "flood";
  })) << "the flood was on";

  if (outcome != "Save config successfully !") {
    EXPECT_EQ(Save(), "Save config successfully !") << "once the flood is over";
  }
  ASSERT_TRUE(wizard->Advance());
  EXPECT_EQ(wizard->page()->Idd(), CFinishPage::IDD);
  EXPECT_EQ(bridge->settings(), OPEN_CAFE_SETTINGS);
}

TEST_F(FaultOverVeth, FloodDuringDiscoveryListsTheFloodingStationWithinTheReplyWindow) {
  StartBridge();
  net->start_emulator(bridge_ns, "br0", "mac = 02:00:00:00:0c:02\n",
                      {"silent", "chatter 02:00:00:00:0c:01 0"});
  const auto start = Clock::now();
  ASSERT_NO_FATAL_FAILURE(OpenWizard());
  // Unbounded, the flood would keep the search going for ever; the margin leaves room for a slow
  // (sanitized) build, start-up and the page itself.
  EXPECT_LT(Clock::now() - start, link_timing().tick_period * (DISCOVERY_REPLY_WINDOW_TICKS * 10))
      << "the reply window is bounded";
  EXPECT_TRUE(ListedDevices().contains(STATION_TEXT)) << ListedDevices().join(' ').toStdString();
}

TEST_F(FaultOverVeth, BridgeVanishingBeforeItsApplyCommandLeavesTheWholeTextAndARetryWorks) {
  // The bridge stores the settings text, answers it, and is gone before "9002:".
  auto& lost = StartBridge({"vanish write-settings 1"});
  ASSERT_NO_FATAL_FAILURE(ToSummary());
  EXPECT_EQ(Save(), "Save config failed !");
  EXPECT_TRUE(wizard->Control(CSummaryPage::IDC_NEXT)->isEnabled());
  EXPECT_TRUE(lost.stop()) << "it ended by itself, cleanly: " << lost.errors();
  EXPECT_EQ(requests_after_search(lost.log()), "B 9107 X B 9100 X D B S");
  EXPECT_EQ(lost.settings(), OPEN_CAFE_SETTINGS) << "the whole text, never a part";

  // The bridge comes back (as it was before the write) and the user presses Next again.
  auto& back = StartBridge();
  EXPECT_EQ(Save(), "Save config successfully !");
  ASSERT_TRUE(wizard->Advance());
  EXPECT_EQ(wizard->page()->Idd(), CFinishPage::IDD);
  EXPECT_EQ(requests(SettledLog(back)), "B S X B 9002 X");
  EXPECT_EQ(back.settings(), OPEN_CAFE_SETTINGS);
  std::uint8_t buffer[MAX_FRAME_SIZE];
  int count = 0;
  ASSERT_EQ(run_site_survey(buffer, buffer, WIZARD_TEXT, BRIDGE_TEXT, &count), 0);
  EXPECT_EQ(field_text(CurrentNetwork.ssid), "OpenCafe") << "applied on the retry";
}

TEST_F(FaultOverVeth, AdapterGoingDownDuringTheSurveyPauseEndsItCleanlyWithoutBusyWaiting) {
  // Down once the bridge has been told to scan, while the survey pauses.
  ASSERT_NO_FATAL_FAILURE(IntoTheSurveyPause());
  const double cpu_before = cpu_seconds();
  const auto down_at = Clock::now();
  ASSERT_EQ(std::system(("ip -n " + wizard_ns + " link set eth0 down").c_str()), 0);
  ASSERT_TRUE(wizard->WaitForMessage(WM_SURVEY_RESULT, 30000));
  const double wall = std::chrono::duration<double>(Clock::now() - down_at).count();
  const double cpu = cpu_seconds() - cpu_before;

  EXPECT_EQ(wizard->Status(CSiteSurveyPage::IDC_STATUS),
            "There are 0 wireless networks. (eth0 did not take the frame: send: Network is down)")
      << "the first send after the pause fails, and says why";
  EXPECT_EQ(wizard->Control<QTableWidget>(CSiteSurveyPage::IDC_LIST)->rowCount(), 0);
  EXPECT_TRUE(wizard->Control(CSiteSurveyPage::IDC_REFRESH)->isEnabled());
  EXPECT_LT(cpu, 0.25 * wall) << cpu << " s of CPU in " << wall << " s: a busy wait";
  EXPECT_EQ(requests_after_search(bridge->log()), "B 9107 X") << "nothing reached the bridge";
}

// The link helper killed while the survey pauses: the survey fails as with a lost reply, without
// a busy wait, and Refresh List surveys again through a new helper.
TEST_F(FaultOverVeth, LinkHelperKilledDuringTheSurveyFailsItAndRefreshWorksWithANewHelper) {
  ASSERT_NO_FATAL_FAILURE(IntoTheSurveyPause());
  const std::shared_ptr<LinkHelper> helper = link_helper();
  ASSERT_TRUE(helper);
  const pid_t killed = helper->pid();
  const double cpu_before = cpu_seconds();
  const auto killed_at = Clock::now();
  ASSERT_EQ(kill(killed, SIGKILL), 0);
  ASSERT_TRUE(wizard->WaitForMessage(WM_SURVEY_RESULT, 30000));
  const double wall = std::chrono::duration<double>(Clock::now() - killed_at).count();
  const double cpu = cpu_seconds() - cpu_before;

  EXPECT_EQ(wizard->Status(CSiteSurveyPage::IDC_STATUS),
            "There are 0 wireless networks. (the link helper was lost: it was killed by signal 9 "
            "(Killed))")
      << "the page's own words, then why";
  EXPECT_TRUE(wizard->Control(CSiteSurveyPage::IDC_REFRESH)->isEnabled());
  EXPECT_LT(cpu, 0.25 * wall) << cpu << " s of CPU in " << wall << " s: a busy wait";
  EXPECT_EQ(requests_after_search(bridge->log()), "B 9107 X") << "nothing sent after the kill";

  wizard->Click(CSiteSurveyPage::IDC_REFRESH);
  ASSERT_TRUE(wizard->WaitForMessage(WM_SURVEY_RESULT, 30000));
  EXPECT_EQ(wizard->Status(CSiteSurveyPage::IDC_STATUS), "There are 2 wireless networks.");
  const std::shared_ptr<LinkHelper> replacement = link_helper();
  ASSERT_TRUE(replacement);
  EXPECT_NE(replacement->pid(), killed);
}

// The link helper killed while the save waits for the bridge's answer to "9002:": "Save config
// failed !", and Next saves again through a new helper.
TEST_F(FaultOverVeth, LinkHelperKilledDuringTheSaveFailsItAndNextSavesWithANewHelper) {
  // The answer to "9002:" comes 600 ms late, well within the product's one-second ticks: room
  // for the kill to land while the save waits, however slowly this test sees the bridge's log.
  StartBridge({"delay write-9002 600"});
  ASSERT_NO_FATAL_FAILURE(ToSummary());
  link_timing().tick_period = std::chrono::milliseconds{1000};
  wizard->Click(CSummaryPage::IDC_NEXT);
  ASSERT_TRUE(WaitWithEvents(
      [&] { return requests_after_search(bridge->log()).find("9002") != std::string::npos; }));
  const std::shared_ptr<LinkHelper> helper = link_helper();
  ASSERT_TRUE(helper);
  const pid_t killed = helper->pid();
  ASSERT_EQ(kill(killed, SIGKILL), 0);
  ASSERT_TRUE(wizard->WaitForMessage(WM_SAVE_RESULT, 20000));
  EXPECT_EQ(wizard->Status(CSummaryPage::IDC_STATUS),
            "Save config failed ! (the link helper was lost: it was killed by signal 9 (Killed))");
  EXPECT_TRUE(wizard->Control(CSummaryPage::IDC_NEXT)->isEnabled()) << "the user may retry";

  EXPECT_EQ(Save(), "Save config successfully !");
  EXPECT_EQ(bridge->settings(), OPEN_CAFE_SETTINGS);
  const std::shared_ptr<LinkHelper> replacement = link_helper();
  ASSERT_TRUE(replacement);
  EXPECT_NE(replacement->pid(), killed);
  ASSERT_TRUE(wizard->Advance());
  EXPECT_EQ(wizard->page()->Idd(), CFinishPage::IDD);
}

// The adapter takes another MAC after the search: the link helper refuses the wizard's frames,
// which no longer come from the adapter's own, and the status line says so.
TEST_F(FaultOverVeth, AFrameTheLinkHelperRefusesFailsTheSaveWithItsReason) {
  StartBridge();
  ASSERT_NO_FATAL_FAILURE(ToSummary());
  const std::string before = requests_after_search(SettledLog(*bridge));
  ASSERT_EQ(
      std::system(("ip -n " + wizard_ns + " link set eth0 address 02:00:00:00:0a:09").c_str()), 0);
  EXPECT_EQ(Save(), "Save config failed ! (the link helper refused a frame: only frames from the "
                    "adapter's own MAC are sent)");
  EXPECT_TRUE(wizard->Control(CSummaryPage::IDC_NEXT)->isEnabled());
  std::this_thread::sleep_for(std::chrono::milliseconds{200});
  EXPECT_EQ(requests_after_search(bridge->log()), before) << "nothing reached the bridge";
}

TEST(StaleNamespaces, ParallelCleanUpsDoNotTripOverEachOther) {
  const std::string reason = netns::unavailable_reason();
  if (!reason.empty())
    GTEST_SKIP() << reason;
  // What a killed test leaves behind: namespaces named after a process that has ended. Every
  // test process that starts clears them, several at the same moment under ctest -j.
  const pid_t ended = fork();
  if (ended == 0)
    _exit(0);
  ASSERT_GT(ended, 0);
  waitpid(ended, nullptr, 0);
  // A prefix of its own: every other test process clears stale "qbt" namespaces as it starts
  // and might remove these while they are being made.
  const std::string prefix = "qbs" + std::to_string(ended) + "-0-";
  std::vector<std::string> left;
  for (int i = 0; i < 12; ++i) {
    left.push_back(prefix + std::to_string(i));
    netns::testnet({"add-ns", left.back()});
  }

  std::mutex mutex;
  std::vector<std::string> failures;
  std::vector<std::thread> cleaners;
  for (int i = 0; i < 4; ++i)
    cleaners.emplace_back([&] {
      try {
        netns::testnet({"del-stale", "qbs"});
      } catch (const std::exception& failure) {
        std::lock_guard lock(mutex);
        failures.push_back(failure.what());
      }
    });
  for (std::thread& cleaner : cleaners)
    cleaner.join();
  EXPECT_TRUE(failures.empty()) << failures.front();
  for (const std::string& ns : left)
    EXPECT_NE(access(("/run/netns/" + ns).c_str(), F_OK), 0) << ns << " is left";
}

TEST_F(FaultOverVeth, ABurstOfAHundredLinkFramesWaitsWholeInTheCaptureUntilRead) {
  // A hundred frames before the reply to one begin, all on the wire before the wizard reads:
  // the capture must hold them all, or replies that come in a burst are lost.
  StartBridge({"wrong-code begin 99"});
  net->enter(wizard_ns);
  ASSERT_EQ(reopen_adapter(WIZARD_TEXT), 0);
  std::uint8_t own[MAC_SIZE];
  std::uint8_t peer[MAC_SIZE];
  mac_text_to_bytes(WIZARD_TEXT, own);
  mac_text_to_bytes(BRIDGE_TEXT, peer);
  std::uint8_t frame[MAX_FRAME_SIZE];
  send_frame(frame, build_begin_request(frame, own, peer));
  ASSERT_TRUE(bridge->wait_for([](const Log& log) { return count_sent(log, RSP_BEGIN) == 1; }));
  std::this_thread::sleep_for(std::chrono::milliseconds{100});

  int received = 0;
  while (receive_frame(own, peer, LINK_ETHERTYPE, frame, MAX_FRAME_SIZE, 0) > 0)
    ++received;
  EXPECT_EQ(received, 100);
  EXPECT_EQ(frame_code(frame), RSP_BEGIN) << "the reply came last";
}
