// The colours that the pages use at run time over their artwork, from the artwork's own palette,
// so that every text reads at 4.5:1 or more on what lies under it (WCAG 2.1 AA).
#pragma once

#include <QRgb>

// The artwork's ink: the status lines write in it on the pages' light body.
inline constexpr QRgb PAGE_INK = qRgb(0x1f, 0x2d, 0x3d);
// The header's lower blue: the lists mark their chosen row in it, under white text.
inline constexpr QRgb HEADER_BLUE = qRgb(0x1f, 0x5c, 0x8a);
