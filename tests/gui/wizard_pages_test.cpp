// The pages that talk to the bridge, run against an in-process bridge (no wire, no root), and
// the pages that only check and record what the user chose.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableWidget>

#include <cstring>

#include "device/security_modes.h"
#include "device/wireless_records.h"
#include "link/mac_text.h"
#include "platform/open_link.h"
#include "res/page_layout.h"
#include "skin/progress_banner.h"
#include "skin/skin_button.h"
#include "tests/gui/bridge_pages.h"
#include "tests/gui/qt_printers.h"
#include "tests/gui/wizard_driver.h"
#include "tests/support/fake_bridge.h"
#include "wizard/device_list_page.h"
#include "wizard/finish_page.h"
#include "wizard/link_state.h"
#include "wizard/page_flow.h"
#include "wizard/page_messages.h"
#include "wizard/security_page.h"
#include "wizard/site_survey_page.h"
#include "wizard/summary_page.h"
#include "wizard/wep_page.h"
#include "wizard/wpa_page.h"

namespace {

std::string Text(const char* field, std::size_t width) {
  return std::string(field, strnlen(field, width));
}
#define FIELD(f) Text(f, sizeof f)

// The network as the site survey page records it: SSID, channel and security.
std::string Chosen() {
  return FIELD(WirelessSettings.ssid) + "|" + FIELD(WirelessSettings.channel) + "|" +
         FIELD(WirelessSettings.security);
}

using SurveyPage = BridgePages;
using SummaryPage = BridgePages;

// Pages that neither talk to the bridge nor start a worker.
class ChoicePages : public ::testing::Test {
protected:
  void SetUp() override { ClearRecords(); }
};
using SecurityPage = ChoicePages;
using WepPage = ChoicePages;
using WpaPage = ChoicePages;

} // namespace

TEST_F(SurveyPage, ListsTheNetworksTheBridgeHears) {
  auto wizard = OpenSurvey();
  auto* list = wizard->Control<QTableWidget>(CSiteSurveyPage::IDC_LIST);
  ASSERT_EQ(list->rowCount(), 5);
  EXPECT_EQ(wizard->Status(CSiteSurveyPage::IDC_STATUS), "There are 5 wireless networks.");
  EXPECT_EQ(list->item(1, 0)->text(), QString::fromUtf8("Caf\xc3\xa9")) << "shown decoded";
  EXPECT_EQ(list->item(3, 0)->text(), "[HiddenSSID]");
  const QStringList row = {list->item(2, 0)->text(), list->item(2, 1)->text(),
                           list->item(2, 2)->text(), list->item(2, 3)->text(),
                           list->item(2, 4)->text(), list->item(2, 5)->text()};
  EXPECT_EQ(row, (QStringList{"Office", "a4-2b-b0-00-00-03", "11", "70%", "WPA-PSK", "11Mbps"}));
  EXPECT_EQ(FIELD(CurrentNetwork.ssid), "Old");

  EXPECT_FALSE(wizard->Control(CSiteSurveyPage::IDC_NEXT)->isEnabled());
  EXPECT_TRUE(wizard->Control(CSiteSurveyPage::IDC_REFRESH)->isEnabled());
  EXPECT_TRUE(wizard->Control(CSiteSurveyPage::IDC_BACK)->isEnabled());
  EXPECT_TRUE(wizard->Control(CSiteSurveyPage::IDC_MANUAL)->isEnabled());
  EXPECT_FALSE(wizard->page()->findChild<CProgressBanner*>()->isVisible());
  EXPECT_EQ(wizard->page()->windowTitle(), "QBR20G");
}

TEST_F(SurveyPage, AFailedSurveyShowsNoRowsAndZero) {
  bridge.inject(REPLY_BEGIN, BridgeFault::Drop, 8);
  auto wizard = OpenSurvey();
  EXPECT_EQ(wizard->Control<QTableWidget>(CSiteSurveyPage::IDC_LIST)->rowCount(), 0);
  EXPECT_EQ(wizard->Status(CSiteSurveyPage::IDC_STATUS), "There are 0 wireless networks.");
  wizard->Click(CSiteSurveyPage::IDC_NEXT);
  EXPECT_TRUE(wizard->page()->isVisible()) << "Next with an empty list does nothing";
}

TEST_F(SurveyPage, EachSecurityTextLeadsToItsPage) {
  struct Case {
    int row;
    int idd;
    int mode;
  };
  for (const Case& c : {Case{0, CSummaryPage::IDD, 0}, Case{1, CWepPage::IDD, 1},
                        Case{2, CWpaPage::IDD, 2}, Case{4, CWpaPage::IDD, 3}}) {
    auto wizard = OpenSurvey();
    wizard->ClickRow(CSiteSurveyPage::IDC_LIST, c.row);
    ASSERT_TRUE(wizard->Control(CSiteSurveyPage::IDC_NEXT)->isEnabled());
    wizard->Click(CSiteSurveyPage::IDC_NEXT);
    ASSERT_TRUE(wizard->Advance()) << c.row;
    EXPECT_EQ(wizard->page()->Idd(), c.idd) << c.row;
    if (auto* wpa = wizard->as<CWpaPage>()) {
      EXPECT_EQ(wpa->SecurityModeNumber(), c.mode);
      EXPECT_FALSE(wizard->Control(CWpaPage::IDC_MODE)->isEnabled()) << "locked on the row's mode";
    }
    if (auto* summary = wizard->as<CSummaryPage>()) {
      EXPECT_EQ(summary->Origin(), 0);
    }
    if (auto* wep = wizard->as<CWepPage>()) {
      EXPECT_EQ(wep->SecurityModeNumber(), 1);
    }
  }
  EXPECT_EQ(Chosen(), "Home|9|WPA2-PSK");
}

TEST_F(SurveyPage, AHiddenRowNeedsATypedSsid) {
  auto wizard = OpenSurvey();
  wizard->ClickRow(CSiteSurveyPage::IDC_LIST, 3);
  auto* ssid = wizard->Control<QLineEdit>(CSiteSurveyPage::IDC_SSID);
  EXPECT_TRUE(ssid->isEnabled());
  wizard->Click(CSiteSurveyPage::IDC_NEXT);
  EXPECT_EQ(wizard->Status(CSiteSurveyPage::IDC_STATUS), "You must input the ssid!");
  EXPECT_TRUE(wizard->page()->isVisible());

  wizard->Type(CSiteSurveyPage::IDC_SSID, "Backroom");
  ASSERT_TRUE(wizard->ClickTo(CSiteSurveyPage::IDC_NEXT, CWpaPage::IDD));
  EXPECT_EQ(Chosen(), "Backroom|3|WPA2-PSK");
}

TEST_F(SurveyPage, ManualEntryRecordsTheChannelNumberAndAsksForSecurity) {
  auto wizard = OpenSurvey();
  wizard->ClickRow(CSiteSurveyPage::IDC_LIST, 2);
  wizard->Click(CSiteSurveyPage::IDC_MANUAL);
  EXPECT_FALSE(wizard->Control(CSiteSurveyPage::IDC_LIST)->isEnabled());
  EXPECT_FALSE(wizard->Control(CSiteSurveyPage::IDC_REFRESH)->isEnabled());
  EXPECT_TRUE(wizard->Control(CSiteSurveyPage::IDC_NEXT)->isEnabled()) << "kept from the row";
  wizard->Click(CSiteSurveyPage::IDC_NEXT);
  EXPECT_EQ(wizard->Status(CSiteSurveyPage::IDC_STATUS), "You must input the ssid!");

  wizard->Control<QComboBox>(CSiteSurveyPage::IDC_CHANNEL)->setCurrentIndex(10);
  wizard->Type(CSiteSurveyPage::IDC_SSID, "Typed Net");
  ASSERT_TRUE(wizard->ClickTo(CSiteSurveyPage::IDC_NEXT, CSecurityPage::IDD));
  EXPECT_EQ(Chosen(), "Typed Net|11|");
}

TEST_F(SurveyPage, SsidsThatWouldHarmTheSettingsAreRefusedBeforeLeaving) {
  Scenario scenario = FourNetworks();
  scenario.networks[0].ssid = "x\n7003 :0";
  bridge.set_scenario(scenario);
  auto wizard = OpenSurvey();
  wizard->ClickRow(CSiteSurveyPage::IDC_LIST, 0);
  wizard->Click(CSiteSurveyPage::IDC_NEXT);
  EXPECT_EQ(wizard->Status(CSiteSurveyPage::IDC_STATUS),
            "The SSID must not contain control characters!");
  EXPECT_TRUE(wizard->page()->isVisible());

  wizard->Click(CSiteSurveyPage::IDC_MANUAL);
  wizard->Type(CSiteSurveyPage::IDC_SSID, QString(33, 'a'));
  wizard->Click(CSiteSurveyPage::IDC_NEXT);
  EXPECT_EQ(wizard->Status(CSiteSurveyPage::IDC_STATUS), "The SSID must be at most 32 bytes!");
  wizard->Type(CSiteSurveyPage::IDC_SSID, QString::fromUtf8("\xc3\xa9").repeated(17));
  wizard->Click(CSiteSurveyPage::IDC_NEXT);
  EXPECT_EQ(wizard->Status(CSiteSurveyPage::IDC_STATUS), "The SSID must be at most 32 bytes!")
      << "counted in bytes";
  EXPECT_TRUE(wizard->page()->isVisible());
  EXPECT_EQ(FIELD(WirelessSettings.ssid), "") << "nothing written";

  wizard->Type(CSiteSurveyPage::IDC_SSID, QString(32, 'a'));
  wizard->Click(CSiteSurveyPage::IDC_NEXT);
  EXPECT_TRUE(wizard->Advance());
}

TEST_F(SurveyPage, RefreshClearsTheChoiceAndBackSearchesAgain) {
  auto wizard = OpenSurvey();
  wizard->ClickRow(CSiteSurveyPage::IDC_LIST, 2);
  wizard->Click(CSiteSurveyPage::IDC_REFRESH);
  EXPECT_FALSE(wizard->Control(CSiteSurveyPage::IDC_NEXT)->isEnabled());
  EXPECT_EQ(wizard->Status(CSiteSurveyPage::IDC_STATUS), "Searching Wireless Network ...");
  ASSERT_TRUE(wizard->WaitForMessage(WM_SURVEY_RESULT));
  EXPECT_EQ(wizard->Control<QTableWidget>(CSiteSurveyPage::IDC_LIST)->rowCount(), 5);

  ASSERT_TRUE(wizard->ClickTo(CSiteSurveyPage::IDC_BACK, CDeviceListPage::IDD));
}

TEST_F(SecurityPage, DisableStaysTheOtherModesLeaveAtOnce) {
  WizardDriver wizard(std::make_unique<CSecurityPage>());
  wizard.Choose(CSecurityPage::IDC_MODE, 0);
  EXPECT_TRUE(wizard.page()->isVisible());
  wizard.Choose(CSecurityPage::IDC_MODE, 3);
  ASSERT_TRUE(wizard.Advance());
  ASSERT_NE(wizard.as<CWpaPage>(), nullptr);
  EXPECT_EQ(wizard.as<CWpaPage>()->SecurityModeNumber(), 3);
  EXPECT_TRUE(wizard.Control(CWpaPage::IDC_MODE)->isEnabled());
  EXPECT_EQ(wizard.Control<QLineEdit>(CWpaPage::IDC_CIPHER)->text(), "AES");

  WizardDriver wep(std::make_unique<CSecurityPage>());
  wep.Choose(CSecurityPage::IDC_MODE, 1);
  ASSERT_TRUE(wep.Advance());
  EXPECT_EQ(wep.Control<QComboBox>(CWepPage::IDC_MODE)->currentText(), "WEP");
}

TEST_F(SecurityPage, NextRecordsDisableAndKeepsEarlierKeys) {
  std::strcpy(WirelessKeys.passphrase, "kept secret");
  WizardDriver wizard(std::make_unique<CSecurityPage>());
  wizard.Click(CSecurityPage::IDC_NEXT);
  ASSERT_TRUE(wizard.Advance());
  EXPECT_EQ(wizard.as<CSummaryPage>()->Origin(), 1);
  EXPECT_EQ(FIELD(WirelessSettings.security), "Disable");
  EXPECT_EQ(FIELD(WirelessKeys.passphrase), "kept secret");
}

TEST_F(WepPage, ChecksRefuseWithTheirMessagesAndWriteNothing) {
  std::strcpy(WirelessKeys.passphrase, "untouched");
  struct Case {
    QStringList keys;
    int format;      // 0 ASCII, 1 HEX
    int default_key; // 0-based
    QString message;
  };
  const Case cases[] = {
      {{"", "", "", ""}, 1, 0, "4 keys are all null !"},
      {{"abcdefabcd", "", "", ""}, 1, 2, "The key of Key Index 3 is null !"},
      {{"abcdefabcd", QString(26, 'a'), "", ""}, 1, 0, "Key length must be 10 or 26 characters!"},
      {{"abcdefabc", "", "", ""}, 1, 0, "Key length must be 10 or 26 characters!"},
      {{"abcd", "", "", ""}, 0, 0, "Key length must be 5 or 13 characters!"},
      {{"", "012345678g", "", ""}, 1, 1, "Key 2 must be hexadecimal digits (0-9, A-F) !"},
      {{"ab\tcd", "", "", ""}, 0, 0, "Key 1 must not contain control characters !"},
  };
  for (const Case& c : cases) {
    WizardDriver wizard(std::make_unique<CWepPage>());
    wizard.Choose(CWepPage::IDC_FORMAT, c.format);
    wizard.Control<QComboBox>(CWepPage::IDC_DEFAULT_KEY)->setCurrentIndex(c.default_key);
    for (int i = 0; i < 4; ++i)
      wizard.Type(CWepPage::IDC_KEY1 + i, c.keys[i]);
    wizard.Click(CWepPage::IDC_NEXT);
    EXPECT_EQ(wizard.Status(CWepPage::IDC_STATUS), c.message) << c.keys.join('|').toStdString();
    EXPECT_TRUE(wizard.page()->isVisible());
  }
  EXPECT_EQ(FIELD(WirelessKeys.passphrase), "untouched");
  EXPECT_EQ(FIELD(WirelessSettings.security), "");
}

TEST_F(WepPage, HexKeyTwoAsDefaultGives128Bits) {
  std::strcpy(WirelessKeys.passphrase, "from a WPA visit");
  WizardDriver wizard(std::make_unique<CWepPage>());
  EXPECT_EQ(wizard.as<CWepPage>()->HintBitmap(), HEX_KEY_HINT);
  const QString key = "0123456789abcdefABCDEF0123";
  wizard.Type(CWepPage::IDC_KEY1 + 1, key);
  wizard.Control<QComboBox>(CWepPage::IDC_DEFAULT_KEY)->setCurrentIndex(1);
  wizard.Click(CWepPage::IDC_NEXT);
  ASSERT_TRUE(wizard.Advance());
  EXPECT_EQ(wizard.as<CSummaryPage>()->Origin(), 2);
  EXPECT_EQ(FIELD(WirelessSettings.security), "WEP(128bits)");
  EXPECT_EQ(FIELD(WirelessKeys.key_index), "1");
  EXPECT_EQ(FIELD(WirelessKeys.wep_key2), key.toStdString()) << "stored as typed";
  EXPECT_EQ(FIELD(WirelessKeys.wep_key1), "");
  EXPECT_EQ(FIELD(WirelessKeys.passphrase), "") << "a WEP save clears the passphrase";
}

TEST_F(WepPage, AsciiKeysAreStoredAsUpperCaseHex) {
  WizardDriver wizard(std::make_unique<CWepPage>());
  wizard.Choose(CWepPage::IDC_FORMAT, 0);
  EXPECT_EQ(wizard.as<CWepPage>()->HintBitmap(), ASCII_KEY_HINT);
  wizard.Type(CWepPage::IDC_KEY1, "abcde");
  wizard.Type(CWepPage::IDC_KEY1 + 2, QString::fromLatin1("zz") + QChar(0xe9) + "xy");
  wizard.Click(CWepPage::IDC_NEXT);
  // "é" is two bytes of UTF-8: that key is 6 bytes long and refused.
  EXPECT_EQ(wizard.Status(CWepPage::IDC_STATUS), "Key length must be 5 or 13 characters!");
  wizard.Type(CWepPage::IDC_KEY1 + 2, QString::fromLatin1("z") + QChar(0xe9) + "xy");
  wizard.Click(CWepPage::IDC_NEXT);
  ASSERT_TRUE(wizard.Advance());
  EXPECT_EQ(FIELD(WirelessSettings.security), "WEP(64bit)");
  EXPECT_EQ(FIELD(WirelessKeys.key_index), "0");
  EXPECT_EQ(FIELD(WirelessKeys.wep_key1), "6162636465");
  EXPECT_EQ(FIELD(WirelessKeys.wep_key3), "7AC3A97879");
}

TEST_F(WepPage, TypedFormatTextMeansAscii) {
  WizardDriver wizard(std::make_unique<CWepPage>());
  wizard.Control<QComboBox>(CWepPage::IDC_FORMAT)->setEditText("hexa");
  wizard.Type(CWepPage::IDC_KEY1, "12345");
  wizard.Click(CWepPage::IDC_NEXT);
  ASSERT_TRUE(wizard.Advance());
  EXPECT_EQ(FIELD(WirelessKeys.wep_key1), "3132333435");
}

TEST_F(WepPage, ModeListLeavesForTheOtherPages) {
  WizardDriver wizard(std::make_unique<CWepPage>());
  wizard.Choose(CWepPage::IDC_MODE, 1);
  EXPECT_TRUE(wizard.page()->isVisible());
  ASSERT_TRUE(wizard.ChooseTo(CWepPage::IDC_MODE, 0, CSecurityPage::IDD));

  WizardDriver wpa(std::make_unique<CWepPage>());
  wpa.Choose(CWepPage::IDC_MODE, 2);
  ASSERT_TRUE(wpa.Advance());
  EXPECT_EQ(wpa.as<CWpaPage>()->SecurityModeNumber(), 2);
  EXPECT_TRUE(wpa.Control(CWpaPage::IDC_MODE)->isEnabled());
}

TEST_F(WpaPage, PassphraseLengthAndBytesAreChecked) {
  auto page = std::make_unique<CWpaPage>();
  page->SetSecurityModeNumber(2);
  page->SetModeListEnabled(false);
  WizardDriver wizard(std::move(page));
  EXPECT_EQ(wizard.Control<QLineEdit>(CWpaPage::IDC_CIPHER)->text(), "TKIP");
  EXPECT_EQ(wizard.as<CWpaPage>()->BackgroundBitmap(), WPA_BACKGROUND);
  EXPECT_FALSE(wizard.Control(CWpaPage::IDC_MODE)->isEnabled());

  const std::pair<QString, QString> refused[] = {
      {"1234567", "Passphrase at least 8 characters !"},
      {QString(64, 'p'), "Passphrase at most 63 characters !"},
      {QString::fromUtf8("\xc3\xa9").repeated(32), "Passphrase at most 63 characters !"},
      {"good one\x01", "Passphrase must not contain control characters !"},
  };
  for (const auto& [text, message] : refused) {
    wizard.Type(CWpaPage::IDC_PASSPHRASE, text);
    wizard.Click(CWpaPage::IDC_NEXT);
    EXPECT_EQ(wizard.Status(CWpaPage::IDC_STATUS), message);
    EXPECT_TRUE(wizard.page()->isVisible());
  }
  EXPECT_EQ(FIELD(WirelessSettings.security), "");

  std::strcpy(WirelessKeys.wep_key1, "6162636465");
  std::strcpy(WirelessKeys.key_index, "0");
  wizard.Type(CWpaPage::IDC_PASSPHRASE, "12345678");
  wizard.Click(CWpaPage::IDC_NEXT);
  ASSERT_TRUE(wizard.Advance());
  EXPECT_EQ(wizard.as<CSummaryPage>()->Origin(), 3);
  EXPECT_EQ(FIELD(WirelessSettings.security), "WPA-PSK");
  EXPECT_EQ(FIELD(WirelessKeys.passphrase), "12345678");
  EXPECT_EQ(FIELD(WirelessKeys.wep_key1), "") << "a WPA save clears the WEP keys";
  EXPECT_EQ(FIELD(WirelessKeys.key_index), "");
}

TEST_F(WpaPage, SwitchingModesInPlaceAndAway) {
  auto page = std::make_unique<CWpaPage>();
  page->SetSecurityModeNumber(2);
  WizardDriver wizard(std::move(page));
  wizard.Type(CWpaPage::IDC_PASSPHRASE, "short");
  wizard.Click(CWpaPage::IDC_NEXT); // refused, but read
  wizard.Type(CWpaPage::IDC_PASSPHRASE, "something else");
  wizard.Choose(CWpaPage::IDC_MODE, 3);
  EXPECT_EQ(wizard.Control<QLineEdit>(CWpaPage::IDC_CIPHER)->text(), "AES");
  EXPECT_EQ(wizard.as<CWpaPage>()->BackgroundBitmap(), WPA2_BACKGROUND);
  EXPECT_EQ(wizard.Control<QLineEdit>(CWpaPage::IDC_PASSPHRASE)->text(), "short")
      << "reset to what Next last read";
  ASSERT_TRUE(wizard.ChooseTo(CWpaPage::IDC_MODE, 1, CWepPage::IDD));
}

TEST_F(SummaryPage, ShowsOldAndNewAndSavesIntoTheBridge) {
  std::strcpy(CurrentNetwork.ssid, "Old");
  std::strcpy(CurrentNetwork.security, "WPA-PSK");
  std::strcpy(WirelessSettings.ssid, "Caf\xc3\xa9");
  std::strcpy(WirelessSettings.security, "WEP(64bit)");
  std::strcpy(WirelessKeys.key_index, "0");
  std::strcpy(WirelessKeys.wep_key1, "6162636465");
  auto page = std::make_unique<CSummaryPage>();
  page->SetOrigin(2);
  WizardDriver wizard(std::move(page));
  auto box = [&](int id) { return wizard.Control<QLineEdit>(id)->text(); };
  EXPECT_EQ(box(CSummaryPage::IDC_OLD_CHANNEL), "Auto");
  EXPECT_EQ(box(CSummaryPage::IDC_NEW_CHANNEL), "Auto");
  EXPECT_EQ(box(CSummaryPage::IDC_OLD_TYPE), "Infrastructure");
  EXPECT_EQ(box(CSummaryPage::IDC_NEW_TYPE), "Infrastructure");
  EXPECT_EQ(box(CSummaryPage::IDC_OLD_SSID), "Old");
  EXPECT_EQ(box(CSummaryPage::IDC_OLD_SECURITY), "WPA-PSK");
  EXPECT_EQ(box(CSummaryPage::IDC_NEW_SSID), QString::fromUtf8("Caf\xc3\xa9"));
  EXPECT_EQ(box(CSummaryPage::IDC_NEW_SECURITY), "WEP(64bit)");

  wizard.Click(CSummaryPage::IDC_NEXT);
  EXPECT_EQ(wizard.Status(CSummaryPage::IDC_STATUS), "Saving wifi config ...");
  ASSERT_TRUE(wizard.WaitForMessage(WM_SAVE_RESULT));
  EXPECT_EQ(wizard.Status(CSummaryPage::IDC_STATUS), "Save config successfully !");
  EXPECT_EQ(bridge.stored_settings(), "7000 :Caf\xc3\xa9\n7001 :16\n7002 :0\n7003 :1\n7004 :5\n"
                                      "7005 :0\n7006 :6162636465\n7007 :\n7008 :\n7009 :\n"
                                      "7012 :3\n7013 :0\n7018 :1\n7019 :\n7022 :0\n");
  ASSERT_TRUE(wizard.Advance());
  EXPECT_EQ(wizard.page()->Idd(), CFinishPage::IDD);
}

TEST_F(SummaryPage, AFailedSaveCanBeRetried) {
  std::strcpy(WirelessSettings.ssid, "Net");
  std::strcpy(WirelessSettings.security, "Disable");
  bridge.inject(REPLY_WRITE, BridgeFault::Drop, 2);
  WizardDriver wizard(std::make_unique<CSummaryPage>());
  wizard.Click(CSummaryPage::IDC_NEXT);
  ASSERT_TRUE(wizard.WaitForMessage(WM_SAVE_RESULT));
  EXPECT_EQ(wizard.Status(CSummaryPage::IDC_STATUS), "Save config failed !");
  EXPECT_TRUE(wizard.Control(CSummaryPage::IDC_NEXT)->isEnabled());
  EXPECT_TRUE(wizard.Control(CSummaryPage::IDC_BACK)->isEnabled());
  EXPECT_FALSE(wizard.page()->findChild<CProgressBanner*>()->isVisible());
  EXPECT_EQ(bridge.present_ssid(), "Old") << "nothing applied";
  const auto sent = link.capture().sent().size();
  EXPECT_EQ(sent, 3u) << "begin, then the settings twice; nothing after the failed step";

  wizard.Click(CSummaryPage::IDC_NEXT);
  ASSERT_TRUE(wizard.WaitForMessage(WM_SAVE_RESULT));
  EXPECT_EQ(wizard.Status(CSummaryPage::IDC_STATUS), "Save config successfully !");
  EXPECT_FALSE(wizard.Control(CSummaryPage::IDC_NEXT)->isEnabled());
}

TEST_F(SummaryPage, ValuesWithControlBytesAreRefusedBeforeAnythingIsSent) {
  std::strcpy(WirelessSettings.ssid, "Net");
  std::strcpy(WirelessSettings.security, "WPA2-PSK");
  std::strcpy(WirelessKeys.passphrase, "pass\nword");
  WizardDriver wizard(std::make_unique<CSummaryPage>());
  wizard.Click(CSummaryPage::IDC_NEXT);
  EXPECT_NE(wizard.Status(CSummaryPage::IDC_STATUS).indexOf("passphrase"), -1)
      << wizard.Status(CSummaryPage::IDC_STATUS).toStdString();
  QTest::qWait(50);
  EXPECT_TRUE(link.capture().sent().empty());
  EXPECT_TRUE(wizard.page()->isVisible());
}

TEST_F(SummaryPage, BackReturnsToWhereItCameFrom) {
  const std::pair<int, int> routes[] = {{0, CSiteSurveyPage::IDD},
                                        {1, CSecurityPage::IDD},
                                        {2, CWepPage::IDD},
                                        {3, CWpaPage::IDD},
                                        {4, CWpaPage::IDD}};
  for (const auto& [origin, idd] : routes) {
    auto page = std::make_unique<CSummaryPage>();
    page->SetOrigin(origin);
    WizardDriver wizard(std::move(page));
    wizard.Click(CSummaryPage::IDC_BACK);
    ASSERT_TRUE(wizard.Advance());
    EXPECT_EQ(wizard.page()->Idd(), idd) << origin;
    if (auto* wpa = wizard.as<CWpaPage>()) {
      EXPECT_EQ(wpa->SecurityModeNumber(), origin - 1);
      EXPECT_TRUE(wizard.Control(CWpaPage::IDC_MODE)->isEnabled());
    }
  }
}

TEST(FinishPage, ShowsTheSavedNoticeAndOpensTheMakerSite) {
  QStringList opened;
  SetLinkOpener([&](const QString& target) {
    opened << target;
    return OPEN_LINK_OPENED;
  });
  WizardDriver wizard(std::make_unique<CFinishPage>());
  auto* banner = wizard.as<CFinishPage>()->Banner();
  EXPECT_TRUE(banner->isVisible());
  EXPECT_EQ(banner->BaseBitmap(), SAVED_NOTICE);
  EXPECT_EQ(banner->size(), SAVED_NOTICE_SIZE);
  EXPECT_FALSE(wizard.Control(CFinishPage::IDC_BACK)->isEnabled());
  EXPECT_FALSE(wizard.Control(CFinishPage::IDC_NEXT)->isEnabled());
  wizard.Click(CFinishPage::IDC_WEB_SITE);
  QTest::qWait(20);
  EXPECT_EQ(opened, QStringList{QString::fromLatin1(MAKER_SITE_URL)});
  SetLinkOpener([](const QString&) { return OPEN_LINK_NO_ASSOCIATION; });
  QTest::keyClick(wizard.page(), Qt::Key_Escape);
  EXPECT_FALSE(wizard.Advance()) << "Escape ends the wizard";
}

// Whatever page opened the summary, the summary's Back returns to that page as it was opened.
TEST(PageFlow, TheSummarysBackLeadsToThePageThatOpenedIt) {
  const PageStep openers[] = {{Page::SiteSurvey},
                              {Page::Security},
                              {Page::Wep, SECURITY_WEP},
                              {Page::Wpa, SECURITY_WPA_PSK},
                              {Page::Wpa, SECURITY_WPA2_PSK}};
  for (const PageStep& opener : openers) {
    const int mode = opener.page == Page::Security ? SECURITY_DISABLE : opener.security_mode;
    const std::optional<PageStep> summary =
        opener.page == Page::SiteSurvey ? NextPage(Page::SiteSurvey, Choice::Next, SECURITY_DISABLE)
                                        : NextPage(opener.page, Choice::Next, mode);
    ASSERT_TRUE(summary.has_value());
    ASSERT_EQ(summary->page, Page::Summary);
    EXPECT_EQ(NextPage(Page::Summary, Choice::Back, summary->origin), opener)
        << "origin " << summary->origin;
  }
}

TEST(PageFlow, AModeListLeavesOnlyForAnotherPage) {
  for (int mode = 0; mode < SECURITY_MODE_COUNT; ++mode) {
    for (const Page page : {Page::Security, Page::Wep, Page::Wpa}) {
      const std::optional<PageStep> next = NextPage(page, Choice::Mode, mode);
      if (next) {
        EXPECT_NE(next->page, page) << "mode " << mode;
        EXPECT_EQ(next->security_mode, next->page == Page::Security ? 0 : mode);
        EXPECT_TRUE(next->mode_list_enabled) << "a mode chosen by hand stays changeable";
      }
    }
  }
  EXPECT_FALSE(NextPage(Page::Security, Choice::Mode, SECURITY_DISABLE));
  EXPECT_FALSE(NextPage(Page::Wep, Choice::Mode, SECURITY_WEP));
  EXPECT_FALSE(NextPage(Page::Wpa, Choice::Mode, SECURITY_WPA_PSK));
  EXPECT_FALSE(NextPage(Page::Wpa, Choice::Mode, SECURITY_WPA2_PSK));
  EXPECT_FALSE(NextPage(Page::DeviceList, Choice::Back)) << "its Back stays disabled";
}
