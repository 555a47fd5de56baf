#include "artwork_style.h"

#include <QLinearGradient>
#include <QPainterPath>

#include <algorithm>
#include <utility>

#include "res/page_text.h"
#include "text_observer.h"

namespace artwork {

namespace {

int current_scale = 1;

} // namespace

DrawingScale::DrawingScale(int scale) : previous_(std::exchange(current_scale, scale)) {}

DrawingScale::~DrawingScale() { current_scale = previous_; }

int DrawingScale::Current() { return current_scale; }

bool TextFits(const QRectF& bounds, const QRectF& room) {
  // Half a pixel for the rounding of fractional glyph advances.
  return room.adjusted(-0.5, -0.5, 0.5, 0.5).contains(bounds);
}

QFont Font(int pixel_size, bool bold) {
  QFont font(QStringLiteral("Liberation Sans"));
  font.setPixelSize(pixel_size);
  font.setBold(bold);
  font.setHintingPreference(QFont::PreferFullHinting);
  return font;
}

void BeginPainting(QPainter& painter, QImage& image) {
  painter.begin(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
}

QImage NewPicture(int width, int height, const QColor& fill) {
  const int scale = DrawingScale::Current();
  QImage image(width * scale, height * scale,
               fill.alpha() == 255 ? QImage::Format_RGB32 : QImage::Format_ARGB32);
  image.setDevicePixelRatio(scale);
  image.fill(fill);
  return image;
}

void DrawText(QPainter& painter, const QRect& box, const QString& text, const QFont& font,
              const QColor& colour, int flags) {
  painter.save();
  painter.setPen(colour);
  // A translation can be longer than the English it stands for: the font then shrinks a pixel at
  // a time, to no less than two thirds of its size, until the text fits its box.
  const QRectF room(box);
  QFont fitted = font;
  const int smallest = std::max(MIN_TEXT_PIXELS, font.pixelSize() * 2 / 3);
  QRectF bounds;
  for (int size = font.pixelSize();; --size) {
    fitted.setPixelSize(size);
    painter.setFont(fitted);
    bounds = painter.boundingRect(room, flags, text);
    if (size <= smallest || TextFits(bounds, room))
      break;
  }
  DrawObserved(painter, bounds, room, text, [&] { painter.drawText(box, flags, text); });
  painter.restore();
}

void DrawMark(QPainter& painter, const QRect& box) {
  painter.save();
  const QRectF r(box);
  const qreal unit = r.width() / 16.0;
  QLinearGradient fill(r.topLeft(), r.bottomRight());
  fill.setColorAt(0, ACCENT);
  fill.setColorAt(1, ACCENT_DARK);
  painter.setPen(Qt::NoPen);
  painter.setBrush(fill);
  painter.drawRoundedRect(r, 3.5 * unit, 3.5 * unit);

  QPen white(Qt::white, 1.4 * unit, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  painter.setPen(white);
  painter.setBrush(Qt::NoBrush);
  // The deck, resting on an arch whose crown touches it.
  const qreal deck = r.top() + 10.0 * unit;
  painter.drawLine(QPointF(r.left() + 2.5 * unit, deck), QPointF(r.right() - 2.5 * unit, deck));
  QPainterPath arch;
  arch.moveTo(r.left() + 3.5 * unit, r.top() + 13.8 * unit);
  arch.quadTo(QPointF(r.center().x(), r.top() + 6.2 * unit),
              QPointF(r.right() - 3.5 * unit, r.top() + 13.8 * unit));
  painter.drawPath(arch);
  // Two signal arcs rising from the middle of the deck.
  const QPointF source(r.center().x(), r.top() + 8.4 * unit);
  for (int i = 1; i <= 2; ++i) {
    const qreal radius = (1.2 + 2.0 * i) * unit;
    painter.drawArc(QRectF(source.x() - radius, source.y() - radius, 2 * radius, 2 * radius),
                    50 * 16, 80 * 16);
  }
  painter.restore();
}

void DrawPageFrame(QPainter& painter, QSize size, const QString& badge, const QString& title) {
  const int width = size.width();
  const int height = size.height();
  painter.fillRect(0, 0, width, height, BODY);

  QLinearGradient header(0, 0, 0, HEADER_HEIGHT);
  header.setColorAt(0, HEADER_TOP);
  header.setColorAt(1, HEADER_BOTTOM);
  painter.fillRect(0, 0, width, HEADER_HEIGHT, header);
  painter.fillRect(0, HEADER_HEIGHT, width, 3, ACCENT);

  DrawMark(painter, QRect(26, 20, 44, 44));
  DrawText(painter, QRect(84, 20, 420, 30),
           PageText(QT_TRANSLATE_NOOP("PageWords", "QBR20G Setup Wizard")), Font(25, true),
           Qt::white, Qt::AlignLeft | Qt::AlignVCenter);
  DrawText(painter, QRect(85, 50, 420, 18),
           PageText(QT_TRANSLATE_NOOP("PageWords", "Wi-Fi client bridge configuration")), Font(13),
           HEADER_TEXT, Qt::AlignLeft | Qt::AlignVCenter);

  // The step row: a round badge and the step's title.
  const QRectF disc(30, STEP_ROW_TOP + 2, 34, 34);
  painter.save();
  painter.setPen(QPen(Qt::white, 2));
  painter.setBrush(badge.isEmpty() ? SUCCESS : ACCENT);
  painter.drawEllipse(disc);
  painter.restore();
  if (badge.isEmpty()) {
    painter.save();
    painter.setPen(QPen(Qt::white, 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath tick;
    tick.moveTo(disc.left() + 9, disc.top() + 18);
    tick.lineTo(disc.left() + 15, disc.top() + 24);
    tick.lineTo(disc.left() + 26, disc.top() + 11);
    painter.drawPath(tick);
    painter.restore();
  } else {
    DrawText(painter, disc.toRect(), badge, Font(19, true), NAVY, Qt::AlignCenter);
  }
  DrawText(painter, QRect(78, STEP_ROW_TOP, 400, 38), title, Font(19, true), Qt::white,
           Qt::AlignLeft | Qt::AlignVCenter);

  // The button bar and the footer.
  painter.fillRect(0, BAR_TOP, width, 1, RULE);
  painter.fillRect(0, FOOTER_TOP, width, height - FOOTER_TOP, NAVY);
  DrawText(painter, QRect(0, FOOTER_TOP, width, height - FOOTER_TOP),
           PageText(QT_TRANSLATE_NOOP(
               "PageWords",
               "802.11b/g Wireless Bridge   \u2022   Setup Wizard   \u2022   Model QBR20G")),
           Font(12), FOOTER_TEXT, Qt::AlignCenter);
}

QImage ButtonPicture(QSize size, const QString& caption, ButtonLook look) {
  QImage image = NewPicture(size.width(), size.height(), BODY);
  QPainter painter;
  BeginPainting(painter, image);
  const QRectF shape = QRectF(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);
  QColor fill = PANEL;
  QColor border = BUTTON_BORDER;
  QColor text = NAVY;
  if (look == ButtonLook::Hover) {
    fill = BUTTON_HOVER;
    border = BUTTON_HOVER.darker(115);
    text = Qt::white;
  } else if (look == ButtonLook::Pressed) {
    fill = BUTTON_PRESSED;
    border = BUTTON_PRESSED.darker(120);
    text = Qt::white;
  }
  painter.setPen(QPen(border, 1));
  if (look == ButtonLook::Normal) {
    QLinearGradient gloss(0, 0, 0, size.height());
    gloss.setColorAt(0, PANEL);
    gloss.setColorAt(1, QColor(0xe6, 0xed, 0xf5));
    painter.setBrush(gloss);
  } else {
    painter.setBrush(fill);
  }
  painter.drawRoundedRect(shape, 4, 4);
  if (look == ButtonLook::Focused) {
    painter.setPen(QPen(NAVY, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(shape.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
  }
  const int sink = look == ButtonLook::Pressed ? 1 : 0;
  DrawText(painter, QRect(0, sink, size.width(), size.height()), caption,
           Font(size.height() >= 24 ? 13 : 12, true), text, Qt::AlignCenter);
  painter.end();
  return image;
}

void DrawButtonCaption(QPainter& painter, const ButtonPlace& button) {
  painter.drawImage(
      button.rect.topLeft(),
      ButtonPicture(button.rect.size(), PageText(button.caption), ButtonLook::Normal));
}

void DrawRowLabel(QPainter& painter, int right, int top, int height, const QString& text) {
  DrawText(painter, QRect(right - 150, top, 150, height), text, Font(13, true), INK,
           Qt::AlignRight | Qt::AlignVCenter);
}

void DrawBridgeDevice(QPainter& painter, const QRect& box, const QColor& body) {
  painter.save();
  const QRectF r(box);
  // Antenna.
  painter.setPen(QPen(INK, 3, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(QPointF(r.right() - r.width() * 0.2, r.top() + r.height() * 0.45),
                   QPointF(r.right() - r.width() * 0.2, r.top()));
  // Case.
  const QRectF body_rect(r.left(), r.top() + r.height() * 0.4, r.width(), r.height() * 0.6);
  QLinearGradient shade(body_rect.topLeft(), body_rect.bottomLeft());
  shade.setColorAt(0, body.lighter(115));
  shade.setColorAt(1, body.darker(110));
  painter.setPen(QPen(INK, 1.5));
  painter.setBrush(shade);
  painter.drawRoundedRect(body_rect, 5, 5);
  // Lights.
  painter.setPen(Qt::NoPen);
  const QColor lights[] = {SUCCESS, ACCENT, QColor(0xf0, 0xb4, 0x29)};
  for (int i = 0; i < 3; ++i) {
    painter.setBrush(lights[i]);
    painter.drawEllipse(QPointF(body_rect.left() + 10 + i * 9.0, body_rect.center().y()), 2.6, 2.6);
  }
  painter.restore();
}

void DrawBridgeScene(QPainter& painter, const QRect& box) {
  painter.save();
  const QRectF r(box);
  // The computer: screen and keyboard base.
  const QRectF screen(r.left() + 8, r.top() + 10, r.width() * 0.46, r.height() * 0.3);
  painter.setPen(QPen(INK, 1.5));
  painter.setBrush(QColor(0xdd, 0xe8, 0xf3));
  painter.drawRoundedRect(screen, 3, 3);
  painter.setBrush(QColor(0xbf, 0xcd, 0xdc));
  painter.drawRoundedRect(QRectF(screen.left() - 6, screen.bottom() + 2, screen.width() + 12, 6), 2,
                          2);
  DrawText(painter, screen.toRect(), QStringLiteral("PC"), Font(12, true), INK, Qt::AlignCenter);

  // The cable down to the bridge.
  const QRectF device(r.left() + r.width() * 0.34, r.top() + r.height() * 0.58, r.width() * 0.5,
                      r.height() * 0.26);
  QPainterPath cable;
  cable.moveTo(screen.center().x(), screen.bottom() + 8);
  cable.cubicTo(QPointF(screen.center().x(), device.center().y()),
                QPointF(device.left() - 20, device.bottom() - 8),
                QPointF(device.left(), device.bottom() - 8));
  painter.setPen(QPen(ACCENT_DARK, 2.5, Qt::SolidLine, Qt::RoundCap));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(cable);
  DrawBridgeDevice(painter, device.toRect(), QColor(0xf7, 0xf9, 0xfb));

  DrawRadioWaves(painter, QPointF(device.right() - device.width() * 0.2, device.top()), 7.0, 2);
  painter.restore();
}

void DrawRadioWaves(QPainter& painter, QPointF antenna, qreal spacing, qreal pen_width) {
  painter.save();
  painter.setPen(QPen(ACCENT, pen_width, Qt::SolidLine, Qt::RoundCap));
  for (int i = 1; i <= 3; ++i) {
    const qreal radius = spacing * i;
    painter.drawArc(QRectF(antenna.x() - radius, antenna.y() - radius, 2 * radius, 2 * radius),
                    20 * 16, 60 * 16);
  }
  painter.restore();
}

} // namespace artwork
