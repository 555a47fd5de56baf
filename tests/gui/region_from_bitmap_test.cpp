#include <QBitmap>

#include <gtest/gtest.h>

#include "qt_printers.h"

#include "platform/bitmaps.h"
#include "skin/region_from_bitmap.h"

namespace {

constexpr quint32 MAGENTA = 0xFF00FF;
constexpr quint32 PAGE_TOLERANCE = 0x101010;
constexpr QRgb KEY_PIXEL = 0xFFFF00FF;
constexpr QRgb OPAQUE_PIXEL = 0xFF204060;

QImage Filled(int width, int height, QRgb pixel) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(pixel);
  return image;
}

// The region as a plain scan would build it, one rectangle per opaque run, joined one by one.
QRegion ReferenceRegion(const QImage& image, QRgb key) {
  QRegion region;
  for (int y = 0; y < image.height(); ++y) {
    int x = 0;
    while (x < image.width()) {
      while (x < image.width() && (image.pixel(x, y) & 0xFFFFFF) == (key & 0xFFFFFF)) {
        ++x;
      }
      const int start = x;
      while (x < image.width() && (image.pixel(x, y) & 0xFFFFFF) != (key & 0xFFFFFF)) {
        ++x;
      }
      if (x > start) {
        region += QRect(start, y, x - start, 1);
      }
    }
  }
  return region;
}

bool SameArea(const QRegion& a, const QRegion& b) { return a.xored(b).isEmpty(); }

// Opaque on odd columns only, so every row has width / 2 runs.
QImage Stripes(int width, int height) {
  QImage image = Filled(width, height, KEY_PIXEL);
  for (int y = 0; y < height; ++y) {
    for (int x = 1; x < width; x += 2) {
      image.setPixel(x, y, OPAQUE_PIXEL);
    }
  }
  return image;
}

int RunCount(const QImage& image, QRgb key) {
  int runs = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const bool opaque = (image.pixel(x, y) & 0xFFFFFF) != (key & 0xFFFFFF);
      const bool opaque_before = x > 0 && (image.pixel(x - 1, y) & 0xFFFFFF) != (key & 0xFFFFFF);
      runs += opaque && !opaque_before ? 1 : 0;
    }
  }
  return runs;
}

} // namespace

TEST(RegionFromBitmap, NullPictureGivesNoRegion) {
  EXPECT_FALSE(RegionFromBitmap(QImage(), MAGENTA, PAGE_TOLERANCE).has_value());
}

TEST(RegionFromBitmap, AllKeyPictureGivesAnEmptyRegionNotNone) {
  const std::optional<QRegion> region =
      RegionFromBitmap(Filled(40, 30, KEY_PIXEL), MAGENTA, PAGE_TOLERANCE);
  ASSERT_TRUE(region.has_value());
  EXPECT_TRUE(region->isEmpty());
}

TEST(RegionFromBitmap, PictureWithoutKeyGivesItsWholeRectangle) {
  const std::optional<QRegion> region =
      RegionFromBitmap(Filled(634, 473, OPAQUE_PIXEL), MAGENTA, PAGE_TOLERANCE);
  ASSERT_TRUE(region.has_value());
  EXPECT_EQ(*region, QRegion(0, 0, 634, 473));
  EXPECT_EQ(region->rectCount(), 1);
}

TEST(RegionFromBitmap, ToleranceEdgesAreInclusiveAndCapped) {
  struct Case {
    QRgb pixel;
    bool transparent;
  };
  const Case cases[] = {
      {qRgb(255, 0, 255), true},  {qRgb(255, 16, 255), true},   {qRgb(255, 17, 255), false},
      {qRgb(254, 0, 255), false}, {qRgb(255, 0, 254), false},   {qRgb(255, 10, 255), true},
      {qRgb(0, 0, 0), false},     {qRgb(255, 255, 255), false},
  };
  // At the row start, and straddling the 64-pixel words of the scan.
  for (int offset : {0, 50}) {
    QImage row = Filled(offset + 2 * static_cast<int>(std::size(cases)) + 70, 1, OPAQUE_PIXEL);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
      row.setPixel(offset + static_cast<int>(2 * i), 0, cases[i].pixel);
    }
    const QRegion region = *RegionFromBitmap(row, MAGENTA, PAGE_TOLERANCE);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
      EXPECT_EQ(region.contains(QPoint(offset + static_cast<int>(2 * i), 0)), !cases[i].transparent)
          << "pixel " << std::hex << cases[i].pixel << " at offset " << std::dec << offset;
    }
  }

  // A key byte near 255 plus its tolerance stops at 255 instead of wrapping round.
  QImage capped = Filled(3, 1, qRgb(0xFF, 0xFF, 0xFF));
  capped.setPixel(1, 0, qRgb(0xF7, 0xF8, 0xF8));
  capped.setPixel(2, 0, qRgb(0x08, 0xF8, 0xF8));
  const QRegion capped_region = *RegionFromBitmap(capped, 0xF8F8F8, 0x101010);
  EXPECT_FALSE(capped_region.contains(QPoint(0, 0)));
  EXPECT_TRUE(capped_region.contains(QPoint(1, 0)));
  EXPECT_TRUE(capped_region.contains(QPoint(2, 0)));
}

TEST(RegionFromBitmap, AlphaByteIsIgnored) {
  QImage image(2, 1, QImage::Format_ARGB32);
  image.setPixel(0, 0, 0x00FF00FF); // key colour, fully transparent alpha
  image.setPixel(1, 0, 0x00000000); // black, fully transparent alpha
  const QRegion region = *RegionFromBitmap(image, MAGENTA, PAGE_TOLERANCE);
  EXPECT_EQ(region, QRegion(1, 0, 1, 1));
}

TEST(RegionFromBitmap, RunsTouchTheLeftAndRightEdges) {
  QImage image = Filled(10, 2, OPAQUE_PIXEL);
  for (int x = 3; x < 6; ++x) {
    image.setPixel(x, 0, KEY_PIXEL);
  }
  const QRegion region = *RegionFromBitmap(image, MAGENTA, 0);
  EXPECT_EQ(region, QRegion(0, 0, 3, 1) + QRegion(6, 0, 4, 1) + QRegion(0, 1, 10, 1));
  EXPECT_TRUE(region.contains(QPoint(9, 0)));
  EXPECT_FALSE(region.contains(QPoint(10, 0)));

  // A picture narrower than one word of the scan, and one that ends exactly on a word.
  for (int width : {1, 3, 16, 63, 64, 65, 129}) {
    QImage edge = Filled(width, 1, OPAQUE_PIXEL);
    EXPECT_EQ(*RegionFromBitmap(edge, MAGENTA, 0), QRegion(0, 0, width, 1)) << width;
    edge.setPixel(width - 1, 0, KEY_PIXEL);
    EXPECT_TRUE(SameArea(*RegionFromBitmap(edge, MAGENTA, 0), QRegion(0, 0, width - 1, 1)))
        << width;
  }
}

TEST(RegionFromBitmap, ManyRunsAreBuiltInBatchesWithTheSameResultAsOneBuild) {
  struct Case {
    const char* name;
    QImage image;
  };
  QImage shifted = Stripes(401, 30);
  for (int y = 1; y < 30; y += 2) {
    for (int x = 0; x < 401; ++x) {
      shifted.setPixel(x, y, x % 2 == 0 ? OPAQUE_PIXEL : KEY_PIXEL);
    }
  }
  const Case cases[] = {
      {"two full batches and an empty one", Stripes(100, 80)},
      {"rows alternate, about 6000 runs", shifted},
      {"one row longer than a batch", Stripes(4402, 2)},
  };
  EXPECT_EQ(RunCount(cases[0].image, KEY_PIXEL), 4000);
  EXPECT_GT(RunCount(cases[1].image, KEY_PIXEL), 6000);
  EXPECT_EQ(RunCount(cases[2].image, KEY_PIXEL), 4402);
  for (const Case& c : cases) {
    const std::optional<QRegion> region = RegionFromBitmap(c.image, MAGENTA, 0);
    ASSERT_TRUE(region.has_value()) << c.name;
    EXPECT_TRUE(SameArea(*region, ReferenceRegion(c.image, KEY_PIXEL))) << c.name;
  }
}

TEST(RegionFromBitmap, OtherPixelFormatsGiveTheSameRegion) {
  QImage image = Filled(37, 9, OPAQUE_PIXEL);
  for (int x = 5; x < 20; ++x) {
    image.setPixel(x, x % 9, KEY_PIXEL);
  }
  const QRegion expected = *RegionFromBitmap(image, MAGENTA, 0);
  for (QImage::Format format : {QImage::Format_RGB888, QImage::Format_Indexed8,
                                QImage::Format_ARGB32_Premultiplied, QImage::Format_RGBA8888}) {
    const QImage converted = image.convertToFormat(format);
    EXPECT_EQ(*RegionFromBitmap(converted, MAGENTA, 0), expected) << format;
  }
}

TEST(RegionFromBitmap, ProductMaskGivesTheSameShapeAsQtsBitmapRegion) {
  const QImage mask = LoadBitmap(221);
  ASSERT_FALSE(mask.isNull());
  const QRegion ours = *RegionFromBitmap(mask, 0xFFFFFF, 0);
  QImage bits = mask.createMaskFromColor(0xFFFFFFFF, Qt::MaskOutColor);
  bits.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)}); // set bits (not white) are inside
  const QRegion qt(QBitmap::fromImage(bits));
  EXPECT_FALSE(ours.isEmpty());
  EXPECT_FALSE(ours.contains(QPoint(0, 0)));
  EXPECT_TRUE(SameArea(ours, qt));
}
