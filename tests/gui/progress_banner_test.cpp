#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include "qt_printers.h"

#include "platform/bitmaps.h"
#include "res/page_layout.h"
#include "skin/progress_banner.h"
#include "widget_pixels.h"

namespace {

class Page : public QWidget {
public:
  int mouse_presses = 0;

protected:
  void mousePressEvent(QMouseEvent*) override { ++mouse_presses; }
};

class ProgressBannerTest : public ::testing::Test {
protected:
  void SetUp() override {
    page_.resize(635, 474);
    banner_ = new CProgressBanner(&page_);
    banner_->PlaceCentred(WORK_BANNER_SIZE);
    page_.show();
  }

  void UseSavedNotice() {
    banner_->PlaceCentred(SAVED_NOTICE_SIZE);
    banner_->SetKind(BANNER_SAVED);
    banner_->Start();
  }

  void Click(QPoint at) { QTest::mouseClick(banner_, Qt::LeftButton, Qt::NoModifier, at); }
  void MoveTo(QPoint at) {
    QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(banner_->mapToGlobal(at)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(banner_, &move);
  }

  Page page_;
  CProgressBanner* banner_ = nullptr;
};

} // namespace

TEST_F(ProgressBannerTest, IsCentredInThePageAndHiddenUntilStarted) {
  EXPECT_EQ(banner_->geometry(), QRect(635 / 2 - 145, 474 / 2 - 41, 290, 82));
  EXPECT_FALSE(banner_->isVisible());
  banner_->PlaceCentred(QSize(395, 130));
  EXPECT_EQ(banner_->geometry(), QRect(317 - 197, 237 - 65, 395, 130));
}

TEST_F(ProgressBannerTest, KindsOneAndTwoCycleTheirOwnFramesEveryHalfSecond) {
  for (const auto& [kind, first] : {std::pair{BANNER_SEARCHING, SEARCHING_FRAME_0},
                                    std::pair{BANNER_PLEASE_WAIT, PLEASE_WAIT_FRAME_0}}) {
    banner_->SetKind(kind);
    banner_->Start();
    EXPECT_TRUE(banner_->isVisible());
    EXPECT_EQ(Rendered(banner_), AsRgb32(LoadBitmap(first))) << "kind " << kind;
    for (int expected : {1, 2, 3, 0}) {
      ASSERT_TRUE(QTest::qWaitFor([&] { return banner_->Frame() == expected; }, 1500))
          << "kind " << kind << " frame " << expected;
      EXPECT_EQ(Rendered(banner_), AsRgb32(LoadBitmap(first + expected)));
    }
    banner_->Stop();
  }
}

TEST_F(ProgressBannerTest, EveryOtherKindIsTheSavedNotice) {
  banner_->PlaceCentred(SAVED_NOTICE_SIZE);
  for (int kind : {int{BANNER_SAVED}, 0, 4, -1}) {
    banner_->SetKind(kind);
    banner_->Start();
    EXPECT_EQ(Rendered(banner_), AsRgb32(LoadBitmap(SAVED_NOTICE))) << kind;
    MoveTo(QPoint(380, 10));
    EXPECT_EQ(banner_->Frame(), 1) << kind << ": its close box lights up";
    banner_->Stop();
  }
}

TEST_F(ProgressBannerTest, StartAlwaysBeginsAtFrameZero) {
  banner_->SetKind(BANNER_SEARCHING);
  banner_->Start();
  ASSERT_TRUE(QTest::qWaitFor([&] { return banner_->Frame() == 1; }, 1500));
  banner_->Start();
  EXPECT_EQ(banner_->Frame(), 0);
}

TEST_F(ProgressBannerTest, StopHidesAndStopsTheAnimation) {
  banner_->SetKind(BANNER_PLEASE_WAIT);
  banner_->Start();
  banner_->Stop();
  EXPECT_FALSE(banner_->isVisible());
  QTest::qWait(700);
  EXPECT_EQ(banner_->Frame(), 0);
  banner_->Stop(); // on a hidden banner it only hides again
  EXPECT_FALSE(banner_->isVisible());
}

TEST_F(ProgressBannerTest, MouseChangesNothingOnKindsOneAndTwo) {
  banner_->SetKind(BANNER_SEARCHING);
  banner_->Start();
  MoveTo(QPoint(280, 5));
  Click(QPoint(280, 5));
  EXPECT_TRUE(banner_->isVisible());
  EXPECT_EQ(banner_->Frame(), 0);
  EXPECT_EQ(banner_->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(ProgressBannerTest, SavedNoticeClosesOnlyOnItsCloseBox) {
  UseSavedNotice();
  Click(QPoint(369, 23));
  EXPECT_TRUE(banner_->isVisible());
  Click(QPoint(370, 24));
  EXPECT_TRUE(banner_->isVisible());
  Click(QPoint(200, 60));
  EXPECT_TRUE(banner_->isVisible());
  Click(QPoint(370, 23));
  EXPECT_FALSE(banner_->isVisible());
}

TEST_F(ProgressBannerTest, SavedNoticeLightsItsCloseBoxUnderThePointer) {
  UseSavedNotice();
  EXPECT_EQ(Rendered(banner_), AsRgb32(LoadBitmap(SAVED_NOTICE)));
  MoveTo(QPoint(380, 10));
  EXPECT_EQ(banner_->Frame(), 1);
  EXPECT_EQ(banner_->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_EQ(Rendered(banner_), AsRgb32(LoadBitmap(SAVED_NOTICE_CLOSE_LIT)));
  MoveTo(QPoint(369, 10));
  EXPECT_EQ(banner_->Frame(), 0);
  EXPECT_EQ(banner_->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(ProgressBannerTest, SavedNoticeTimerNeverChangesTheFrame) {
  UseSavedNotice();
  QTest::qWait(1100);
  EXPECT_EQ(banner_->Frame(), 0);
  EXPECT_TRUE(banner_->isVisible());
}

TEST_F(ProgressBannerTest, PressesOnTheBannerNeverReachThePage) {
  UseSavedNotice();
  Click(QPoint(200, 60));
  banner_->SetKind(BANNER_PLEASE_WAIT);
  banner_->Start();
  Click(QPoint(100, 40));
  EXPECT_EQ(page_.mouse_presses, 0);
}

TEST_F(ProgressBannerTest, ChangingKindMidwayNeverPointsPastItsPictures) {
  banner_->SetKind(BANNER_SEARCHING);
  banner_->Start();
  ASSERT_TRUE(QTest::qWaitFor([&] { return banner_->Frame() == 3; }, 2500));
  banner_->PlaceCentred(SAVED_NOTICE_SIZE);
  banner_->SetKind(BANNER_SAVED);
  EXPECT_FALSE(LoadBitmap(banner_->BaseBitmap() + banner_->Frame()).isNull());
}

// The close box is a control: the keyboard reaches it, sees it lit, and closes the notice with
// Space; the animations take no focus.
TEST_F(ProgressBannerTest, TheKeyboardReachesTheSavedNoticeAndSpaceClosesIt) {
  banner_->Start();
  EXPECT_EQ(banner_->focusPolicy(), Qt::NoFocus);
  UseSavedNotice();
  EXPECT_EQ(banner_->focusPolicy(), Qt::TabFocus);
  page_.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&page_));
  banner_->setFocus();
  EXPECT_EQ(Rendered(banner_), AsRgb32(LoadBitmap(SAVED_NOTICE_CLOSE_LIT)));
  QTest::keyClick(banner_, Qt::Key_Return);
  EXPECT_TRUE(banner_->isVisible()) << "Enter is the page's";
  QTest::keyClick(banner_, Qt::Key_Space);
  EXPECT_FALSE(banner_->isVisible());
}
