// The progress banners (an hourglass and a moving bar) and the saved notice with its close box.
#include <QPainterPath>

#include "artwork_style.h"
#include "pictures.h"
#include "res/page_layout.h"
#include "res/page_text.h"
#include "res/page_words.h"

namespace artwork {

namespace {

void DrawPanelFrame(QPainter& painter, QSize size) {
  painter.fillRect(0, 0, size.width(), size.height(), PANEL);
  painter.setPen(QPen(HEADER_BOTTOM, 2));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRectF(1, 1, size.width() - 2.0, size.height() - 2.0));
}

// The hourglass; its sand runs from the top bulb to the bottom one as `frame` goes 0 to 3.
void DrawHourglass(QPainter& painter, const QRectF& box, int frame) {
  painter.save();
  const qreal w = box.width();
  const qreal h = box.height();
  const qreal cx = box.center().x();
  const qreal neck = box.top() + h / 2;
  QPainterPath glass;
  glass.moveTo(box.left() + 3, box.top() + 4);
  glass.lineTo(box.right() - 3, box.top() + 4);
  glass.cubicTo(QPointF(box.right() - 3, neck - h * 0.18), QPointF(cx + 3, neck - 4),
                QPointF(cx + 2, neck));
  glass.cubicTo(QPointF(cx + 3, neck + 4), QPointF(box.right() - 3, neck + h * 0.18),
                QPointF(box.right() - 3, box.bottom() - 4));
  glass.lineTo(box.left() + 3, box.bottom() - 4);
  glass.cubicTo(QPointF(box.left() + 3, neck + h * 0.18), QPointF(cx - 3, neck + 4),
                QPointF(cx - 2, neck));
  glass.cubicTo(QPointF(cx - 3, neck - 4), QPointF(box.left() + 3, neck - h * 0.18),
                QPointF(box.left() + 3, box.top() + 4));
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0xe8, 0xf4, 0xf7));
  painter.drawPath(glass);

  // Sand: the top bulb empties and the bottom one fills.
  const qreal top_level = (h / 2 - 8) * (frame / 4.0);
  const qreal bottom_level = (h / 2 - 8) * ((frame + 1) / 4.0);
  painter.save();
  painter.setClipPath(glass);
  painter.setBrush(QColor(0xf0, 0xb4, 0x29));
  painter.drawRect(
      QRectF(box.left(), box.top() + 6 + top_level, w, neck - box.top() - 6 - top_level));
  painter.drawRect(QRectF(box.left(), box.bottom() - 4 - bottom_level, w, bottom_level));
  painter.drawRect(QRectF(cx - 1, neck - 2, 2, h / 2 - 4));
  painter.restore();

  painter.setPen(QPen(NAVY, 2));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(glass);
  painter.setPen(Qt::NoPen);
  painter.setBrush(NAVY);
  painter.drawRoundedRect(QRectF(box.left(), box.top(), w, 5), 2, 2);
  painter.drawRoundedRect(QRectF(box.left(), box.bottom() - 5, w, 5), 2, 2);
  painter.restore();
}

// A bar of eight blocks; three lit blocks move two places per frame.
void DrawProgressBar(QPainter& painter, const QRect& box, int frame) {
  painter.save();
  painter.setPen(QPen(PANEL_BORDER, 1));
  painter.setBrush(QColor(0xe9, 0xef, 0xf5));
  painter.drawRoundedRect(QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
  constexpr int BLOCKS = 8;
  const qreal step = (box.width() - 6.0) / BLOCKS;
  painter.setPen(Qt::NoPen);
  for (int i = 0; i < BLOCKS; ++i) {
    const int distance = (i - 2 * frame + BLOCKS) % BLOCKS;
    QColor colour = QColor(0xd3, 0xde, 0xea);
    if (distance < 3) {
      colour = distance == 1 ? ACCENT_DARK : ACCENT;
    }
    painter.setBrush(colour);
    painter.drawRoundedRect(
        QRectF(box.left() + 3 + i * step + 1, box.top() + 3, step - 2, box.height() - 6), 2, 2);
  }
  painter.restore();
}

} // namespace

QImage ProgressFrame(int kind, int frame) {
  const QSize size = WORK_BANNER_SIZE;
  QImage image = NewPicture(size.width(), size.height(), PANEL);
  QPainter painter;
  BeginPainting(painter, image);
  DrawPanelFrame(painter, size);
  DrawHourglass(painter, QRectF(18, 14, 30, 54), frame);
  const BannerWords& words = kind == 1 ? SEARCHING_WORDS : PLEASE_WAIT_WORDS;
  DrawText(painter, QRect(64, 12, 216, 22), PageText(words.caption), Font(15, true), NAVY,
           Qt::AlignLeft | Qt::AlignVCenter);
  DrawText(painter, QRect(64, 32, 216, 16), PageText(words.detail), Font(11), MUTED,
           Qt::AlignLeft | Qt::AlignVCenter);
  DrawProgressBar(painter, QRect(64, 52, 210, 16), frame);
  painter.end();
  return image;
}

QImage SavedNotice(bool close_box_lit) {
  const QSize size = SAVED_NOTICE_SIZE;
  QImage image = NewPicture(size.width(), size.height(), PANEL);
  QPainter painter;
  BeginPainting(painter, image);
  DrawPanelFrame(painter, size);
  painter.fillRect(0, 0, size.width(), 24, HEADER_BOTTOM);
  DrawText(painter, QRect(10, 0, 300, 24),
           PageText(QT_TRANSLATE_NOOP("PageWords", "QBR20G Setup Wizard")), Font(12, true),
           Qt::white, Qt::AlignLeft | Qt::AlignVCenter);

  const QRect close = SAVED_NOTICE_CLOSE_BOX;
  painter.fillRect(close, close_box_lit ? ALERT : HEADER_BOTTOM.darker(125));
  painter.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(QPointF(close.left() + 8, close.top() + 7),
                   QPointF(close.left() + 17, close.top() + 16));
  painter.drawLine(QPointF(close.left() + 17, close.top() + 7),
                   QPointF(close.left() + 8, close.top() + 16));

  // The check mark.
  const QRectF disc(24, 44, 56, 56);
  painter.setPen(Qt::NoPen);
  painter.setBrush(SUCCESS);
  painter.drawEllipse(disc);
  painter.setPen(QPen(Qt::white, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  QPainterPath tick;
  tick.moveTo(disc.left() + 15, disc.top() + 29);
  tick.lineTo(disc.left() + 25, disc.top() + 39);
  tick.lineTo(disc.left() + 42, disc.top() + 18);
  painter.drawPath(tick);

  DrawText(painter, QRect(98, 40, 280, 26), PageText(SAVED_NOTICE_WORDS.caption), Font(18, true),
           INK, Qt::AlignLeft | Qt::AlignVCenter);
  DrawText(painter, QRect(98, 68, 285, 36), PageText(SAVED_NOTICE_WORDS.detail), Font(13), INK,
           Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
  DrawText(painter, QRect(98, 104, 285, 18), PageText(SAVED_NOTICE_CLOSE_HINT), Font(11), MUTED,
           Qt::AlignLeft | Qt::AlignVCenter);
  painter.end();
  return image;
}

} // namespace artwork
