// One whole flow per security mode, by key presses only, with real frames over veth against the
// emulator: the bridge found, a network chosen, its key typed, the settings saved, the wizard
// ended, and not one mouse event on the way. Each flow ends with the exact settings text that
// the bridge stored, as the flows by mouse do.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QTableWidget>
#include <QTranslator>

#include <cstdlib>

#include "link/link_frame.h"
#include "link/mac_text.h"
#include "link/translation.h"
#include "platform/ui_language.h"
#include "res/page_text.h"
#include "tests/gui/keyboard_driver.h"
#include "tests/netns/flow_settings.h"
#include "tests/netns/wizard_over_veth.h"
#include "wizard/finish_page.h"
#include "wizard/security_page.h"
#include "wizard/site_survey_page.h"
#include "wizard/summary_page.h"
#include "wizard/wep_page.h"
#include "wizard/wpa_page.h"

namespace {

const char* const BRIDGE = "02-00-00-00-0b-01";

class KeyboardOverVeth : public WizardOverVethTest {
protected:
  CPageBase* Page() const { return wizard->page(); }
  void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    KeyboardDriver::Press(Page(), key, modifiers);
  }
  void Type(const QString& text) { KeyboardDriver::Type(Page(), text); }
  void TabTo(const QString& name) { KeyboardDriver::TabTo(Page(), name); }
  QString Focus() const { return KeyboardDriver::FocusName(Page()); }

  // Enter, and the page that the flow hands over to.
  void EnterTo(int idd) {
    Press(Qt::Key_Return);
    ASSERT_TRUE(wizard->Advance()) << "page " << Page()->Idd() << " stayed";
    ASSERT_EQ(Page()->Idd(), idd);
  }

  // Start-up, the first bridge chosen with the arrows, and the survey it makes.
  void ToTheSurvey() {
    ASSERT_NO_FATAL_FAILURE(OpenWizard());
    ASSERT_EQ(Focus(), "Bridges on the network");
    Press(Qt::Key_Down);
    ASSERT_NO_FATAL_FAILURE(EnterTo(CSiteSurveyPage::IDD));
    ASSERT_TRUE(wizard->WaitForMessage(WM_SURVEY_RESULT));
    ASSERT_EQ(Focus(), "Wireless networks");
  }

  // Down the network list until the row named `ssid` is chosen.
  void ArrowTo(const QString& ssid) {
    auto* list = wizard->Control<QTableWidget>(CSiteSurveyPage::IDC_LIST);
    for (int presses = 0; presses <= list->rowCount(); ++presses) {
      const auto selected = list->selectedItems();
      if (!selected.isEmpty() && list->item(selected.first()->row(), 0)->text() == ssid)
        return;
      Press(Qt::Key_Down);
    }
    FAIL() << "no row " << ssid.toStdString();
  }

  // On the security page: WPA2-PSK, the fourth entry. The list opens with Alt+Down; the arrows
  // move in it, and Enter chooses without leaving.
  void ChooseWpa2FromTheList() {
    Press(Qt::Key_Down, Qt::AltModifier);
    ASSERT_NE(QApplication::activePopupWidget(), nullptr) << "the list did not open";
    for (int i = 0; i < 3; ++i)
      Press(Qt::Key_Down);
    Press(Qt::Key_Return);
    ASSERT_TRUE(wizard->Advance());
    ASSERT_EQ(Page()->Idd(), CWpaPage::IDD);
    EXPECT_EQ(wizard->as<CWpaPage>()->SecurityModeNumber(), 3);
  }

  // On the summary page: Enter saves; on the finish page Enter ends the wizard.
  void SaveEndAndExpect(const netns::Emulator& bridge, const std::string& settings) {
    ASSERT_EQ(Page()->Idd(), CSummaryPage::IDD);
    ASSERT_EQ(Focus(), "Next");
    Press(Qt::Key_Return);
    ASSERT_TRUE(wizard->WaitForMessage(WM_SAVE_RESULT));
    ASSERT_EQ(wizard->Status(CSummaryPage::IDC_STATUS), "Save config successfully !");
    ASSERT_TRUE(wizard->Advance());
    ASSERT_EQ(Page()->Idd(), CFinishPage::IDD);
    EXPECT_EQ(bridge.settings(), settings);
    Press(Qt::Key_Return);
    EXPECT_FALSE(wizard->Advance()) << "Enter ends the wizard on the finish page";
  }

  MouseWatch mouse;
};

} // namespace

TEST_F(KeyboardOverVeth, DisableForAnOpenNetworkFromTheList) {
  auto& bridge = StartEmulator(Scenario(BRIDGE));
  ASSERT_NO_FATAL_FAILURE(ToTheSurvey());
  ASSERT_NO_FATAL_FAILURE(ArrowTo("OpenCafe"));
  ASSERT_NO_FATAL_FAILURE(EnterTo(CSummaryPage::IDD));
  SaveEndAndExpect(bridge, OPEN_FROM_LIST);
  EXPECT_EQ(mouse.events(), 0);
}

TEST_F(KeyboardOverVeth, WepWithAnAsciiKeyAndTheFormatChosenByArrow) {
  auto& bridge = StartEmulator(Scenario(BRIDGE));
  ASSERT_NO_FATAL_FAILURE(ToTheSurvey());
  ASSERT_NO_FATAL_FAILURE(ArrowTo("OldPrinter"));
  ASSERT_NO_FATAL_FAILURE(EnterTo(CWepPage::IDD));
  ASSERT_EQ(Focus(), "Key 1");
  ASSERT_NO_FATAL_FAILURE(TabTo("Key format"));
  Press(Qt::Key_Up);
  EXPECT_EQ(wizard->Control<QComboBox>(CWepPage::IDC_FORMAT)->currentText(), "ASCII");
  EXPECT_EQ(wizard->as<CWepPage>()->HintBitmap(), ASCII_KEY_HINT);
  ASSERT_NO_FATAL_FAILURE(TabTo("Key 1"));
  Type("abcde");
  ASSERT_NO_FATAL_FAILURE(EnterTo(CSummaryPage::IDD));
  SaveEndAndExpect(bridge, WEP64_ASCII);
  EXPECT_EQ(mouse.events(), 0);
}

TEST_F(KeyboardOverVeth, WpaPskWithAShortPassphraseFirst) {
  auto& bridge = StartEmulator(Scenario(BRIDGE));
  ASSERT_NO_FATAL_FAILURE(ToTheSurvey());
  ASSERT_NO_FATAL_FAILURE(ArrowTo("Office"));
  ASSERT_NO_FATAL_FAILURE(EnterTo(CWpaPage::IDD));
  ASSERT_EQ(Focus(), "Passphrase");
  Type("short");
  Press(Qt::Key_Return);
  EXPECT_EQ(wizard->Status(CWpaPage::IDC_STATUS), "Passphrase at least 8 characters !");
  ASSERT_TRUE(Page()->isVisible()) << "Enter kept the page and what was typed";
  Type(" but now long");
  ASSERT_NO_FATAL_FAILURE(EnterTo(CSummaryPage::IDD));
  SaveEndAndExpect(bridge, Settings("Office", "2", "32", "0", NO_KEYS, "0", "short but now long"));
  EXPECT_EQ(mouse.events(), 0);
}

TEST_F(KeyboardOverVeth, Wpa2ForAnSsidTypedByHandAndChosenOnTheSecurityPage) {
  auto& bridge = StartEmulator(Scenario(BRIDGE));
  ASSERT_NO_FATAL_FAILURE(ToTheSurvey());
  ASSERT_NO_FATAL_FAILURE(TabTo("From list"));
  Press(Qt::Key_Down); // the arrows move within the pair, and choose
  ASSERT_EQ(Focus(), "Manual") << "the arrows keep the focus in the pair";
  ASSERT_TRUE(wizard->Control(CSiteSurveyPage::IDC_SSID)->isEnabled());
  ASSERT_NO_FATAL_FAILURE(TabTo("SSID"));
  Type("Typed Net");
  ASSERT_NO_FATAL_FAILURE(EnterTo(CSecurityPage::IDD));
  ASSERT_EQ(Focus(), "Security");
  ASSERT_NO_FATAL_FAILURE(ChooseWpa2FromTheList());
  ASSERT_EQ(Focus(), "Passphrase");
  Type("twelve chars");
  ASSERT_NO_FATAL_FAILURE(EnterTo(CSummaryPage::IDD));
  SaveEndAndExpect(bridge, WPA2_TYPED);
  EXPECT_EQ(mouse.events(), 0);
}

// The flow of an SSID typed by hand, by keys, in English and then in German against the same
// bridge: in German every name the focus lands on and every status line is German, the
// bridge stores the same settings, and the wizard sends the same bytes as in English.
TEST_F(KeyboardOverVeth, InGermanEveryPageAndStatusLineIsGermanAndTheFramesAreTheEnglishOnes) {
  auto& bridge = StartEmulator(Scenario(BRIDGE));
  std::uint8_t own[MAC_SIZE];
  std::uint8_t peer[MAC_SIZE];
  ASSERT_EQ(mac_text_to_bytes(WIZARD_MAC, own), 0);
  ASSERT_EQ(mac_text_to_bytes(BRIDGE, peer), 0);
  std::vector<std::string> requests[2];
  std::vector<QString> heard[2];
  std::size_t logged = 0;
  QTranslator german_words;
  ASSERT_TRUE(german_words.load(QStringLiteral(":/i18n/qbr20g_de.qm")));
  for (const int run : {0, 1}) {
    const bool german = run == 1;
    setenv("LANGUAGE", german ? "de" : "en", 1);
    translation::set_up_messages(QBR20G_LOCALE_OUTPUT);
    SetUiLanguage(german ? QStringLiteral("de") : QString());
    // The name the focus must land on, in the language shown.
    const auto expect_focus = [&](const char* english) {
      const QString name = Focus();
      heard[run].push_back(name);
      EXPECT_EQ(name, PageText(english));
      if (german) {
        // Some words are the same in German ("Passphrase"): the catalogue must have them all.
        EXPECT_FALSE(german_words.translate("PageWords", english).isEmpty())
            << english << " is not translated";
      }
    };
    const auto expect_status = [&](int id, const QString& english) {
      const QString status = wizard->Status(id);
      heard[run].push_back(status);
      if (german) {
        EXPECT_NE(status, english) << "left in English";
      } else {
        EXPECT_EQ(status, english);
      }
    };

    if (run == 0) {
      ASSERT_NO_FATAL_FAILURE(OpenWizard());
    } else {
      // The same process, in the wizard's namespace already: start-up as the wizard makes it.
      ASSERT_TRUE(start_up_link());
      wizard = std::make_unique<WizardDriver>(std::make_unique<CDeviceListPage>());
      ASSERT_TRUE(wizard->WaitForMessage(WM_SEARCH_RESULT));
    }
    expect_focus("Bridges on the network");
    Press(Qt::Key_Down);
    ASSERT_NO_FATAL_FAILURE(EnterTo(CSiteSurveyPage::IDD));
    ASSERT_TRUE(wizard->WaitForMessage(WM_SURVEY_RESULT));
    expect_focus("Wireless networks");
    expect_status(CSiteSurveyPage::IDC_STATUS, "There are 5 wireless networks.");
    ASSERT_NO_FATAL_FAILURE(TabTo(PageText("From list")));
    Press(Qt::Key_Down);
    expect_focus("Manual");
    ASSERT_NO_FATAL_FAILURE(TabTo("SSID"));
    Type("Typed Net");
    ASSERT_NO_FATAL_FAILURE(EnterTo(CSecurityPage::IDD));
    expect_focus("Security");
    ASSERT_NO_FATAL_FAILURE(ChooseWpa2FromTheList());
    expect_focus("Passphrase");
    Type("short");
    Press(Qt::Key_Return);
    expect_status(CWpaPage::IDC_STATUS, "Passphrase at least 8 characters !");
    Type(" but now long");
    ASSERT_NO_FATAL_FAILURE(EnterTo(CSummaryPage::IDD));
    expect_focus("Next");
    Press(Qt::Key_Return);
    ASSERT_TRUE(wizard->WaitForMessage(WM_SAVE_RESULT));
    expect_status(CSummaryPage::IDC_STATUS, "Save config successfully !");
    ASSERT_TRUE(wizard->Advance());
    ASSERT_EQ(Page()->Idd(), CFinishPage::IDD);
    EXPECT_EQ(bridge.settings(),
              Settings("Typed Net", "3", "32", "0", NO_KEYS, "1", "short but now long"));
    Press(Qt::Key_Return);
    EXPECT_FALSE(wizard->Advance()) << "Enter ends the wizard on the finish page";
    wizard.reset();

    // What the wizard sent in this run, the markers that settle the log left out.
    const std::vector<FrameLogEntry> log = bridge.settled_log(own, peer);
    for (std::size_t i = logged; i < log.size(); ++i) {
      const FrameLogEntry& entry = log[i];
      if (entry.direction == "rx" && entry.code != netns::LOG_MARKER) {
        const std::vector<std::uint8_t> frame = entry.frame();
        requests[run].emplace_back(frame.begin(), frame.end());
      }
    }
    logged = log.size();
  }
  setenv("LANGUAGE", "en", 1);
  translation::set_up_messages(QBR20G_LOCALE_OUTPUT);
  SetUiLanguage(QString());

  ASSERT_GT(requests[0].size(), 10u);
  EXPECT_TRUE(requests[1] == requests[0])
      << "the German flow sent " << requests[1].size() << " frames, the English one "
      << requests[0].size() << ", and they differ";
  ASSERT_EQ(heard[1].size(), heard[0].size());
  for (std::size_t i = 0; i < heard[0].size(); ++i)
    std::printf("%s | %s\n", qPrintable(heard[0][i]), qPrintable(heard[1][i]));
  EXPECT_EQ(mouse.events(), 0);
}
