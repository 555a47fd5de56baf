// The two 114 x 8 hints under the WEP key format list, in a 5 x 7 pixel font so that they stay
// sharp at that height.
#include <array>
#include <map>

#include "artwork_style.h"
#include "pictures.h"
#include "res/page_words.h"
#include "text_observer.h"

namespace artwork {

namespace {

using Glyph = std::array<const char*, 7>;

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
      {'X', {"#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"}},
  };
  return font;
}

} // namespace

QImage KeyHint(bool hex) {
  // 19 characters of 6 pixels each fill the 114 pixels exactly.
  const char* text = hex ? WEP_WORDS.hex_hint : WEP_WORDS.ascii_hint;
  QImage image = NewPicture(114, 8, BODY);
  // No antialiasing: at twice the size each dot of the font is a sharp square of four pixels.
  QPainter painter(&image);
  DrawObserved(painter, QRectF(0, 0, 114, 7), QString::fromLatin1(text), [&] {
    int left = 0;
    for (const char* c = text; *c != '\0'; ++c, left += 6) {
      const Glyph& glyph = PixelFont().at(*c);
      for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 5; ++x) {
          if (glyph[static_cast<std::size_t>(y)][x] == '#')
            painter.fillRect(QRect(left + x, y, 1, 1), ACCENT_INK);
        }
      }
    }
  });
  painter.end();
  return image;
}

} // namespace artwork
