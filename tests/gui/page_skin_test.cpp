#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include "qt_printers.h"

#include "platform/bitmaps.h"
#include "res/artwork_ids.h"
#include "skin/page_skin.h"
#include "skin/skin_button.h"
#include "skin/transparent_label.h"
#include "widget_pixels.h"

namespace {

// A page as the wizard builds one: its background painted, drags started from presses.
class TestPage : public QWidget {
public:
  QImage background;

protected:
  void paintEvent(QPaintEvent*) override { PaintPageBackground(this, background); }
  void mousePressEvent(QMouseEvent* event) override { BeginPageDrag(this, event); }
};

void Send(QWidget* target, QEvent::Type type, QPoint local, Qt::MouseButton button,
          Qt::MouseButtons buttons) {
  QMouseEvent event(type, QPointF(local), QPointF(target->mapToGlobal(local)), button, buttons,
                    Qt::NoModifier);
  QCoreApplication::sendEvent(target, &event);
}

} // namespace

TEST(PageSkin, PageTakesItsBackgroundsSizePlaceAndFullShape) {
  TestPage page;
  const QImage background = ApplyPageSkin(&page, 177, QPoint(50, 60));
  ASSERT_FALSE(background.isNull());
  EXPECT_EQ(background, LoadBitmap(SUMMARY_BACKGROUND));
  EXPECT_EQ(page.geometry(), QRect(50, 60, 635, 474));
  EXPECT_EQ(page.mask(), QRegion(0, 0, 635, 474));

  // The finish page's picture is a pixel smaller each way.
  TestPage finish;
  ApplyPageSkin(&finish, 178, QPoint(50, 60));
  EXPECT_EQ(finish.geometry(), QRect(50, 60, 634, 473));
}

TEST(PageSkin, MissingBackgroundLeavesThePageAsItWas) {
  TestPage page;
  page.setGeometry(10, 20, 300, 200);
  EXPECT_TRUE(ApplyPageSkin(&page, 9999, QPoint(50, 60)).isNull());
  EXPECT_EQ(page.geometry(), QRect(10, 20, 300, 200));
  EXPECT_TRUE(page.mask().isEmpty());

  QPoint origin(7, 8);
  EXPECT_TRUE(ApplyDeviceListSkin(&page, 9999, &origin).isNull());
  EXPECT_EQ(origin, QPoint(7, 8)) << "the origin is stored only when the background loads";
}

TEST(PageSkin, FirstPageOpensAtAQuarterOfTheScreenAndRecordsTheOrigin) {
  TestPage page;
  QPoint origin(-1, -1);
  ASSERT_FALSE(ApplyDeviceListSkin(&page, 159, &origin).isNull());
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(origin, screen.topLeft() + QPoint(screen.width() / 4, screen.height() / 4));
  EXPECT_EQ(page.geometry(), QRect(origin, QSize(635, 474)));
  EXPECT_FALSE(page.windowIcon().isNull());

  // Every later page opens at the same corner.
  TestPage next;
  ApplyPageSkin(&next, 172, origin);
  EXPECT_EQ(next.pos(), origin);
}

TEST(PageSkin, PageFrameIsATitledFramelessTopLevelWindow) {
  TestPage page;
  ApplyPageFrame(&page);
  EXPECT_EQ(page.windowTitle(), "QBR20G");
  EXPECT_TRUE(page.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(page.windowType(), Qt::Window);
}

TEST(PageSkin, ButtonsTakeTheirNormalPicturesSizeAtTheGivenCorner) {
  TestPage page;
  auto* exit = new CSkinButton(&page);
  PlaceSkinButton(exit, QRect(544, 409, 200, 5), EXIT_NORMAL, EXIT_HOVER, EXIT_NORMAL);
  EXPECT_EQ(exit->geometry(), QRect(544, 409, 43, 23));
  EXPECT_TRUE(exit->toolTip().isEmpty());
}

TEST(PageSkin, StatusLineSitsAtTheFootWithoutATip) {
  TestPage page;
  auto* status = new CTransparentLabel(&page);
  status->setToolTip("old tip");
  PlaceStatusLine(status);
  EXPECT_EQ(status->geometry(), QRect(29, 413, 412, 20));
  EXPECT_TRUE(status->toolTip().isEmpty());
}

TEST(PageSkin, BackgroundIsPaintedAtTheOrigin) {
  TestPage page;
  page.background = ApplyPageSkin(&page, 173, QPoint(0, 0));
  EXPECT_EQ(Rendered(&page), AsRgb32(LoadBitmap(SECURITY_BACKGROUND)));
}

TEST(PageSkin, PressOnTheBackgroundDragsThePageUntilRelease) {
  TestPage page;
  ApplyPageSkin(&page, 173, QPoint(100, 100));
  auto* button = new CSkinButton(&page);
  PlaceSkinButton(button, QRect(430, 409, 48, 21), BACK_NORMAL, BACK_HOVER, BACK_PRESSED);

  // Offscreen there is no system move, so the page follows the mouse itself.
  Send(&page, QEvent::MouseButtonPress, QPoint(20, 20), Qt::LeftButton, Qt::LeftButton);
  Send(&page, QEvent::MouseMove, QPoint(50, 60), Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(page.pos(), QPoint(130, 140));
  Send(&page, QEvent::MouseButtonRelease, QPoint(50, 60), Qt::LeftButton, Qt::NoButton);
  const QPoint dropped = page.pos();
  Send(&page, QEvent::MouseMove, QPoint(90, 90), Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(page.pos(), dropped) << "the page stops following at release";
}

TEST(PageSkin, PressOnAChildControlDoesNotDrag) {
  TestPage page;
  ApplyPageSkin(&page, 173, QPoint(100, 100));
  auto* button = new CSkinButton(&page);
  PlaceSkinButton(button, QRect(430, 409, 48, 21), BACK_NORMAL, BACK_HOVER, BACK_PRESSED);
  button->setEnabled(false); // a disabled child passes its presses on to the page
  auto* label = new CTransparentLabel(&page);
  PlaceStatusLine(label);

  for (QPoint on : {QPoint(440, 415), QPoint(40, 420)}) {
    Send(&page, QEvent::MouseButtonPress, on, Qt::LeftButton, Qt::LeftButton);
    Send(&page, QEvent::MouseMove, on + QPoint(30, 30), Qt::NoButton, Qt::LeftButton);
    Send(&page, QEvent::MouseButtonRelease, on + QPoint(30, 30), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(page.pos(), QPoint(100, 100)) << on.x() << "," << on.y();
  }
  // A right press does not drag either.
  Send(&page, QEvent::MouseButtonPress, QPoint(20, 20), Qt::RightButton, Qt::RightButton);
  Send(&page, QEvent::MouseMove, QPoint(50, 50), Qt::NoButton, Qt::RightButton);
  EXPECT_EQ(page.pos(), QPoint(100, 100));
}

TEST(PageSkin, DragDoesNotMoveTheRecordedOrigin) {
  TestPage first;
  QPoint origin;
  ApplyDeviceListSkin(&first, 159, &origin);
  const QPoint recorded = origin;
  Send(&first, QEvent::MouseButtonPress, QPoint(20, 20), Qt::LeftButton, Qt::LeftButton);
  Send(&first, QEvent::MouseMove, QPoint(120, 20), Qt::NoButton, Qt::LeftButton);
  Send(&first, QEvent::MouseButtonRelease, QPoint(120, 20), Qt::LeftButton, Qt::NoButton);
  EXPECT_NE(first.pos(), recorded);
  EXPECT_EQ(origin, recorded);
}
