// Contrast of text as WCAG 2.1 measures it, taken from rendered pixels: the same place drawn
// without the text and with it. The pixels the text changed are the text; its ink is the changed
// pixel that stands out most from what lay under it, and its contrast is that ink's ratio against
// the least different of the pixels it covered, so a text over a gradient is judged where the
// gradient comes closest to it.
#pragma once

#include <QColor>
#include <QImage>

#include <algorithm>
#include <cmath>

inline double RelativeLuminance(QRgb colour) {
  const auto channel = [](int value) {
    const double c = value / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(qRed(colour)) + 0.7152 * channel(qGreen(colour)) +
         0.0722 * channel(qBlue(colour));
}

inline double ContrastRatio(QRgb a, QRgb b) {
  const double la = RelativeLuminance(a);
  const double lb = RelativeLuminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The text's contrast, or 0 when `with_text` changed no pixel of `without_text` (no text seen).
// Both images must have the same size.
inline double TextContrast(const QImage& without_text, const QImage& with_text) {
  const QImage under = without_text.convertToFormat(QImage::Format_RGB32);
  const QImage over = with_text.convertToFormat(QImage::Format_RGB32);
  QRgb ink = 0;
  double strongest = 0;
  for (int y = 0; y < over.height(); ++y) {
    for (int x = 0; x < over.width(); ++x) {
      const double ratio = ContrastRatio(over.pixel(x, y), under.pixel(x, y));
      if (over.pixel(x, y) != under.pixel(x, y) && ratio > strongest) {
        strongest = ratio;
        ink = over.pixel(x, y);
      }
    }
  }
  if (strongest == 0)
    return 0;
  double weakest = strongest;
  for (int y = 0; y < over.height(); ++y)
    for (int x = 0; x < over.width(); ++x)
      if (over.pixel(x, y) != under.pixel(x, y))
        weakest = std::min(weakest, ContrastRatio(ink, under.pixel(x, y)));
  return weakest;
}

// What WCAG 2.1 AA asks of every text (1.4.3), whatever its size.
constexpr double READABLE_CONTRAST = 4.5;
