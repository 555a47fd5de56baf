// Enter in every field of every page: the wizard goes on running, and it either moves on exactly
// as Next would, or shows the message that Next would show, or, where Next is disabled, does
// nothing at all. Each case runs twice from the same start, once with a click on Next and once
// with Enter in the field, and the two outcomes must be the same.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "skin/progress_banner.h"
#include "tests/gui/bridge_pages.h"
#include "tests/gui/keyboard_driver.h"
#include "tests/gui/qt_printers.h"
#include "wizard/device_list_page.h"
#include "wizard/finish_page.h"
#include "wizard/report_list.h"
#include "wizard/security_page.h"
#include "wizard/summary_page.h"
#include "wizard/wep_page.h"
#include "wizard/wpa_page.h"

namespace {

// What became of the wizard: the page that shows after the action (its id, or 0 once the
// wizard has ended), the status line of the page acted on, and the records it wrote.
struct Outcome {
  int page = 0;
  QString status;
  std::string records;
  friend bool operator==(const Outcome&, const Outcome&) = default;
};

void PrintTo(const Outcome& outcome, std::ostream* out) {
  *out << "page " << outcome.page << ", status \"" << outcome.status.toStdString()
       << "\", records \"" << outcome.records << '"';
}

std::string Records() {
  const auto field = [](const char* text, std::size_t size) {
    return std::string(text, strnlen(text, size)) + "|";
  };
  return field(WirelessSettings.ssid, sizeof WirelessSettings.ssid) +
         field(WirelessSettings.channel, sizeof WirelessSettings.channel) +
         field(WirelessSettings.security, sizeof WirelessSettings.security) +
         field(WirelessKeys.wep_key1, sizeof WirelessKeys.wep_key1) +
         field(WirelessKeys.key_index, sizeof WirelessKeys.key_index) +
         field(WirelessKeys.passphrase, sizeof WirelessKeys.passphrase);
}

QPushButton* NextButton(QWidget* page) {
  for (QPushButton* button : page->findChildren<QPushButton*>())
    if (button->accessibleName() == "Next")
      return button;
  return nullptr;
}

// One start: the page opened and made ready, and the field that then takes Enter.
struct Start {
  std::string what;
  std::function<std::unique_ptr<WizardDriver>(BridgePages&)> open;
  std::function<void(WizardDriver&)> prepare;
  int field;
};

std::unique_ptr<WizardDriver> Open(std::unique_ptr<CPageBase> page) {
  return std::make_unique<WizardDriver>(std::move(page));
}

std::unique_ptr<WizardDriver> OpenDeviceList(BridgePages&) {
  auto wizard = Open(std::make_unique<CDeviceListPage>());
  EXPECT_TRUE(wizard->WaitForMessage(WM_SEARCH_RESULT));
  return wizard;
}

std::unique_ptr<WizardDriver> OpenSurvey(BridgePages& fixture) { return fixture.OpenSurvey(); }

std::unique_ptr<WizardDriver> OpenWpa(BridgePages&) {
  auto page = std::make_unique<CWpaPage>();
  page->SetSecurityModeNumber(2);
  return Open(std::move(page));
}

void Nothing(WizardDriver&) {}

std::string BridgeMacText() {
  char text[MAC_TEXT_SIZE];
  mac_bytes_to_text(BRIDGE_MAC, text);
  return text;
}

std::vector<Start> Starts() {
  std::vector<Start> starts = {
      {"device list, nothing chosen", OpenDeviceList, Nothing, CDeviceListPage::IDC_LIST},
      {"device list, a bridge chosen", OpenDeviceList,
       [](WizardDriver& w) {
         // The in-process bridge is not searched for on an adapter: its row is put in the list.
         const QString mac = QString::fromStdString(BridgeMacText());
         w.Control<ReportList>(CDeviceListPage::IDC_LIST)->SetRows({{mac, mac}});
         w.ClickRow(CDeviceListPage::IDC_LIST, 0);
       },
       CDeviceListPage::IDC_LIST},
      {"survey, nothing chosen", OpenSurvey, Nothing, CSiteSurveyPage::IDC_LIST},
      {"survey, a WPA network chosen", OpenSurvey,
       [](WizardDriver& w) { w.ClickRow(CSiteSurveyPage::IDC_LIST, 2); },
       CSiteSurveyPage::IDC_LIST},
      {"survey, a hidden network chosen, no name typed", OpenSurvey,
       [](WizardDriver& w) { w.ClickRow(CSiteSurveyPage::IDC_LIST, 3); },
       CSiteSurveyPage::IDC_SSID},
      {"security", [](BridgePages&) { return Open(std::make_unique<CSecurityPage>()); }, Nothing,
       CSecurityPage::IDC_MODE},
      {"summary", [](BridgePages&) { return Open(std::make_unique<CSummaryPage>()); }, Nothing,
       CSummaryPage::IDC_NEW_SSID},
  };
  const auto manual = [](WizardDriver& w) {
    w.Click(CSiteSurveyPage::IDC_MANUAL);
    w.Type(CSiteSurveyPage::IDC_SSID, "Typed Net");
  };
  for (const int field : {int{CSiteSurveyPage::IDC_SSID}, int{CSiteSurveyPage::IDC_CHANNEL},
                          int{CSiteSurveyPage::IDC_MANUAL}})
    starts.push_back({"survey, an SSID typed by hand", OpenSurvey, manual, field});

  const auto wep = [](BridgePages&) { return Open(std::make_unique<CWepPage>()); };
  const auto one_key = [](WizardDriver& w) { w.Type(CWepPage::IDC_KEY1, "0123456789"); };
  for (const int field :
       std::vector<int>{CWepPage::IDC_KEY1, CWepPage::IDC_KEY1 + 1, CWepPage::IDC_KEY1 + 2,
                        CWepPage::IDC_KEY1 + 3, CWepPage::IDC_DEFAULT_KEY, CWepPage::IDC_FORMAT,
                        CWepPage::IDC_MODE}) {
    starts.push_back({"WEP, no key", wep, Nothing, field});
    starts.push_back({"WEP, one key", wep, one_key, field});
  }
  const auto short_passphrase = [](WizardDriver& w) { w.Type(CWpaPage::IDC_PASSPHRASE, "short"); };
  const auto passphrase = [](WizardDriver& w) { w.Type(CWpaPage::IDC_PASSPHRASE, "long enough"); };
  for (const int field :
       {int{CWpaPage::IDC_PASSPHRASE}, int{CWpaPage::IDC_CIPHER}, int{CWpaPage::IDC_MODE}}) {
    starts.push_back({"WPA, short passphrase", OpenWpa, short_passphrase, field});
    starts.push_back({"WPA, passphrase", OpenWpa, passphrase, field});
  }
  return starts;
}

class EnterKey : public BridgePages {
protected:
  // Opens and prepares the start, then acts: Enter in its field, or a click on Next.
  Outcome Run(const Start& start, bool enter) {
    SetUp();
    std::unique_ptr<WizardDriver> wizard = start.open(*this);
    start.prepare(*wizard);
    CPageBase* page = wizard->page();
    auto* status = page->findChild<CTransparentLabel*>();
    if (enter) {
      QWidget* field = wizard->Control(start.field);
      EXPECT_NE(field, nullptr) << start.what;
      field->setFocus();
      KeyboardDriver::Press(page, Qt::Key_Return);
    } else if (QPushButton* next = NextButton(page); next != nullptr && next->isEnabled()) {
      next->click();
    }
    // A save runs on: its outcome is the one to compare.
    if (wizard->as<CSummaryPage>() && wizard->as<CSummaryPage>()->Banner()->isVisible()) {
      EXPECT_TRUE(wizard->WaitForMessage(WM_SAVE_RESULT));
    }
    Outcome outcome{page->Idd(), status ? status->Text() : QString(), Records()};
    if (!page->isVisible())
      outcome.page = wizard->Advance() ? wizard->page()->Idd() : 0;
    return outcome;
  }
};

} // namespace

TEST_F(EnterKey, InEveryFieldDoesWhatNextDoesAndNeverEndsTheWizard) {
  for (const Start& start : Starts()) {
    SCOPED_TRACE(start.what + ", field " + std::to_string(start.field));
    const Outcome by_next = Run(start, false);
    const Outcome by_enter = Run(start, true);
    EXPECT_EQ(by_enter, by_next);
    EXPECT_NE(by_enter.page, 0) << "the wizard ended";
  }
}

TEST_F(EnterKey, OnTheFinishPageEndsTheWizardAsExitDoes) {
  WizardDriver wizard(std::make_unique<CFinishPage>());
  EXPECT_EQ(KeyboardDriver::FocusName(wizard.page()), "Exit");
  KeyboardDriver::Press(wizard.page(), Qt::Key_Return);
  EXPECT_FALSE(wizard.page()->isVisible());
  EXPECT_TRUE(wizard.page()->Ended());
}

// After a failed save the focus is back on Next, so the Enter that pressed it can press it again;
// while the save runs, Back and Next are disabled, and Enter does nothing.
TEST_F(EnterKey, PressesNextAgainAfterAFailedSave) {
  std::strcpy(WirelessSettings.ssid, "Net");
  std::strcpy(WirelessSettings.security, "Disable");
  bridge.inject(REPLY_WRITE, BridgeFault::Drop, 2);
  WizardDriver wizard(std::make_unique<CSummaryPage>());
  CPageBase* page = wizard.page();
  ASSERT_EQ(KeyboardDriver::FocusName(page), "Next");
  KeyboardDriver::Press(page, Qt::Key_Return);
  QTest::qWait(50);
  EXPECT_EQ(KeyboardDriver::FocusName(page), PLEASE_WAIT_WORDS.caption)
      << "the banner holds the focus while Next is disabled";
  KeyboardDriver::Press(page, Qt::Key_Return);
  ASSERT_TRUE(wizard.WaitForMessage(WM_SAVE_RESULT));
  EXPECT_EQ(wizard.Status(CSummaryPage::IDC_STATUS), "Save config failed !");
  EXPECT_EQ(KeyboardDriver::FocusName(page), "Next");
  KeyboardDriver::Press(page, Qt::Key_Return);
  ASSERT_TRUE(wizard.WaitForMessage(WM_SAVE_RESULT));
  EXPECT_EQ(wizard.Status(CSummaryPage::IDC_STATUS), "Save config successfully !");
  ASSERT_TRUE(wizard.Advance());
  EXPECT_EQ(wizard.page()->Idd(), CFinishPage::IDD);
}
