#include <QApplication>
#include <QEnterEvent>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "qt_printers.h"

#include "platform/bitmaps.h"
#include "platform/open_link.h"
#include "res/artwork_ids.h"
#include "skin/hyperlink_button.h"
#include "skin/region_from_bitmap.h"
#include "widget_pixels.h"

namespace {

const QString PRODUCT_URL = "https://example.org/qbr20n";

class HyperlinkButtonTest : public ::testing::Test {
protected:
  void SetUp() override {
    page_.resize(635, 474);
    link_ = new CHyperLinkButton(&page_);
    link_->setGeometry(408, 0, 227, 182);
  }

  // As the device list page sets up its product link.
  void SetUpAsProductLink() {
    link_->show();
    link_->SetBackdropBitmap(PRODUCT_BUBBLE);
    link_->SetShapeBitmap(PRODUCT_MASK, true);
    link_->SetMaskBitmap(PRODUCT_MASK, true);
    link_->SetStateBitmaps(PRODUCT_BUBBLE, PRODUCT_BUBBLE, PRODUCT_BUBBLE);
    link_->SetLinkTarget(PRODUCT_URL);
    link_->SetTipText("QBR20N, a professional 150M Mini WiFi Bridge");
  }

  // Clicks the link and returns the text of the message box it shows, if any.
  QString ClickAndReadMessage() {
    QString message;
    // The result may come back later, so look for the box until it shows.
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        message = box->text();
        box->accept();
      }
    });
    watcher.start(5);
    QSignalSpy opened(link_, &CHyperLinkButton::LinkOpened);
    QTest::mouseClick(link_, Qt::LeftButton, Qt::NoModifier, QPoint(100, 60));
    if (opened.isEmpty()) {
      opened.wait(2000);
    }
    return message;
  }

  QWidget page_;
  CHyperLinkButton* link_ = nullptr;
};

QImage Filled(QSize size, QRgb pixel) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(pixel);
  return image;
}

} // namespace

TEST_F(HyperlinkButtonTest, TipDefaultsToTheTargetButAnEarlierTipStays) {
  link_->SetLinkTarget(PRODUCT_URL);
  EXPECT_EQ(link_->TipText(), PRODUCT_URL);
  EXPECT_EQ(link_->toolTip(), PRODUCT_URL);

  CHyperLinkButton other(&page_);
  other.SetTipText("QBR20N, a professional 150M Mini WiFi Bridge");
  other.SetLinkTarget(PRODUCT_URL);
  EXPECT_EQ(other.toolTip(), "QBR20N, a professional 150M Mini WiFi Bridge");
}

TEST_F(HyperlinkButtonTest, SuccessfulOpenMarksTheLinkVisited) {
  SetUpAsProductLink();
  QStringList opened;
  link_->SetOpener([&](const QString& target, std::function<void(int)> done) {
    opened << target;
    done(42);
  });
  EXPECT_FALSE(link_->Visited());
  EXPECT_EQ(ClickAndReadMessage(), "");
  EXPECT_TRUE(link_->Visited());
  EXPECT_EQ(opened, QStringList{PRODUCT_URL});
}

TEST_F(HyperlinkButtonTest, FailedOpenShowsTheErrorAndTheLinkStaysUsable) {
  SetUpAsProductLink();
  int result = 4;
  link_->SetOpener([&](const QString&, std::function<void(int)> done) { done(result); });
  EXPECT_EQ(ClickAndReadMessage(), "Unable to open hyperlink:\n\nUnknown Error (4) occurred.");
  EXPECT_FALSE(link_->Visited());
  result = 26;
  EXPECT_EQ(ClickAndReadMessage(), "Unable to open hyperlink:\n\nA sharing violation occurred. ");
  result = 33;
  EXPECT_EQ(ClickAndReadMessage(), "");
  EXPECT_TRUE(link_->Visited());
}

TEST_F(HyperlinkButtonTest, DefaultOpenGoesThroughTheProcessWideOpener) {
  // The suite's main replaces the desktop's opener with one that fails with code 31.
  SetUpAsProductLink();
  EXPECT_EQ(ClickAndReadMessage(), "Unable to open hyperlink:\n\nThere is no application "
                                   "associated\nwith the given filename extension.");
}

TEST_F(HyperlinkButtonTest, ShapeIsTheMasksBlackPart) {
  SetUpAsProductLink();
  EXPECT_EQ(link_->mask(), *RegionFromBitmap(LoadBitmap(PRODUCT_MASK), 0xFFFFFF, 0));
  EXPECT_TRUE(link_->mask().contains(QPoint(113, 70)));
  EXPECT_FALSE(link_->mask().contains(QPoint(0, 0)));
}

TEST_F(HyperlinkButtonTest, ProductLinkShowsTheBubbleInsideItsShape) {
  SetUpAsProductLink();
  const QImage shown = Rendered(link_);
  const QImage bubble = AsRgb32(LoadBitmap(PRODUCT_BUBBLE));
  const QImage mask = AsRgb32(LoadBitmap(PRODUCT_MASK));
  int compared = 0;
  for (int y = 0; y < 182; y += 3) {
    for (int x = 0; x < 227; x += 3) {
      if ((mask.pixel(x, y) & 0xFFFFFF) == 0) {
        ASSERT_EQ(shown.pixel(x, y), bubble.pixel(x, y)) << x << "," << y;
        ++compared;
      }
    }
  }
  EXPECT_GT(compared, 1000);
}

TEST_F(HyperlinkButtonTest, ShowsItsFocusedBubbleWithTheKeyboardFocus) {
  SetUpAsProductLink();
  link_->SetFocusBitmap(PRODUCT_BUBBLE_FOCUSED);
  page_.show();
  page_.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&page_));
  link_->clearFocus();
  const QImage unfocused = Rendered(link_);
  link_->setFocus();
  const QImage focused = Rendered(link_);
  EXPECT_NE(focused, unfocused);
  const QImage mark = AsRgb32(LoadBitmap(PRODUCT_BUBBLE_FOCUSED));
  EXPECT_EQ(focused.pixel(15, 60), mark.pixel(15, 60)) << "the mark lies along the inner edge";
}

TEST(HyperlinkComposition, MaskChoosesBetweenPictureAndBackdropAndPicture) {
  const QSize size(4, 1);
  QImage mask = Filled(size, 0xFFFFFFFF);
  mask.setPixel(0, 0, 0xFF000000);
  mask.setPixel(1, 0, 0xFF000000);
  const QImage backdrop = Filled(size, 0xFF0F0F0F);
  const QImage picture = Filled(size, 0xFF3C3C3C);
  const QImage with_backdrop = CHyperLinkButton::ComposeMasked(backdrop, mask, picture, size);
  EXPECT_EQ(with_backdrop.pixel(0, 0), 0xFF3C3C3Cu); // black mask: the picture
  EXPECT_EQ(with_backdrop.pixel(3, 0), 0xFF0C0C0Cu); // white mask: backdrop AND picture
  const QImage without_backdrop = CHyperLinkButton::ComposeMasked(QImage(), mask, picture, size);
  EXPECT_EQ(without_backdrop.pixel(1, 0), 0xFF3C3C3Cu);
  EXPECT_EQ(without_backdrop.pixel(2, 0), 0xFF000000u);
}

TEST_F(HyperlinkButtonTest, PressShowsPressedOnlyUntilTheHoverArrives) {
  link_->setGeometry(0, 0, 48, 21);
  link_->SetStateBitmaps(BACK_HOVER, BACK_NORMAL, BACK_PRESSED);
  EXPECT_EQ(Rendered(link_), AsRgb32(LoadBitmap(BACK_NORMAL)));
  link_->setDown(true);
  EXPECT_EQ(Rendered(link_), AsRgb32(LoadBitmap(BACK_PRESSED)));

  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(link_->mapToGlobal(QPoint(5, 5))));
  QCoreApplication::sendEvent(link_, &enter);
  EXPECT_TRUE(
      QTest::qWaitFor([&] { return Rendered(link_) == AsRgb32(LoadBitmap(BACK_HOVER)); }, 1000));

  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(link_, &leave);
  EXPECT_EQ(Rendered(link_), AsRgb32(LoadBitmap(BACK_PRESSED)));
  link_->setDown(false);
  EXPECT_EQ(Rendered(link_), AsRgb32(LoadBitmap(BACK_NORMAL)));
}

// Enter on the focused link is pressed by its page, not by the link itself as well.
TEST_F(HyperlinkButtonTest, ShowsTheHandPointerAndLeavesEnterToItsPage) {
  EXPECT_EQ(link_->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_FALSE(link_->autoDefault());
}
