// The pages on Qt's native Wayland platform, where the compositor places windows and moves them:
// every page shows shaped, at its size, named, and takes keys; a press on its background asks
// the compositor to move it; a whole flow runs by the keyboard; and Qt prints no warning. Run by
// run-under-weston.sh under a headless Weston.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QMouseEvent>
#include <QTest>

#include <functional>
#include <memory>
#include <vector>

#include "tests/gui/bridge_pages.h"
#include "tests/gui/keyboard_driver.h"
#include "wizard/device_list_page.h"
#include "wizard/finish_page.h"
#include "wizard/security_page.h"
#include "wizard/summary_page.h"
#include "wizard/wep_page.h"
#include "wizard/wpa_page.h"

namespace {

// Every warning Qt prints while it lives.
class Warnings {
public:
  Warnings() {
    collecting_ = this;
    previous_ = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
          if (type != QtDebugMsg && type != QtInfoMsg)
            collecting_->seen_ << QString::fromLatin1(context.category) + ": " + message;
        });
  }
  ~Warnings() {
    qInstallMessageHandler(previous_);
    collecting_ = nullptr;
  }
  QStringList seen() const { return seen_; }

private:
  static inline Warnings* collecting_ = nullptr;
  QtMessageHandler previous_;
  QStringList seen_;
};

class Wayland : public BridgePages {
public:
  void SetUp() override {
    if (QGuiApplication::platformName() != "wayland")
      GTEST_SKIP() << "needs Qt's Wayland platform (run by tests/wayland/run-under-weston.sh)";
    BridgePages::SetUp();
  }
};

void PressOnTheBackground(QWidget* page) {
  const QPoint at(20, 20); // the header, bare of controls on every page
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), QPointF(page->mapToGlobal(at)),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(page, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), QPointF(page->mapToGlobal(at)),
                      Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(page, &release);
}

} // namespace

TEST_F(Wayland, EveryPageShowsShapedNamedAndQuiet) {
  const Warnings warnings;
  const std::vector<std::pair<std::function<std::unique_ptr<CPageBase>()>, QSize>> pages = {
      {[] { return std::make_unique<CDeviceListPage>(); }, QSize(635, 474)},
      {[] { return std::make_unique<CSiteSurveyPage>(); }, QSize(636, 473)},
      {[] { return std::make_unique<CSecurityPage>(); }, QSize(635, 474)},
      {[] { return std::make_unique<CWepPage>(); }, QSize(635, 474)},
      {[] { return std::make_unique<CWpaPage>(); }, QSize(635, 474)},
      {[] { return std::make_unique<CSummaryPage>(); }, QSize(635, 474)},
      {[] { return std::make_unique<CFinishPage>(); }, QSize(634, 473)},
  };
  for (const auto& [build, size] : pages) {
    WizardDriver wizard(build());
    CPageBase* page = wizard.page();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(page)) << page->Idd();
    EXPECT_EQ(page->size(), size) << page->Idd();
    EXPECT_EQ(page->mask(), QRegion(QRect(QPoint(), size))) << page->Idd();
    EXPECT_TRUE(page->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(page->windowTitle(), "QBR20G");
    EXPECT_FALSE(AccessibleName(page).isEmpty());
    EXPECT_NE(page->focusWidget(), nullptr) << "no first focus on page " << page->Idd();
    PressOnTheBackground(page);
    KeyboardDriver::Press(page, Qt::Key_Tab);
    EXPECT_TRUE(page->isVisible());
  }
  EXPECT_TRUE(warnings.seen().isEmpty()) << warnings.seen().join('\n').toStdString();
}

TEST_F(Wayland, AWholeFlowRunsByTheKeyboard) {
  const Warnings warnings;
  std::unique_ptr<WizardDriver> wizard = OpenSurvey();
  CPageBase* page = wizard->page();
  ASSERT_EQ(KeyboardDriver::FocusName(page), "Wireless networks");
  for (int row = 0; row < 3; ++row) // to "Office", WPA-PSK
    KeyboardDriver::Press(page, Qt::Key_Down);
  KeyboardDriver::Press(page, Qt::Key_Return);
  ASSERT_TRUE(wizard->Advance());
  ASSERT_EQ(wizard->page()->Idd(), CWpaPage::IDD);
  KeyboardDriver::Type(wizard->page(), "on wayland");
  KeyboardDriver::Press(wizard->page(), Qt::Key_Return);
  ASSERT_TRUE(wizard->Advance());
  ASSERT_EQ(wizard->page()->Idd(), CSummaryPage::IDD);
  KeyboardDriver::Press(wizard->page(), Qt::Key_Return);
  ASSERT_TRUE(wizard->WaitForMessage(WM_SAVE_RESULT));
  ASSERT_TRUE(wizard->Advance());
  ASSERT_EQ(wizard->page()->Idd(), CFinishPage::IDD);
  EXPECT_EQ(bridge.stored_settings().substr(0, 13), "7000 :Office\n");
  KeyboardDriver::Press(wizard->page(), Qt::Key_Return);
  EXPECT_FALSE(wizard->Advance());
  EXPECT_TRUE(warnings.seen().isEmpty()) << warnings.seen().join('\n').toStdString();
}
