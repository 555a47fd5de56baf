// The two 114 x 8 hints under the WEP key format list, in a 5 x 7 pixel font so that they stay
// sharp at that height: 19 characters, capitals, digits and " -/." only. A translation that the
// font cannot draw is drawn in a small ordinary font.
#include <algorithm>
#include <array>
#include <map>

#include "artwork_style.h"
#include "pictures.h"
#include "res/page_text.h"
#include "res/page_words.h"
#include "text_observer.h"

namespace artwork {

namespace {

using Glyph = std::array<const char*, 7>;
// Five pixels of glyph and one of space.
constexpr int GLYPH_ADVANCE = 6;

const std::map<char, Glyph>& PixelFont() {
  static const std::map<char, Glyph> font = {
      {' ', {".....", ".....", ".....", ".....", ".....", ".....", "....."}},
      {'0', {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."}},
      {'1', {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."}},
      {'2', {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"}},
      {'3', {"####.", "....#", "....#", ".###.", "....#", "....#", "####."}},
      {'5', {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."}},
      {'6', {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."}},
      {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
      {'C', {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."}},
      {'D', {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."}},
      {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
      {'G', {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"}},
      {'H', {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
      {'I', {".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."}},
      {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
      {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
      {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
      {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
      {'B', {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."}},
      {'F', {"#####", "#....", "#....", "####.", "#....", "#....", "#...."}},
      {'J', {"..###", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##.."}},
      {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
      {'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
      {'M', {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}},
      {'N', {"#...#", "#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#"}},
      {'P', {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."}},
      {'Q', {".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"}},
      {'U', {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
      {'V', {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
      {'W', {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "#.#.#", ".#.#."}},
      {'Y', {"#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."}},
      {'Z', {"#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"}},
      {'4', {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."}},
      {'7', {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."}},
      {'8', {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."}},
      {'9', {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."}},
      {'-', {".....", ".....", ".....", ".###.", ".....", ".....", "....."}},
      {'/', {"....#", "....#", "...#.", "..#..", ".#...", "#....", "#...."}},
      {'.', {".....", ".....", ".....", ".....", ".....", ".##..", ".##.."}},
      {'X', {"#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"}},
  };
  return font;
}

// Whether the pixel font has every character of `text` and it fits the hint's width.
bool FitsPixelFont(const QString& text) {
  if (text.size() * GLYPH_ADVANCE - 1 > KEY_HINT_RECT.width())
    return false;
  return std::all_of(text.begin(), text.end(), [](QChar c) {
    return c.unicode() < 0x80 && PixelFont().count(static_cast<char>(c.unicode())) == 1;
  });
}

} // namespace

QImage KeyHint(bool hex) {
  const QString text = PageText(hex ? WEP_WORDS.hex_hint : WEP_WORDS.ascii_hint);
  const QSize size = KEY_HINT_RECT.size();
  QImage image = NewPicture(size.width(), size.height(), BODY);
  if (!FitsPixelFont(text)) {
    // A translation with letters the pixel font lacks, or too long for it: a small font.
    QPainter painter;
    BeginPainting(painter, image);
    DrawText(painter, QRect(QPoint(0, 0), size), text, Font(8, true), ACCENT_INK,
             Qt::AlignLeft | Qt::AlignVCenter);
    return image;
  }
  // No antialiasing: at twice the size each dot of the font is a sharp square of four pixels.
  QPainter painter(&image);
  const int width = static_cast<int>(text.size()) * GLYPH_ADVANCE - 1;
  DrawObserved(painter, QRectF(0, 0, width, 7), QRectF(0, 0, size.width(), 7), text, [&] {
    int left = 0;
    for (QChar c : text) {
      const Glyph& glyph = PixelFont().at(static_cast<char>(c.unicode()));
      for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 5; ++x) {
          if (glyph[static_cast<std::size_t>(y)][x] == '#')
            painter.fillRect(QRect(left + x, y, 1, 1), ACCENT_INK);
        }
      }
      left += GLYPH_ADVANCE;
    }
  });
  painter.end();
  return image;
}

} // namespace artwork
