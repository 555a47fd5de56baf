// The pages on a screen with two device pixels to a pixel (run with QT_SCALE_FACTOR=2): every
// picture is painted from its twice-size drawing, never enlarged, while sizes, places and shapes
// stay those of the 1x pictures.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>

#include "platform/bitmaps.h"
#include "res/page_layout.h"
#include "skin/hyperlink_button.h"
#include "skin/page_skin.h"
#include "skin/progress_banner.h"
#include "skin/region_from_bitmap.h"
#include "skin/skin_button.h"
#include "tests/gui/qt_printers.h"
#include "tests/gui/widget_pixels.h"
#include "tests/gui/wizard_driver.h"
#include "wizard/finish_page.h"
#include "wizard/wep_page.h"

namespace {

class TwiceSize : public ::testing::Test {
protected:
  void SetUp() override {
    if (qApp->devicePixelRatio() != 2)
      GTEST_SKIP() << "needs QT_SCALE_FACTOR=2 (CTest sets it for this suite)";
  }
};

QImage TwiceSizePicture(int id) { return AsRgb32(LoadBitmapForScreen(id, 2)); }

} // namespace

TEST_F(TwiceSize, PagesPaintTheirTwiceSizeBackgroundAtTheirOneXSizeAndShape) {
  WizardDriver wizard(std::make_unique<CFinishPage>());
  CPageBase* page = wizard.page();
  EXPECT_EQ(page->size(), QSize(634, 473));
  EXPECT_EQ(page->mask(), QRegion(0, 0, 634, 473));
  const QImage shown = Rendered(page);
  ASSERT_EQ(shown.size(), QSize(1268, 946));
  // The header has no control on it: there the page shows its background's pixels.
  const QRect header(0, 0, 1268, 260);
  EXPECT_EQ(shown.copy(header), TwiceSizePicture(FINISH_BACKGROUND).copy(header));
}

TEST_F(TwiceSize, ButtonsAndBannersShowTheirTwiceSizePictures) {
  WizardDriver wizard(std::make_unique<CFinishPage>());
  for (const ButtonPlace& place : {BACK_BUTTON, NEXT_BUTTON, EXIT_BUTTON, WEB_SITE_BUTTON}) {
    auto* button = qobject_cast<CSkinButton*>(wizard.page()->childAt(place.rect.center()));
    ASSERT_NE(button, nullptr) << place.caption;
    EXPECT_EQ(button->geometry(), place.rect) << place.caption;
    EXPECT_EQ(Rendered(button), TwiceSizePicture(button->ShownBitmap())) << place.caption;
  }
  CProgressBanner* notice = wizard.as<CFinishPage>()->Banner();
  EXPECT_EQ(notice->size(), SAVED_NOTICE_SIZE);
  EXPECT_EQ(Rendered(notice), TwiceSizePicture(SAVED_NOTICE));
}

TEST_F(TwiceSize, TheKeyHintIsItsTwiceSizeDrawing) {
  WizardDriver wizard(std::make_unique<CWepPage>());
  auto* hint = wizard.Control<QLabel>(CWepPage::IDC_HINT);
  ASSERT_NE(hint, nullptr);
  EXPECT_EQ(hint->pixmap().devicePixelRatio(), 2);
  EXPECT_EQ(AsRgb32(hint->pixmap().toImage()), TwiceSizePicture(HEX_KEY_HINT));
}

TEST_F(TwiceSize, TheProductLinkKeepsItsShapeAndShowsTheTwiceSizeBubbleInside) {
  QWidget page;
  page.resize(635, 474);
  auto* link = new CHyperLinkButton(&page);
  link->setGeometry(PRODUCT_LINK_RECT);
  link->SetBackdropBitmap(PRODUCT_BUBBLE);
  link->SetShapeBitmap(PRODUCT_MASK, true);
  link->SetMaskBitmap(PRODUCT_MASK, true);
  link->SetStateBitmaps(PRODUCT_BUBBLE, PRODUCT_BUBBLE, PRODUCT_BUBBLE);
  EXPECT_EQ(link->mask(), *RegionFromBitmap(LoadBitmap(PRODUCT_MASK), 0xFFFFFF, 0));
  const QImage shown = Rendered(link);
  const QImage bubble = TwiceSizePicture(PRODUCT_BUBBLE);
  const QImage mask = TwiceSizePicture(PRODUCT_MASK);
  ASSERT_EQ(shown.size(), bubble.size());
  int compared = 0;
  for (int y = 0; y < mask.height(); y += 3) {
    for (int x = 0; x < mask.width(); x += 3) {
      if ((mask.pixel(x, y) & 0xFFFFFF) == 0) {
        ASSERT_EQ(shown.pixel(x, y), bubble.pixel(x, y)) << x << "," << y;
        ++compared;
      }
    }
  }
  EXPECT_GT(compared, 4000);
}
