#include <set>
#include <vector>

#include <gtest/gtest.h>

#include <QDialog>
#include <QTemporaryDir>
#include <QTransform>

#include "qt_printers.h"

#include "platform/bitmaps.h"
#include "platform/ui_language.h"
#include "res/page_layout.h"
#include "skin/page_skin.h"
#include "skin/region_from_bitmap.h"
#include "skin/skin_button.h"

namespace {

const ArtworkId BACKGROUNDS[] = {
    DEVICE_LIST_BACKGROUND, SITE_SURVEY_BACKGROUND, SECURITY_BACKGROUND, WEP_BACKGROUND,
    WPA_BACKGROUND,         WPA2_BACKGROUND,        SUMMARY_BACKGROUND,  FINISH_BACKGROUND};

} // namespace

TEST(BitmapTable, EveryListedPictureIsBuiltIn) {
  for (const ArtworkId id : ARTWORK_IDS)
    EXPECT_FALSE(LoadBitmap(id).isNull()) << "picture " << id << " is missing";
}

// Another language's pictures come from its folder, at both sizes; where its folder has none, the
// English ones are shown.
TEST(BitmapTable, EachLanguageShowsItsOwnPicturesAndEnglishWhereItHasNone) {
  const QImage english = LoadBitmap(DEVICE_LIST_BACKGROUND);
  const QImage english_2x = LoadBitmapForScreen(DEVICE_LIST_BACKGROUND, 2);
  SetUiLanguage(QStringLiteral("de"));
  const QImage german = LoadBitmap(DEVICE_LIST_BACKGROUND);
  const QImage german_2x = LoadBitmapForScreen(DEVICE_LIST_BACKGROUND, 2);
  EXPECT_EQ(german.size(), english.size());
  EXPECT_NE(german, english) << "the German page shows the English words";
  EXPECT_EQ(german_2x.devicePixelRatio(), 2);
  EXPECT_EQ(german_2x.size(), english_2x.size());
  EXPECT_NE(german_2x, english_2x);
  const QString installed = LanguageArtworkDir();
  QTemporaryDir empty;
  SetLanguageArtworkDir(empty.path());
  EXPECT_EQ(LoadBitmap(DEVICE_LIST_BACKGROUND), english);
  SetLanguageArtworkDir(installed);
  SetUiLanguage(QString());
  EXPECT_EQ(LoadBitmap(DEVICE_LIST_BACKGROUND), english);
}

TEST(BitmapTable, UnknownIdsGiveANullPicture) {
  for (int id : {0, -1, 1, 160, 9999}) {
    EXPECT_TRUE(LoadBitmap(id).isNull()) << id;
  }
}

// A skinned button takes the size of its normal picture; if that differed from its place, it
// would no longer cover the caption that the background draws there.
TEST(BitmapTable, SkinnedButtonsKeepTheirPlaces) {
  QDialog page;
  auto* button = new CSkinButton(&page);
  for (const ButtonPlace& place :
       {BACK_BUTTON, NEXT_BUTTON, EXIT_BUTTON, DEVICE_LIST_REFRESH_BUTTON, SURVEY_REFRESH_BUTTON,
        WEB_SITE_BUTTON}) {
    PlaceSkinButton(button, place.rect, place.normal, place.hover, place.pressed);
    EXPECT_EQ(button->geometry(), place.rect) << "picture " << place.normal;
    EXPECT_EQ(LoadBitmap(place.hover).size(), place.rect.size()) << "picture " << place.hover;
    EXPECT_EQ(LoadBitmap(place.pressed).size(), place.rect.size()) << "picture " << place.pressed;
  }
}

// Banners, hints and the product bubble draw their picture from their corner on: each fills
// the place it is shown in.
TEST(BitmapTable, PicturesFillThePlacesTheyAreShownIn) {
  for (int frame = 0; frame < BANNER_FRAME_COUNT; ++frame) {
    EXPECT_EQ(LoadBitmap(SEARCHING_FRAME_0 + frame).size(), WORK_BANNER_SIZE) << frame;
    EXPECT_EQ(LoadBitmap(PLEASE_WAIT_FRAME_0 + frame).size(), WORK_BANNER_SIZE) << frame;
  }
  EXPECT_EQ(LoadBitmap(SAVED_NOTICE).size(), SAVED_NOTICE_SIZE);
  EXPECT_EQ(LoadBitmap(SAVED_NOTICE_CLOSE_LIT).size(), SAVED_NOTICE_SIZE);
  EXPECT_EQ(LoadBitmap(ASCII_KEY_HINT).size(), KEY_HINT_RECT.size());
  EXPECT_EQ(LoadBitmap(HEX_KEY_HINT).size(), KEY_HINT_RECT.size());
  EXPECT_EQ(LoadBitmap(PRODUCT_BUBBLE).size(), PRODUCT_LINK_RECT.size());
  EXPECT_EQ(LoadBitmap(PRODUCT_MASK).size(), PRODUCT_LINK_RECT.size());
}

TEST(BitmapTable, BackgroundsHaveNoKeyColourSoEveryPageIsItsFullRectangle) {
  for (const ArtworkId id : BACKGROUNDS) {
    const QImage background = LoadBitmap(id);
    const std::optional<QRegion> shape = RegionFromBitmap(background, 0xFF00FF, 0x101010);
    ASSERT_TRUE(shape.has_value()) << id;
    EXPECT_EQ(*shape, QRegion(background.rect())) << "background " << id;
  }
}

// A window is cut from its 1x picture whatever the screen; the twice-size drawing must cover the
// very same shape, or the edge of a page or of the product link would show what it does not own.
TEST(BitmapTable, EveryTwiceSizePictureHasTheOneXShapeDoubled) {
  std::vector<std::pair<ArtworkId, quint32>> shaped = {{PRODUCT_MASK, 0xFFFFFF}};
  for (const ArtworkId id : BACKGROUNDS)
    shaped.push_back({id, 0xFF00FF});
  for (const auto& [id, key] : shaped) {
    const quint32 tolerance = key == 0xFF00FF ? 0x101010 : 0;
    const QImage twice = LoadBitmapForScreen(id, 2);
    ASSERT_EQ(twice.devicePixelRatio(), 2) << id;
    ASSERT_EQ(twice.size(), LoadBitmap(id).size() * 2) << id;
    EXPECT_EQ(*RegionFromBitmap(twice, key, tolerance),
              QTransform::fromScale(2, 2).map(*RegionFromBitmap(LoadBitmap(id), key, tolerance)))
        << "picture " << id;
  }
  for (const ArtworkId id : ARTWORK_IDS)
    EXPECT_EQ(LoadBitmapForScreen(id, 2).deviceIndependentSize(), LoadBitmap(id).size()) << id;
}

TEST(BitmapTable, EveryControlLiesOnItsPagesBackground) {
  const std::pair<ArtworkId, QRect> controls[] = {
      {DEVICE_LIST_BACKGROUND, DEVICE_LIST_RECT},
      {DEVICE_LIST_BACKGROUND, VERSION_LABEL_RECT},
      {DEVICE_LIST_BACKGROUND, PRODUCT_LINK_RECT},
      {SITE_SURVEY_BACKGROUND, NETWORK_LIST_RECT},
      {SITE_SURVEY_BACKGROUND, SSID_BOX_RECT},
      {SITE_SURVEY_BACKGROUND, CHANNEL_LIST_RECT},
      {SECURITY_BACKGROUND, SECURITY_MODE_LIST_RECT},
      {WEP_BACKGROUND, WEP_KEY_RECTS[3]},
      {WEP_BACKGROUND, KEY_HINT_RECT},
      {WPA_BACKGROUND, PASSPHRASE_BOX_RECT},
      {SUMMARY_BACKGROUND, NEW_SETTING_RECTS[3]},
      {FINISH_BACKGROUND, WEB_SITE_BUTTON.rect},
      {FINISH_BACKGROUND, EXIT_BUTTON.rect},
  };
  for (const auto& [background, rect] : controls)
    EXPECT_TRUE(LoadBitmap(background).rect().contains(rect))
        << "background " << background << ", control at " << rect.x() << "," << rect.y();
}

TEST(BitmapTable, ProductMaskIsPureBlackAndWhiteAndCoversTheBubbleOnly) {
  const QImage mask = LoadBitmap(PRODUCT_MASK).convertToFormat(QImage::Format_RGB32);
  std::set<QRgb> colours;
  for (int y = 0; y < mask.height(); ++y) {
    for (int x = 0; x < mask.width(); ++x) {
      colours.insert(mask.pixel(x, y) & 0xFFFFFF);
    }
  }
  EXPECT_EQ(colours, (std::set<QRgb>{0x000000, 0xFFFFFF}));
  // Corners are outside the rounded bubble; its middle is inside.
  EXPECT_EQ(mask.pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(mask.pixel(226, 181) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(mask.pixel(113, 70) & 0xFFFFFF, 0x000000u);
}

TEST(BitmapTable, StatesAndFramesAreTellable) {
  // Each pair must look different, or the user could not see the change.
  const std::pair<int, int> differing[] = {
      {REFRESH_NORMAL, REFRESH_HOVER},
      {BACK_NORMAL, BACK_HOVER},
      {BACK_NORMAL, BACK_PRESSED},
      {BACK_HOVER, BACK_PRESSED},
      {EXIT_NORMAL, EXIT_HOVER},
      {NEXT_NORMAL, NEXT_HOVER},
      {NEXT_NORMAL, NEXT_PRESSED},
      {NEXT_HOVER, NEXT_PRESSED},
      {WEB_SITE_NORMAL, WEB_SITE_HOVER},
      {SAVED_NOTICE, SAVED_NOTICE_CLOSE_LIT},
      {ASCII_KEY_HINT, HEX_KEY_HINT},
      {WPA_BACKGROUND, WPA2_BACKGROUND},
      {SEARCHING_FRAME_0, PLEASE_WAIT_FRAME_0},
  };
  for (const auto& [a, b] : differing) {
    EXPECT_NE(LoadBitmap(a), LoadBitmap(b)) << a << " and " << b;
  }
  for (const int first : {SEARCHING_FRAME_0, PLEASE_WAIT_FRAME_0}) {
    for (int frame = 0; frame < BANNER_FRAME_COUNT; ++frame) {
      const int next = first + (frame + 1) % BANNER_FRAME_COUNT;
      EXPECT_NE(LoadBitmap(first + frame), LoadBitmap(next)) << first + frame << " and " << next;
    }
  }
}

TEST(BitmapTable, ApplicationIconHasATransparentCorner) {
  const QImage icon = LoadBitmap(APPLICATION_ICON);
  ASSERT_TRUE(icon.hasAlphaChannel());
  EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);
  EXPECT_EQ(qAlpha(icon.pixel(32, 32)), 255);
}
