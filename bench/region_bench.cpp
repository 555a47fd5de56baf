// Times RegionFromBitmap against Qt's own QRegion(QBitmap) on the same pictures and prints both
// with their ratio. Run: QT_QPA_PLATFORM=offscreen build/bench/region_bench
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include <QBitmap>
#include <QGuiApplication>
#include <QRegion>

#include "bench/bench_figures.h"
#include "platform/bitmaps.h"
#include "skin/region_from_bitmap.h"

namespace {

using Clock = std::chrono::steady_clock;

// Microseconds per call: the best of several rounds, each long enough to be measured well.
double MicrosecondsPerCall(const std::function<void()>& call) {
  int calls = 1;
  for (;;) {
    const auto start = Clock::now();
    for (int i = 0; i < calls; ++i) {
      call();
    }
    if (Clock::now() - start > std::chrono::milliseconds(20)) {
      break;
    }
    calls *= 2;
  }
  double best = 1e300;
  for (int round = 0; round < 15; ++round) {
    const auto start = Clock::now();
    for (int i = 0; i < calls; ++i) {
      call();
    }
    const std::chrono::duration<double, std::micro> spent = Clock::now() - start;
    best = std::min(best, spent.count() / calls);
  }
  return best;
}

// Qt's bitmap for the same picture: set (black) where the pixel is not the key colour.
QBitmap OpaqueBits(const QImage& picture, QRgb key) {
  QImage bits = picture.createMaskFromColor(key, Qt::MaskOutColor);
  bits.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
  return QBitmap::fromImage(bits);
}

QImage Stripes(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(0xFFFF00FF);
  for (int y = 0; y < height; ++y) {
    for (int x = (y % 2); x < width; x += 2) {
      image.setPixel(x, y, 0xFF204060);
    }
  }
  return image;
}

struct Row {
  const char* name;
  double ours_us;
  double qt_us;
  bool same;
};

struct Case {
  const char* name;
  QImage picture;
  quint32 key;
  quint32 tolerance;
};

} // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QGuiApplication app(argc, argv);

  const std::vector<Case> cases = {
      {"page background 159, 635 x 474", LoadBitmap(159), 0xFF00FF, 0x101010},
      {"product mask 221, 227 x 182", LoadBitmap(221), 0xFFFFFF, 0},
      {"worst case: 635 x 474, every other pixel", Stripes(635, 474), 0xFF00FF, 0},
  };

  std::vector<Row> rows;
  std::printf("%-42s %10s %12s %8s %14s %8s %6s\n", "picture", "ours (us)", "Qt region", "ratio",
              "Qt with mask", "ratio", "same");
  for (const Case& c : cases) {
    if (c.picture.isNull()) {
      std::fprintf(stderr, "missing picture for %s\n", c.name);
      return 1;
    }
    const QRgb key = 0xFF000000u | c.key;
    const QBitmap bitmap = OpaqueBits(c.picture, key);
    const QRegion ours = *RegionFromBitmap(c.picture, c.key, c.tolerance);
    const QRegion theirs(bitmap);
    const bool same = ours.xored(theirs).isEmpty();

    const double ours_us =
        MicrosecondsPerCall([&] { RegionFromBitmap(c.picture, c.key, c.tolerance); });
    // Qt's region step alone, from a bitmap made beforehand.
    const double region_us = MicrosecondsPerCall([&] { QRegion region(bitmap); });
    // Qt's whole way from the same picture: the mask, the bitmap, then the region.
    const double whole_us =
        MicrosecondsPerCall([&] { QRegion region(OpaqueBits(c.picture, key)); });
    std::printf("%-42s %10.1f %12.1f %8.2f %14.1f %8.2f %6s\n", c.name, ours_us, region_us,
                ours_us / region_us, whole_us, ours_us / whole_us, same ? "yes" : "NO");
    rows.push_back({c.name, ours_us, region_us, same});
  }
  for (const Row& row : rows) {
    const bool wizard_picture = &row != &rows.back();
    print_row(std::string("RegionFromBitmap, ") + row.name, format("%.1f us", row.ours_us),
              wizard_picture ? "<= 1.5x Qt" : "(worst case)",
              format("%.2fx QRegion(QBitmap)", row.ours_us / row.qt_us),
              row.same && (!wizard_picture || row.ours_us <= 1.5 * row.qt_us));
  }
  std::printf("ratio = ours / Qt's time; the target is at most 1.5 for the two wizard pictures.\n");
  return 0;
}
