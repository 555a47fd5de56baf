// The whole wizard, offscreen, against emulated bridges over veth: real adapters, real frames,
// and the exact settings text each path stores in the bridge.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QRadioButton>
#include <QScreen>
#include <QTableWidget>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "device/wireless_records.h"
#include "link/frame_exchange.h"
#include "link/link_frame.h"
#include "link/link_timing.h"
#include "link/mac_text.h"
#include "platform/open_link.h"
#include "tests/gui/wizard_driver.h"
#include "tests/netns/flow_settings.h"
#include "tests/netns/testnet.h"
#include "tests/netns/wizard_over_veth.h"
#include "wizard/device_list_page.h"
#include "wizard/finish_page.h"
#include "wizard/link_state.h"
#include "wizard/page_messages.h"
#include "wizard/security_page.h"
#include "wizard/setup_app.h"
#include "wizard/site_survey_page.h"
#include "wizard/summary_page.h"
#include "wizard/wep_page.h"
#include "wizard/wpa_page.h"

namespace {

const char* const BRIDGE_MAC = "02-00-00-00-0b-01";
const char* const SECOND_BRIDGE_MAC = "02-00-00-00-0b-02";

// Every frame of a log but the settled-log markers, one line each, without the time.
std::string Wire(const std::vector<FrameLogEntry>& log) {
  std::string wire;
  for (const FrameLogEntry& entry : log) {
    if (entry.code == netns::LOG_MARKER)
      continue;
    const std::vector<std::uint8_t> frame = entry.frame();
    const std::string line =
        format_log_line(0, entry.direction.c_str(), frame.data(), static_cast<int>(frame.size()));
    wire += line.substr(line.find(' ') + 1) + "\n";
  }
  return wire;
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

int RowOf(QTableWidget* list, const QString& ssid) {
  for (int row = 0; row < list->rowCount(); ++row)
    if (list->item(row, 0)->text() == ssid)
      return row;
  return -1;
}

class WizardOverVeth : public WizardOverVethTest {
protected:
  netns::Emulator& StartBridge(const char* mac, const std::vector<std::string>& faults = {}) {
    return StartEmulator(Scenario(mac), faults);
  }

  // From the device list, through the survey of the first bridge, to the row named `ssid`.
  void ChooseNetwork(const QString& ssid) {
    ASSERT_NO_FATAL_FAILURE(OpenWizard());
    wizard->ClickRow(CDeviceListPage::IDC_LIST, 0);
    wizard->Click(CDeviceListPage::IDC_NEXT);
    ASSERT_TRUE(wizard->Advance());
    ASSERT_TRUE(wizard->WaitForMessage(WM_SURVEY_RESULT));
    if (!ssid.isEmpty())
      ChooseRow(ssid);
  }

  void ChooseRow(const QString& ssid) {
    const int row = RowOf(wizard->Control<QTableWidget>(CSiteSurveyPage::IDC_LIST), ssid);
    ASSERT_GE(row, 0) << ssid.toStdString();
    wizard->ClickRow(CSiteSurveyPage::IDC_LIST, row);
  }

  void Next(int id, int expected_idd) {
    wizard->Click(id);
    ASSERT_TRUE(wizard->Advance()) << "page " << wizard->page()->Idd() << " stayed";
    ASSERT_EQ(wizard->page()->Idd(), expected_idd);
  }

  // Back from a security page to the site survey page, and its new survey done.
  void BackToSurvey(int back_id) {
    ASSERT_NO_FATAL_FAILURE(Next(back_id, CSiteSurveyPage::IDD));
    ASSERT_TRUE(wizard->WaitForMessage(WM_SURVEY_RESULT));
  }

  // Presses Next on the summary page, waits for the finish page and checks the text that the
  // bridge stored.
  void SaveAndExpect(const netns::Emulator& bridge, const std::string& settings) {
    ASSERT_EQ(wizard->page()->Idd(), CSummaryPage::IDD);
    ASSERT_EQ(Save(), "Save config successfully !");
    ASSERT_TRUE(wizard->Advance());
    ASSERT_EQ(wizard->page()->Idd(), CFinishPage::IDD);
    EXPECT_EQ(bridge.settings(), settings);
  }
};

using DeviceListOverVeth = WizardOverVeth;
using SaveOverVeth = WizardOverVeth;

} // namespace

TEST_F(DeviceListOverVeth, ListsEachBridgeAndSurveysTheChosenOne) {
  auto& first = StartBridge(BRIDGE_MAC);
  auto& second = StartBridge(SECOND_BRIDGE_MAC);
  ASSERT_NO_FATAL_FAILURE(OpenWizard());
  CPageBase* page = wizard->page();
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  const QPoint origin = page->pos();
  EXPECT_EQ(origin, QPoint(screen.width() / 4, screen.height() / 4));
  EXPECT_EQ(page->size(), QSize(635, 474));
  EXPECT_EQ(page->mask().boundingRect(), QRect(0, 0, 635, 474));
  EXPECT_EQ(page->windowTitle(), "QBR20G");
  EXPECT_FALSE(wizard->Control(CDeviceListPage::IDC_BACK)->isEnabled());
  EXPECT_FALSE(wizard->Control(CDeviceListPage::IDC_NEXT)->isEnabled());

  auto* list = wizard->Control<QTableWidget>(CDeviceListPage::IDC_LIST);
  ASSERT_EQ(list->rowCount(), 2);
  QStringList macs;
  for (int row = 0; row < 2; ++row) {
    EXPECT_EQ(list->item(row, 0)->text(), list->item(row, 1)->text());
    macs << list->item(row, 1)->text();
  }
  EXPECT_TRUE(macs.contains(BRIDGE_MAC) && macs.contains(SECOND_BRIDGE_MAC));
  EXPECT_EQ(QString::fromStdString(selected_device_mac.Get()), macs[1]) << "the last one listed";

  wizard->ClickRow(CDeviceListPage::IDC_LIST, 0);
  EXPECT_EQ(QString::fromStdString(selected_device_mac.Get()), macs[0]);
  wizard->Click(CDeviceListPage::IDC_NEXT);
  ASSERT_TRUE(wizard->Advance());
  ASSERT_TRUE(wizard->WaitForMessage(WM_SURVEY_RESULT));
  EXPECT_EQ(wizard->Control<QTableWidget>(CSiteSurveyPage::IDC_LIST)->rowCount(), 5);
  EXPECT_EQ(wizard->page()->pos(), origin) << "every page opens at the same corner";

  // Both emulators see the whole wire; count the begins addressed to each. An emulator logs a
  // frame a moment after the wizard has its answer, so the count is waited for.
  auto begins_to = [](const std::vector<FrameLogEntry>& log, const QString& mac) {
    return std::count_if(log.begin(), log.end(), [&](const FrameLogEntry& e) {
      return e.direction == "rx" && e.code == CMD_BEGIN && QString::fromStdString(e.dst) == mac;
    });
  };
  EXPECT_TRUE(first.wait_for([&](const auto& log) { return begins_to(log, macs[0]) >= 2; }))
      << "the chosen bridge was not surveyed";
  EXPECT_EQ(begins_to(second.log(), macs[1]), 0);
}

TEST_F(DeviceListOverVeth, RefreshClearsTheChoiceAndBackFromTheSurveySearchesAgain) {
  auto& bridge = StartBridge(BRIDGE_MAC);
  ASSERT_NO_FATAL_FAILURE(OpenWizard());
  wizard->ClickRow(CDeviceListPage::IDC_LIST, 0);
  wizard->Click(CDeviceListPage::IDC_REFRESH);
  EXPECT_EQ(wizard->Control<QTableWidget>(CDeviceListPage::IDC_LIST)->rowCount(), 0);
  EXPECT_EQ(selected_device_mac.Get(), "");
  EXPECT_TRUE(wizard->Control(CDeviceListPage::IDC_NEXT)->isEnabled());
  ASSERT_TRUE(wizard->WaitForMessage(WM_SEARCH_RESULT));
  EXPECT_EQ(selected_device_mac.Get(), BRIDGE_MAC);

  wizard->ClickRow(CDeviceListPage::IDC_LIST, 0);
  Next(CDeviceListPage::IDC_NEXT, CSiteSurveyPage::IDD);
  ASSERT_TRUE(wizard->WaitForMessage(WM_SURVEY_RESULT));
  auto probes = [&] {
    const auto log = bridge.log();
    return std::count_if(log.begin(), log.end(), [](const FrameLogEntry& e) {
      return e.direction == "rx" && e.code == CMD_PROBE && e.dst == "ff-ff-ff-ff-ff-ff";
    });
  };
  const auto before = probes();
  Next(CSiteSurveyPage::IDC_BACK, CDeviceListPage::IDD);
  ASSERT_TRUE(wizard->WaitForMessage(WM_SEARCH_RESULT));
  EXPECT_GT(probes(), before) << "a fresh device list searches again";
}

// Until a bridge has answered, Refresh List chooses the adapters again: a port that had no link
// at start-up and has one now is searched (the bridge was just plugged into it), and an adapter
// that has gone is dropped without a word. Once a bridge has answered, the search keeps to its
// adapter: a bridge plugged in elsewhere later is not probed.
TEST_F(DeviceListOverVeth, RefreshFindsABridgeOnAPortThatGotItsLinkAfterStartUp) {
  const auto sh = [](const std::string& command) { return std::system(command.c_str()); };
  // eth0 has a link and nothing behind it; eth1's cable is not plugged in (its peer is down);
  // eth2 comes and goes, like a USB adapter.
  net->add_veth(wizard_ns, "eth1", "02:00:00:00:0a:02", bridge_ns, "br1", "-", true, false);
  net->add_veth(wizard_ns, "eth2", "02:00:00:00:0a:03", bridge_ns, "br2", "-");
  ASSERT_NO_FATAL_FAILURE(OpenWizard());
  auto* list = wizard->Control<QTableWidget>(CDeviceListPage::IDC_LIST);
  EXPECT_EQ(list->rowCount(), 0);

  ASSERT_EQ(sh("ip -n " + wizard_ns + " link del eth2"), 0);
  ASSERT_EQ(sh("ip -n " + bridge_ns + " link set br1 up"), 0);
  auto& plugged = net->start_emulator(bridge_ns, "br1", Scenario(BRIDGE_MAC));
  // The kernel raises the carrier of a veth whose peer came up a moment later.
  std::this_thread::sleep_for(std::chrono::milliseconds{200});
  wizard->Click(CDeviceListPage::IDC_REFRESH);
  ASSERT_TRUE(wizard->WaitForMessage(WM_SEARCH_RESULT));
  ASSERT_EQ(list->rowCount(), 1);
  EXPECT_EQ(list->item(0, 1)->text(), BRIDGE_MAC);
  EXPECT_EQ(wizard->Status(CDeviceListPage::IDC_STATUS), "") << "the adapter gone is not told";
  EXPECT_EQ(host_adapter_macs.Get(), "02-00-00-00-0a-02");

  // A bridge plugged into eth0's wire now is not probed: the search keeps to eth1.
  auto& later = StartBridge(SECOND_BRIDGE_MAC);
  wizard->Click(CDeviceListPage::IDC_REFRESH);
  ASSERT_TRUE(wizard->WaitForMessage(WM_SEARCH_RESULT));
  ASSERT_EQ(list->rowCount(), 1);
  EXPECT_EQ(list->item(0, 1)->text(), BRIDGE_MAC);
  for (const FrameLogEntry& entry : later.log())
    EXPECT_NE(entry.direction, "rx") << "a frame reached eth0's wire: " << entry.src;

  wizard->ClickRow(CDeviceListPage::IDC_LIST, 0);
  Next(CDeviceListPage::IDC_NEXT, CSiteSurveyPage::IDD);
  ASSERT_TRUE(wizard->WaitForMessage(WM_SURVEY_RESULT));
  EXPECT_EQ(wizard->Control<QTableWidget>(CSiteSurveyPage::IDC_LIST)->rowCount(), 5);
  (void)plugged;
}

TEST_F(WizardOverVeth, OpenNetworkFromTheList) {
  auto& bridge = StartBridge(BRIDGE_MAC);
  ASSERT_NO_FATAL_FAILURE(ChooseNetwork("OpenCafe"));
  Next(CSiteSurveyPage::IDC_NEXT, CSummaryPage::IDD);
  EXPECT_EQ(wizard->as<CSummaryPage>()->Origin(), 0);
  SaveAndExpect(bridge, OPEN_FROM_LIST);
}

// The browser that Visit Web Site starts, with the bridge found, surveyed and saved: it inherits
// no socket of the wizard's (the link's packet sockets live in the link helper, and every
// descriptor the wizard opens is close-on-exec).
TEST_F(WizardOverVeth, TheBrowserStartedByTheFinishPageInheritsNoSocket) {
  auto& bridge = StartBridge(BRIDGE_MAC);
  ASSERT_NO_FATAL_FAILURE(ChooseNetwork("OpenCafe"));
  Next(CSiteSurveyPage::IDC_NEXT, CSummaryPage::IDD);
  ASSERT_NO_FATAL_FAILURE(SaveAndExpect(bridge, OPEN_FROM_LIST));

  // Stand-ins for every program on the way to the browser: xdg-open where the platform uses
  // it, else xdg-mime and the browser its answer names.
  const std::filesystem::path bin = net->files() + "/bin";
  const std::filesystem::path applications = net->files() + "/share/applications";
  std::filesystem::create_directories(bin);
  std::filesystem::create_directories(applications);
  for (const char* name : {"xdg-open", "xdg-mime", "browser"})
    std::filesystem::copy_file(QBR20G_FD_REPORT, bin / name);
  std::ofstream(applications / "qbr20g-test-browser.desktop")
      << "[Desktop Entry]\nType=Application\nName=Browser\nExec=" << (bin / "browser").string()
      << " %u\n";
  setenv("PATH", (bin.string() + ":" + std::getenv("PATH")).c_str(), 1);
  setenv("XDG_DATA_HOME", (net->files() + "/share").c_str(), 1);
  SetLinkOpener(nullptr); // the real way to the browser, which the test suites otherwise skip
  wizard->Click(CFinishPage::IDC_WEB_SITE);
  const auto started = [&](const char* name) {
    return std::filesystem::exists(bin / (std::string("fd-report-") + name));
  };
  for (int waited = 0; waited < 10000 && !started("xdg-open") && !started("browser"); waited += 20)
    QTest::qWait(20);
  SetLinkOpener([](const QString&) { return OPEN_LINK_NO_ASSOCIATION; });
  ASSERT_TRUE(started("xdg-open") || started("browser")) << "no browser was started";

  for (const char* name : {"xdg-open", "xdg-mime", "browser"}) {
    std::ifstream lines(bin / (std::string("fd-report-") + name));
    std::string fd;
    std::string target;
    while (lines >> fd >> target) {
      if (fd == "0" || fd == "1" || fd == "2")
        continue;
      EXPECT_EQ(target.rfind("socket:", 0), std::string::npos)
          << name << " inherited descriptor " << fd << " (" << target << ")";
    }
  }
}

TEST_F(WizardOverVeth, Wep64AsciiKey) {
  auto& bridge = StartBridge(BRIDGE_MAC);
  ASSERT_NO_FATAL_FAILURE(ChooseNetwork("OldPrinter"));
  Next(CSiteSurveyPage::IDC_NEXT, CWepPage::IDD);
  wizard->Choose(CWepPage::IDC_FORMAT, 0);
  wizard->Type(CWepPage::IDC_KEY1, "abcde");
  Next(CWepPage::IDC_NEXT, CSummaryPage::IDD);
  SaveAndExpect(bridge, WEP64_ASCII);
}

TEST_F(WizardOverVeth, Wep128HexOnKeyTwo) {
  auto& bridge = StartBridge(BRIDGE_MAC);
  ASSERT_NO_FATAL_FAILURE(ChooseNetwork("OldPrinter"));
  Next(CSiteSurveyPage::IDC_NEXT, CWepPage::IDD);
  wizard->Type(CWepPage::IDC_KEY1 + 1, "00112233445566778899AABBCC");
  wizard->Control<QComboBox>(CWepPage::IDC_DEFAULT_KEY)->setCurrentIndex(1);
  Next(CWepPage::IDC_NEXT, CSummaryPage::IDD);
  SaveAndExpect(bridge, WEP128_HEX_KEY2);
}

TEST_F(WizardOverVeth, WpaPskFromTheListIsLockedOnItsMode) {
  auto& bridge = StartBridge(BRIDGE_MAC);
  ASSERT_NO_FATAL_FAILURE(ChooseNetwork("Office"));
  Next(CSiteSurveyPage::IDC_NEXT, CWpaPage::IDD);
  EXPECT_FALSE(wizard->Control(CWpaPage::IDC_MODE)->isEnabled());
  EXPECT_EQ(wizard->Control<QLineEdit>(CWpaPage::IDC_CIPHER)->text(), "TKIP");
  wizard->Type(CWpaPage::IDC_PASSPHRASE, "office passphrase");
  Next(CWpaPage::IDC_NEXT, CSummaryPage::IDD);
  EXPECT_EQ(wizard->as<CSummaryPage>()->Origin(), 3);
  SaveAndExpect(bridge, WPA_FROM_LIST);
}

TEST_F(WizardOverVeth, Wpa2ChosenOnTheSecurityPageAfterManualEntry) {
  auto& bridge = StartBridge(BRIDGE_MAC);
  ASSERT_NO_FATAL_FAILURE(ChooseNetwork(QString()));
  wizard->Click(CSiteSurveyPage::IDC_MANUAL);
  wizard->Type(CSiteSurveyPage::IDC_SSID, "Typed Net");
  Next(CSiteSurveyPage::IDC_NEXT, CSecurityPage::IDD);
  ASSERT_TRUE(wizard->ChooseTo(CSecurityPage::IDC_MODE, 3, CWpaPage::IDD));
  EXPECT_TRUE(wizard->Control(CWpaPage::IDC_MODE)->isEnabled());
  wizard->Type(CWpaPage::IDC_PASSPHRASE, "twelve chars");
  Next(CWpaPage::IDC_NEXT, CSummaryPage::IDD);
  EXPECT_EQ(wizard->as<CSummaryPage>()->Origin(), 4);
  SaveAndExpect(bridge, WPA2_TYPED);
}

TEST_F(WizardOverVeth, HiddenSsidTypedByHand) {
  auto& bridge = StartBridge(BRIDGE_MAC);
  ASSERT_NO_FATAL_FAILURE(ChooseNetwork("[HiddenSSID]"));
  wizard->Type(CSiteSurveyPage::IDC_SSID, "Backroom");
  Next(CSiteSurveyPage::IDC_NEXT, CWpaPage::IDD);
  wizard->Type(CWpaPage::IDC_PASSPHRASE, "hidden but safe");
  Next(CWpaPage::IDC_NEXT, CSummaryPage::IDD);
  SaveAndExpect(bridge, HIDDEN_WPA2);
}

TEST_F(WizardOverVeth, DisableAfterAWpaVisitKeepsThePassphrase) {
  auto& bridge = StartBridge(BRIDGE_MAC);
  ASSERT_NO_FATAL_FAILURE(ChooseNetwork("Home"));
  Next(CSiteSurveyPage::IDC_NEXT, CWpaPage::IDD);
  wizard->Type(CWpaPage::IDC_PASSPHRASE, "home passphrase");
  Next(CWpaPage::IDC_NEXT, CSummaryPage::IDD);
  Next(CSummaryPage::IDC_BACK, CWpaPage::IDD);
  ASSERT_NO_FATAL_FAILURE(BackToSurvey(CWpaPage::IDC_BACK));
  ASSERT_NO_FATAL_FAILURE(ChooseRow("OpenCafe"));
  Next(CSiteSurveyPage::IDC_NEXT, CSummaryPage::IDD);
  SaveAndExpect(bridge, Settings("OpenCafe", "0", "0", "0", NO_KEYS, "1", "home passphrase"));
}

// Every frame of a flow through every page, against a recording: moving code about must not
// change a byte on the wire. When the wire changes on purpose, the test writes what it saw
// beside itself; that file becomes the new recording.
TEST_F(WizardOverVeth, AFlowThroughEveryPageSendsTheRecordedFrames) {
  auto& bridge = StartBridge(BRIDGE_MAC);
  ASSERT_NO_FATAL_FAILURE(ChooseNetwork("OldPrinter"));
  Next(CSiteSurveyPage::IDC_NEXT, CWepPage::IDD);
  wizard->Type(CWepPage::IDC_KEY1, "00112233445566778899AABBCC");
  Next(CWepPage::IDC_NEXT, CSummaryPage::IDD);
  Next(CSummaryPage::IDC_BACK, CWepPage::IDD);
  ASSERT_TRUE(wizard->ChooseTo(CWepPage::IDC_MODE, 3, CWpaPage::IDD));
  ASSERT_NO_FATAL_FAILURE(BackToSurvey(CWpaPage::IDC_BACK));
  wizard->Click(CSiteSurveyPage::IDC_MANUAL);
  wizard->Type(CSiteSurveyPage::IDC_SSID, "Typed Net");
  Next(CSiteSurveyPage::IDC_NEXT, CSecurityPage::IDD);
  Next(CSecurityPage::IDC_NEXT, CSummaryPage::IDD);
  SaveAndExpect(bridge,
                Settings("Typed Net", "0", "0", "0",
                         "7006 :00112233445566778899AABBCC\n7007 :\n7008 :\n7009 :\n", "1", ""));

  std::uint8_t own[MAC_SIZE];
  std::uint8_t peer[MAC_SIZE];
  ASSERT_EQ(mac_text_to_bytes(WIZARD_MAC, own), 0);
  ASSERT_EQ(mac_text_to_bytes(BRIDGE_MAC, peer), 0);
  const std::string wire = Wire(bridge.settled_log(own, peer));
  const std::string recorded = ReadFile(QBR20G_RECORDED_FLOW);
  if (wire != recorded) {
    std::ofstream("recorded_flow.actual.txt", std::ios::binary) << wire;
    ADD_FAILURE() << "the wire differs from " << QBR20G_RECORDED_FLOW
                  << "; what was seen is in recorded_flow.actual.txt of the test's folder";
  }
}

// Escape ends the wizard from a deep page, as Exit does; Enter there is Next and keeps the work.
TEST_F(WizardOverVeth, EscapeEndsTheWizardFromADeepPageAndEnterGoesOn) {
  StartBridge(BRIDGE_MAC);
  ASSERT_NO_FATAL_FAILURE(ChooseNetwork("Office"));
  Next(CSiteSurveyPage::IDC_NEXT, CWpaPage::IDD);
  Next(CWpaPage::IDC_BACK, CSiteSurveyPage::IDD);
  wizard->Click(CSiteSurveyPage::IDC_MANUAL);
  wizard->Type(CSiteSurveyPage::IDC_SSID, "x");
  Next(CSiteSurveyPage::IDC_NEXT, CSecurityPage::IDD);
  QTest::keyClick(wizard->page(), Qt::Key_Return);
  ASSERT_TRUE(wizard->Advance()) << "Enter ended the wizard";
  ASSERT_EQ(wizard->page()->Idd(), CSummaryPage::IDD);
  EXPECT_STREQ(WirelessSettings.ssid, "x") << "what was typed is kept";
  QTest::keyClick(wizard->page(), Qt::Key_Escape);
  EXPECT_FALSE(wizard->Advance()) << "Escape ended the wizard";
}

TEST_F(SaveOverVeth, AFailedSaveSendsNothingMoreAndCanBeRetried) {
  auto& bridge = StartBridge(BRIDGE_MAC, {"drop write-settings 2"});
  ASSERT_NO_FATAL_FAILURE(ChooseNetwork("OpenCafe"));
  Next(CSiteSurveyPage::IDC_NEXT, CSummaryPage::IDD);
  wizard->Click(CSummaryPage::IDC_NEXT);
  ASSERT_TRUE(wizard->WaitForMessage(WM_SAVE_RESULT));
  EXPECT_EQ(wizard->Status(CSummaryPage::IDC_STATUS), "Save config failed !");
  EXPECT_TRUE(wizard->Control(CSummaryPage::IDC_NEXT)->isEnabled());

  // After the two unanswered settings writes the wizard sent nothing more.
  const auto log = bridge.log();
  std::vector<std::uint32_t> after_survey;
  bool done_seen = false;
  for (const FrameLogEntry& e : log) {
    if (e.direction != "rx")
      continue;
    if (e.code == CMD_DONE) {
      done_seen = true;
      after_survey.clear();
      continue;
    }
    if (done_seen)
      after_survey.push_back(e.code);
  }
  EXPECT_EQ(after_survey, (std::vector<std::uint32_t>{CMD_BEGIN, CMD_WRITE, CMD_WRITE}));

  wizard->Click(CSummaryPage::IDC_NEXT);
  ASSERT_TRUE(wizard->WaitForMessage(WM_SAVE_RESULT));
  EXPECT_EQ(wizard->Status(CSummaryPage::IDC_STATUS), "Save config successfully !");
  ASSERT_TRUE(wizard->Advance());
  EXPECT_EQ(wizard->page()->Idd(), CFinishPage::IDD);
  EXPECT_EQ(bridge.settings(), Settings("OpenCafe", "0", "0", "0", NO_KEYS, "1", ""));
}

TEST_F(WizardOverVeth, NoWiredAdapterShowsOnlyTheStartUpError) {
  const std::string empty = net->add_namespace("bare");
  net->enter(empty);
  QString reported;
  theApp.report_startup_failure = [&](const QString& text) { reported = text; };
  EXPECT_FALSE(theApp.InitInstance());
  EXPECT_EQ(theApp.ExitInstance(), 1) << "the failure is the process's exit status";
  theApp.report_startup_failure = nullptr;
  EXPECT_TRUE(reported.startsWith("Error: NIC not found!\n\n")) << reported.toStdString();
  EXPECT_TRUE(reported.contains("cable")) << "the fix follows the primary line";
  EXPECT_FALSE(reported.contains("setcap")) << "as root, rights are not the cause";
  EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty() ||
              std::none_of(QApplication::topLevelWidgets().begin(),
                           QApplication::topLevelWidgets().end(),
                           [](QWidget* w) { return w->isVisible(); }));
}
