#include <map>
#include <set>

#include <gtest/gtest.h>

#include "qt_printers.h"

#include "platform/bitmaps.h"
#include "skin/region_from_bitmap.h"

namespace {

// Every picture the pages and controls load, at the size they are laid out for.
const std::map<int, QSize>& PictureSizes() {
  static const std::map<int, QSize> sizes = {
      {128, {64, 64}},   {139, {290, 82}},  {140, {290, 82}},  {141, {290, 82}},  {142, {290, 82}},
      {145, {290, 82}},  {146, {290, 82}},  {147, {290, 82}},  {148, {290, 82}},  {150, {395, 130}},
      {151, {395, 130}}, {159, {635, 474}}, {172, {636, 473}}, {173, {635, 474}}, {174, {635, 474}},
      {175, {635, 474}}, {176, {635, 474}}, {177, {635, 474}}, {178, {634, 473}}, {180, {122, 25}},
      {181, {48, 21}},   {182, {48, 21}},   {183, {48, 21}},   {184, {43, 23}},   {185, {43, 23}},
      {186, {47, 22}},   {187, {47, 22}},   {188, {47, 22}},   {189, {122, 25}},  {192, {106, 24}},
      {193, {106, 24}},  {197, {114, 8}},   {198, {114, 8}},   {221, {227, 182}}, {222, {227, 182}},
  };
  return sizes;
}

const int BACKGROUNDS[] = {159, 172, 173, 174, 175, 176, 177, 178};

} // namespace

TEST(BitmapTable, EveryPictureLoadsAtItsListedSize) {
  for (const auto& [id, size] : PictureSizes()) {
    const QImage picture = LoadBitmap(id);
    ASSERT_FALSE(picture.isNull()) << "picture " << id << " is missing";
    EXPECT_EQ(picture.size(), size) << "picture " << id;
  }
}

TEST(BitmapTable, UnknownIdsGiveANullPicture) {
  for (int id : {0, -1, 1, 160, 9999}) {
    EXPECT_TRUE(LoadBitmap(id).isNull()) << id;
  }
}

TEST(BitmapTable, BackgroundsHaveNoKeyColourSoEveryPageIsItsFullRectangle) {
  for (int id : BACKGROUNDS) {
    const QImage background = LoadBitmap(id);
    const std::optional<QRegion> shape = RegionFromBitmap(background, 0xFF00FF, 0x101010);
    ASSERT_TRUE(shape.has_value()) << id;
    EXPECT_EQ(*shape, QRegion(background.rect())) << "background " << id;
  }
}

TEST(BitmapTable, ProductMaskIsPureBlackAndWhiteAndCoversTheBubbleOnly) {
  const QImage mask = LoadBitmap(221).convertToFormat(QImage::Format_RGB32);
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
      {189, 180}, {181, 182}, {181, 183}, {182, 183}, {184, 185}, {186, 187}, {186, 188},
      {187, 188}, {193, 192}, {150, 151}, {197, 198}, {175, 176}, {139, 140}, {140, 141},
      {141, 142}, {142, 139}, {145, 146}, {146, 147}, {147, 148}, {148, 145}, {139, 145},
  };
  for (const auto& [a, b] : differing) {
    EXPECT_NE(LoadBitmap(a), LoadBitmap(b)) << a << " and " << b;
  }
}

TEST(BitmapTable, ApplicationIconHasATransparentCorner) {
  const QImage icon = LoadBitmap(128);
  ASSERT_TRUE(icon.hasAlphaChannel());
  EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);
  EXPECT_EQ(qAlpha(icon.pixel(32, 32)), 255);
}
