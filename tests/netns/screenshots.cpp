// Takes a picture of every page of the wizard as it appears on an X display (run it under
// Xvfb through tools/screenshots.sh): the wizard runs against an emulated bridge over veth,
// driven page by page as a user would. Not a test; it writes PNG files.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QTableWidget>

#include <cstring>

#include "device/wireless_records.h"
#include "link/link_timing.h"
#include "tests/gui/wizard_driver.h"
#include "tests/netns/testnet.h"
#include "wizard/device_list_page.h"
#include "wizard/finish_page.h"
#include "wizard/page_messages.h"
#include "wizard/security_page.h"
#include "wizard/setup_app.h"
#include "wizard/site_survey_page.h"
#include "wizard/summary_page.h"
#include "wizard/wep_page.h"
#include "wizard/wpa_page.h"

namespace {

QString OutputFolder() {
  const QString folder = qEnvironmentVariable("QBR20G_SHOTS_DIR", "docs/screenshots");
  QDir().mkpath(folder);
  return folder;
}

// What the display shows where the page is.
void Shoot(QWidget* page, const QString& name) {
  page->raise();
  page->activateWindow();
  QTest::qWait(400);
  const QRect area = page->frameGeometry();
  const QPixmap shot =
      page->screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
  ASSERT_TRUE(shot.save(OutputFolder() + "/" + name)) << name.toStdString();
}

// The smallest rectangle around everything that is not the bare (black) root window.
QRect Content(const QImage& image) {
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if ((image.pixel(x, y) & 0xffffff) != 0)
        box |= QRect(x, y, 1, 1);
  return box;
}

int RowOf(QTableWidget* list, const QString& ssid) {
  for (int row = 0; row < list->rowCount(); ++row)
    if (list->item(row, 0)->text() == ssid)
      return row;
  return -1;
}

class Screenshots : public netns::NetnsTest {};

} // namespace

TEST_F(Screenshots, EveryPage) {
  if (QGuiApplication::platformName() != "xcb")
    GTEST_SKIP() << "needs an X display (run tools/screenshots.sh)";
  std::string scenario;
  {
    QFile demo(QStringLiteral(QBR20G_SOURCE_DIR "/tools/demo-scenario.conf"));
    ASSERT_TRUE(demo.open(QIODevice::ReadOnly));
    scenario = demo.readAll().toStdString();
  }
  const auto wizard_ns = net->add_namespace("wiz");
  const auto bridge_ns = net->add_namespace("br");
  net->add_veth(wizard_ns, "eth0", "02:00:00:20:0a:01", bridge_ns, "br0", "-");
  net->start_emulator(bridge_ns, "br0", scenario);

  // The start-up error as a user meets it after `make install` on a file system that lost the
  // helper's capability: the real program, installed under /usr/local in a private mount
  // namespace, started without CAP_NET_RAW in its bounding set.
  const QString install = QStringLiteral(
      "mount -t tmpfs tmpfs /usr/local && mkdir -p /usr/local/bin /usr/local/libexec/qbr20g-setup"
      " && cp %1 /usr/local/bin/ && cp %2 /usr/local/libexec/qbr20g-setup/"
      " && exec setpriv --bounding-set=-net_raw /usr/local/bin/qbr20g-setup");
  QProcess lonely;
  lonely.start("ip", {"netns", "exec", QString::fromStdString(wizard_ns), "unshare", "--mount",
                      "--propagation", "private", "sh", "-c",
                      install.arg(QBR20G_SETUP_PATH, QBR20G_LINK_HELPER_PATH)});
  ASSERT_TRUE(lonely.waitForStarted());
  QTest::qWait(2000);
  const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
  lonely.kill();
  lonely.waitForFinished();
  const QRect box = Content(screen);
  ASSERT_FALSE(box.isEmpty()) << "the message box did not show: "
                              << lonely.readAllStandardError().toStdString();
  ASSERT_TRUE(screen.copy(box).save(OutputFolder() + "/0-nic-not-found.png"));

  netns::QuickLinkTiming timing;
  link_timing().survey_scan_pause = std::chrono::milliseconds{500};
  net->enter(wizard_ns);
  ASSERT_TRUE(start_up_link());
  WizardDriver wizard(std::make_unique<CDeviceListPage>());
  ASSERT_TRUE(wizard.WaitForMessage(WM_SEARCH_RESULT));
  wizard.ClickRow(CDeviceListPage::IDC_LIST, 0);
  Shoot(wizard.page(), "1-device-list.png");

  wizard.Click(CDeviceListPage::IDC_NEXT);
  ASSERT_TRUE(wizard.Advance());
  ASSERT_TRUE(wizard.WaitForMessage(WM_SURVEY_RESULT));
  auto* list = wizard.Control<QTableWidget>(CSiteSurveyPage::IDC_LIST);
  wizard.ClickRow(CSiteSurveyPage::IDC_LIST, RowOf(list, "HomeNet"));
  Shoot(wizard.page(), "2-site-survey.png");

  wizard.Click(CSiteSurveyPage::IDC_MANUAL);
  wizard.Type(CSiteSurveyPage::IDC_SSID, "Workshop-2");
  wizard.Control<QComboBox>(CSiteSurveyPage::IDC_CHANNEL)->setCurrentIndex(10);
  wizard.Click(CSiteSurveyPage::IDC_NEXT);
  ASSERT_TRUE(wizard.Advance());
  Shoot(wizard.page(), "3-security.png");

  wizard.Choose(CSecurityPage::IDC_MODE, 1);
  ASSERT_TRUE(wizard.Advance());
  wizard.Choose(CWepPage::IDC_FORMAT, 0);
  wizard.Type(CWepPage::IDC_KEY1, "abcde");
  Shoot(wizard.page(), "4-wep.png");

  wizard.Choose(CWepPage::IDC_MODE, 3);
  ASSERT_TRUE(wizard.Advance());
  wizard.Type(CWpaPage::IDC_PASSPHRASE, "correct horse battery");
  Shoot(wizard.page(), "5-wpa.png");

  wizard.Click(CWpaPage::IDC_NEXT);
  ASSERT_TRUE(wizard.Advance());
  Shoot(wizard.page(), "6-summary.png");

  wizard.Click(CSummaryPage::IDC_NEXT);
  ASSERT_TRUE(wizard.WaitForMessage(WM_SAVE_RESULT));
  ASSERT_TRUE(wizard.Advance());
  Shoot(wizard.page(), "7-finish.png");
}
