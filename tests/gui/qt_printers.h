// How gtest prints the Qt values that the widget suites compare.
#pragma once

#include <ostream>

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <QString>
#include <QStringList>

inline std::ostream& operator<<(std::ostream& out, const QString& text) {
  return out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QString& text, std::ostream* out) { *out << text; }

inline void PrintTo(const QStringList& list, std::ostream* out) {
  *out << '{';
  for (qsizetype i = 0; i < list.size(); ++i) {
    *out << (i > 0 ? ", " : "") << list[i];
  }
  *out << '}';
}

inline void PrintTo(const QPoint& p, std::ostream* out) {
  *out << '(' << p.x() << ", " << p.y() << ')';
}

inline void PrintTo(const QSize& s, std::ostream* out) { *out << s.width() << " x " << s.height(); }

inline void PrintTo(const QRect& r, std::ostream* out) {
  *out << '(' << r.x() << ", " << r.y() << ", " << r.width() << " x " << r.height() << ')';
}

inline void PrintTo(const QRegion& region, std::ostream* out) {
  *out << "region of " << region.rectCount() << " rectangles within ";
  PrintTo(region.boundingRect(), out);
}

inline void PrintTo(const QImage& image, std::ostream* out) {
  *out << "image ";
  PrintTo(image.size(), out);
}

inline void PrintTo(const QColor& colour, std::ostream* out) {
  *out << colour.name().toStdString();
}
