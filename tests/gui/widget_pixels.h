// Helpers for looking at what widgets draw.
#pragma once

#include <QImage>
#include <QWidget>

// What `widget` shows, in one pixel format for comparisons.
inline QImage Rendered(QWidget* widget) {
  return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

inline QImage AsRgb32(const QImage& image) { return image.convertToFormat(QImage::Format_RGB32); }
