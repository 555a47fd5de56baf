// The page templates are laid out in dialog units of a 9-point font; on screen one dialog unit
// is 1.5 pixels both ways (423 x 314 units = the 635 x 474 backgrounds).
#pragma once

#include <QRect>

constexpr int dialog_units_to_pixels(int units) { return units * 3 / 2; }

inline QRect dialog_rect_to_pixels(int x, int y, int width, int height) {
  return QRect(dialog_units_to_pixels(x), dialog_units_to_pixels(y), dialog_units_to_pixels(width),
               dialog_units_to_pixels(height));
}
