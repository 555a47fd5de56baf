// Every text that the artwork draws, at both scales, measured against what lies under it as it is
// drawn: button captions on their faces, words on the page backgrounds, banners and the bubble.
#include <gtest/gtest.h>

#include <QPainter>

#include <algorithm>
#include <string>
#include <vector>

#include "res/generator/artwork_style.h"
#include "res/generator/artwork_table.h"
#include "res/generator/text_observer.h"
#include "tests/gui/contrast.h"

namespace {

struct MeasuredText {
  std::string where;
  double contrast;
};

// Draws every picture at `scale` and measures each text as it is drawn.
std::vector<MeasuredText> MeasureArtwork(int scale) {
  std::vector<MeasuredText> measured;
  std::string picture;
  const artwork::ObservingText observer([&](QPainter& painter, const QRectF& bounds, const QRectF&,
                                            const QString& text,
                                            const std::function<void()>& draw) {
    auto* image = static_cast<QImage*>(painter.device());
    const qreal ratio = image->devicePixelRatio();
    const QRectF logical = painter.transform().mapRect(bounds);
    const QRect pixels =
        QRectF(logical.topLeft() * ratio, logical.size() * ratio).toAlignedRect() & image->rect();
    const QImage before = image->copy(pixels);
    draw();
    measured.push_back(
        {picture + ": \"" + text.toStdString() + "\"", TextContrast(before, image->copy(pixels))});
  });
  const artwork::DrawingScale drawing(scale);
  for (const artwork::Artwork& art : artwork::ArtworkTable()) {
    picture = std::to_string(art.id) + " " + art.name.toStdString();
    art.draw();
  }
  return measured;
}

} // namespace

TEST(ArtworkContrast, EveryTextReadsAtFourAndAHalfToOneAtBothScales) {
  for (const int scale : {1, 2}) {
    const std::vector<MeasuredText> texts = MeasureArtwork(scale);
    ASSERT_GT(texts.size(), 100u) << "too few texts seen: the observer is not called";
    double lowest = texts.front().contrast;
    for (const MeasuredText& text : texts) {
      EXPECT_GE(text.contrast, READABLE_CONTRAST) << "scale " << scale << ", " << text.where;
      lowest = std::min(lowest, text.contrast);
    }
    std::printf("scale %d: %zu texts, lowest contrast %.2f:1\n", scale, texts.size(), lowest);
  }
}
