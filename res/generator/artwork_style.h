// The one look of all our artwork: colours, fonts and the pieces every picture is built from.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QString>

#include "res/page_colours.h"
#include "res/page_layout.h"

namespace artwork {

// Colours. Every text colour reads at 4.5:1 or more on what it is drawn on (WCAG 2.1 AA); the
// contrast test measures each one.
inline const QColor NAVY{0x14, 0x30, 0x4f};
inline const QColor HEADER_TOP{0x17, 0x3d, 0x63};
inline const QColor HEADER_BOTTOM{HEADER_BLUE};
inline const QColor ACCENT{0x2b, 0xb3, 0xc0};
inline const QColor ACCENT_DARK{0x1f, 0x7f, 0xbf};
// The accent where it is text, or lies under white text.
inline const QColor ACCENT_INK{0x17, 0x64, 0x9a};
inline const QColor BODY{0xf3, 0xf6, 0xfa};
inline const QColor RULE{0xd6, 0xdf, 0xe9};
inline const QColor PANEL{0xff, 0xff, 0xff};
inline const QColor PANEL_BORDER{0xc3, 0xd0, 0xde};
inline const QColor INK{PAGE_INK};
inline const QColor MUTED{0x5b, 0x6b, 0x7c};
inline const QColor HEADER_TEXT{0xc4, 0xdc, 0xef};
inline const QColor FOOTER_TEXT{0xb8, 0xc7, 0xd9};
inline const QColor BUTTON_HOVER{0x1f, 0x6f, 0xb2};
inline const QColor BUTTON_PRESSED{0x15, 0x50, 0x82};
inline const QColor BUTTON_BORDER{0x9f, 0xb3, 0xc8};
inline const QColor SUCCESS{0x2e, 0x9e, 0x5b};
inline const QColor ALERT{0xd9, 0x53, 0x4f};
inline const QColor BUBBLE_TOP{0xc2, 0x41, 0x0c};
inline const QColor BUBBLE_BOTTOM{0x9a, 0x34, 0x12};

// The scale at which pictures are drawn while it lives: 1, or 2 for screens with two device
// pixels to a pixel. Sizes and places stay in 1x pixels; a picture drawn at scale 2 has twice as
// many pixels each way and device pixel ratio 2, so painters draw on it in 1x pixels.
class DrawingScale {
public:
  explicit DrawingScale(int scale);
  ~DrawingScale();
  DrawingScale(const DrawingScale&) = delete;
  DrawingScale& operator=(const DrawingScale&) = delete;
  static int Current();

private:
  int previous_;
};

// Page geometry shared by all backgrounds (client pixels).
constexpr int HEADER_HEIGHT = 132;
constexpr int STEP_ROW_TOP = 86;
constexpr int BAR_TOP = 402;
constexpr int FOOTER_TOP = 444;

enum class ButtonLook { Normal, Hover, Pressed, Focused };

QFont Font(int pixel_size, bool bold = false);

// The smallest font that a text shrinks to when it is too long for its box.
constexpr int MIN_TEXT_PIXELS = 7;

// Whether a text drawn over `bounds` stays within `room`.
bool TextFits(const QRectF& bounds, const QRectF& room);

// A painter over `image` with antialiasing for shapes and text.
void BeginPainting(QPainter& painter, QImage& image);

// A picture of `width` x `height` 1x pixels at the current drawing scale; with an alpha channel
// when `fill` is not opaque.
QImage NewPicture(int width, int height, const QColor& fill);

// Text inside `box` with the given alignment flags (Qt::TextWordWrap for paragraphs).
void DrawText(QPainter& painter, const QRect& box, const QString& text, const QFont& font,
              const QColor& colour, int flags = Qt::AlignLeft | Qt::AlignTop);

// Our mark: a rounded square with a bridge arch under two signal arcs.
void DrawMark(QPainter& painter, const QRect& box);

// The page frame: header with the mark, the wizard's title and the step row (`badge` is the
// step number, or empty for a check mark), light body, button bar and footer.
void DrawPageFrame(QPainter& painter, QSize size, const QString& badge, const QString& title);

// A caption button of `size` in one of its looks, on the body colour. The focused look is the
// normal one inside a dark ring, plain beside the light border of the others.
QImage ButtonPicture(QSize size, const QString& caption, ButtonLook look);

// The normal look of `button` drawn into a page background at its place.
void DrawButtonCaption(QPainter& painter, const ButtonPlace& button);

// Labels of form rows: right-aligned, ending at `right`, centred on a row of height `height`.
void DrawRowLabel(QPainter& painter, int right, int top, int height, const QString& text);

// A computer wired to the bridge, which sends out radio waves.
void DrawBridgeScene(QPainter& painter, const QRect& box);

// Three arcs of radio waves rising from `antenna`, `spacing` pixels apart.
void DrawRadioWaves(QPainter& painter, QPointF antenna, qreal spacing, qreal pen_width);

// The bridge alone: a small box with an antenna and lights.
void DrawBridgeDevice(QPainter& painter, const QRect& box, const QColor& body);

} // namespace artwork
