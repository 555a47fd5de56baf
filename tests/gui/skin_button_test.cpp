#include <QDialog>
#include <QEnterEvent>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include "qt_printers.h"

#include "platform/bitmaps.h"
#include "res/artwork_ids.h"
#include "skin/page_skin.h"
#include "skin/skin_button.h"
#include "widget_pixels.h"

namespace {

void Hover(QWidget* widget) {
  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(widget->mapToGlobal(QPoint(5, 5))));
  QCoreApplication::sendEvent(widget, &enter);
}

void Leave(QWidget* widget) {
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(widget, &leave);
}

class SkinButtonTest : public ::testing::Test {
protected:
  void SetUp() override {
    page_.resize(635, 474);
    button_ = new CSkinButton(&page_);
    PlaceSkinButton(button_, QRect(430, 409, 48, 21), BACK_NORMAL, BACK_HOVER, BACK_PRESSED);
  }

  QImage Shows() { return Rendered(button_); }

  QDialog page_;
  CSkinButton* button_ = nullptr;
};

} // namespace

TEST_F(SkinButtonTest, ShowsExactlyItsNormalPictureAtRest) {
  EXPECT_EQ(button_->ShownBitmap(), BACK_NORMAL);
  EXPECT_EQ(Shows(), AsRgb32(LoadBitmap(BACK_NORMAL)));
}

TEST_F(SkinButtonTest, AlwaysTakesTheSizeOfItsNormalPicture) {
  for (QRect given : {QRect(10, 20, 200, 100), QRect(10, 20, 1, 1)}) {
    PlaceSkinButton(button_, given, 186, 187, 188);
    EXPECT_EQ(button_->geometry(), QRect(10, 20, 47, 22));
  }
}

TEST_F(SkinButtonTest, HoverShowsTheHoverPictureAndLeavingRestoresTheNormalOne) {
  Hover(button_);
  EXPECT_EQ(button_->ShownBitmap(), BACK_HOVER);
  EXPECT_EQ(Shows(), AsRgb32(LoadBitmap(BACK_HOVER)));
  Leave(button_);
  EXPECT_EQ(Shows(), AsRgb32(LoadBitmap(BACK_NORMAL)));
}

TEST_F(SkinButtonTest, PressedWinsOverHover) {
  Hover(button_);
  button_->setDown(true);
  EXPECT_EQ(Shows(), AsRgb32(LoadBitmap(BACK_PRESSED)));
  button_->setDown(false);
  EXPECT_EQ(Shows(), AsRgb32(LoadBitmap(BACK_HOVER)));
}

// The focus mark shows where the keyboard is, but the mouse's hover and press win over it.
TEST_F(SkinButtonTest, ShowsItsFocusPictureWhileFocusedUnlessHoveredOrPressed) {
  PlaceSkinButton(button_, BACK_BUTTON);
  EXPECT_EQ(button_->accessibleName(), "Back");
  page_.show();
  page_.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&page_));
  button_->setFocus();
  EXPECT_EQ(button_->ShownBitmap(), BACK_FOCUSED);
  EXPECT_EQ(Shows(), AsRgb32(LoadBitmap(BACK_FOCUSED)));
  Hover(button_);
  EXPECT_EQ(button_->ShownBitmap(), BACK_HOVER);
  button_->setDown(true);
  EXPECT_EQ(button_->ShownBitmap(), BACK_PRESSED);
  button_->setDown(false);
  Leave(button_);
  button_->clearFocus();
  EXPECT_EQ(Shows(), AsRgb32(LoadBitmap(BACK_NORMAL)));
}

TEST_F(SkinButtonTest, ExitShowsItsNormalPictureWhilePressed) {
  PlaceSkinButton(button_, QRect(544, 409, 43, 23), EXIT_NORMAL, EXIT_HOVER, EXIT_NORMAL);
  button_->setDown(true);
  EXPECT_EQ(Shows(), AsRgb32(LoadBitmap(EXIT_NORMAL)));
}

TEST_F(SkinButtonTest, DisabledButtonNeverShowsHover) {
  button_->setEnabled(false);
  Hover(button_);
  EXPECT_EQ(Shows(), AsRgb32(LoadBitmap(BACK_NORMAL)));
  // Disabled while hovered: back to normal, and still normal once enabled again.
  button_->setEnabled(true);
  Hover(button_);
  button_->setEnabled(false);
  button_->setEnabled(true);
  EXPECT_EQ(Shows(), AsRgb32(LoadBitmap(BACK_NORMAL)));
}

TEST_F(SkinButtonTest, ClickIsAnOrdinaryClickedSignal) {
  QSignalSpy clicked(button_, &QPushButton::clicked);
  QTest::mouseClick(button_, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
  EXPECT_EQ(clicked.count(), 1);
  button_->setEnabled(false);
  QTest::mouseClick(button_, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
  EXPECT_EQ(clicked.count(), 1);
}

// The page presses a focused button on Enter; were the button to take Enter itself too, one Enter
// would click it twice.
TEST_F(SkinButtonTest, LeavesEnterToItsPage) {
  EXPECT_FALSE(button_->autoDefault());
  EXPECT_FALSE(button_->isDefault());
  page_.show();
  button_->setFocus();
  QSignalSpy clicked(button_, &QPushButton::clicked);
  QTest::keyClick(button_, Qt::Key_Return);
  QTest::keyClick(button_, Qt::Key_Enter);
  EXPECT_EQ(clicked.count(), 0);
}

TEST_F(SkinButtonTest, ShowsTheHandPointerAndItsTip) {
  EXPECT_EQ(button_->cursor().shape(), Qt::PointingHandCursor);
  button_->SetBitmaps(181, 182, 183, "Go back");
  EXPECT_EQ(button_->toolTip(), "Go back");
  button_->SetBitmaps(181, 182, 183, "");
  EXPECT_TRUE(button_->toolTip().isEmpty());
}

TEST_F(SkinButtonTest, MissingPicturesNeitherCrashNorResize) {
  PlaceSkinButton(button_, QRect(5, 6, 40, 20), 9001, 9002, 9003);
  EXPECT_EQ(button_->geometry(), QRect(5, 6, 40, 20));
  Hover(button_);
  EXPECT_FALSE(Shows().isNull());
  // A missing hover picture falls back to the normal one.
  PlaceSkinButton(button_, QRect(5, 6, 40, 20), NEXT_NORMAL, 9002, 9003);
  Hover(button_);
  EXPECT_EQ(Shows(), AsRgb32(LoadBitmap(NEXT_NORMAL)));
}
