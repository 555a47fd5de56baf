// The advertisement bubble for the sibling product QBR20N, and its mask.
#include <QBitmap>
#include <QPainterPath>
#include <QRegion>

#include "artwork_style.h"
#include "pictures.h"
#include "res/page_words.h"

namespace artwork {

namespace {

constexpr QSize BUBBLE_SIZE(227, 182);

// A rounded speech bubble whose tail points down to the left, towards the bridge list.
QPainterPath BubbleOutline() {
  QPainterPath bubble;
  bubble.addRoundedRect(QRectF(8, 8, 211, 138), 20, 20);
  QPainterPath tail;
  tail.moveTo(46, 138);
  tail.lineTo(20, 176);
  tail.lineTo(84, 138);
  tail.closeSubpath();
  return bubble.united(tail);
}

// The mask at 1x. At every scale the button is cut to this one shape, so the mask and the
// bubble's fill follow it pixel for pixel, doubled at scale 2.
QImage OneXMask() {
  const DrawingScale one_x(1);
  QImage image = NewPicture(BUBBLE_SIZE.width(), BUBBLE_SIZE.height(), Qt::white);
  QPainter painter(&image);
  // No antialiasing: the mask is pure black and white.
  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::black);
  painter.drawPath(BubbleOutline());
  painter.end();
  return image;
}

} // namespace

QImage ProductMask() {
  const int scale = DrawingScale::Current();
  QImage image =
      OneXMask().scaled(BUBBLE_SIZE * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  image.setDevicePixelRatio(scale);
  return image;
}

QImage ProductBubble(bool focused) {
  QImage image = NewPicture(BUBBLE_SIZE.width(), BUBBLE_SIZE.height(), Qt::white);
  QPainter painter(&image);
  // The fill follows the mask exactly; only the details inside are smoothed.
  QLinearGradient fill(0, 8, 0, 176);
  fill.setColorAt(0, BUBBLE_TOP);
  fill.setColorAt(1, BUBBLE_BOTTOM);
  painter.setClipRegion(
      QRegion(QBitmap::fromImage(OneXMask().convertToFormat(QImage::Format_Mono))));
  painter.fillRect(QRect(QPoint(0, 0), BUBBLE_SIZE), fill);
  painter.setClipping(false);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.setBrush(Qt::NoBrush);
  const QRectF inner_edge(13, 13, 201, 128);
  if (focused) {
    // The focus mark: the inner edge solid and doubled by a navy line, plain on the orange.
    painter.setPen(QPen(Qt::white, 3));
    painter.drawRoundedRect(inner_edge, 16, 16);
    painter.setPen(QPen(NAVY, 2));
    painter.drawRoundedRect(inner_edge.adjusted(2.5, 2.5, -2.5, -2.5), 14, 14);
  } else {
    painter.setPen(QPen(QColor(255, 255, 255, 150), 2));
    painter.drawRoundedRect(inner_edge, 16, 16);
  }

  // "NEW" tag.
  painter.setPen(Qt::NoPen);
  painter.setBrush(NAVY);
  painter.drawRoundedRect(QRectF(24, 24, 44, 18), 9, 9);
  DrawText(painter, QRect(24, 24, 44, 18), QStringLiteral("NEW"), Font(11, true), Qt::white,
           Qt::AlignCenter);

  DrawText(painter, QRect(24, 46, 190, 34), QString::fromUtf8(DEVICE_LIST_WORDS.product),
           Font(30, true), Qt::white, Qt::AlignLeft | Qt::AlignVCenter);
  DrawText(painter, QRect(24, 80, 130, 36), QStringLiteral("150M Mini\nWiFi Bridge"),
           Font(14, true), Qt::white, Qt::AlignLeft | Qt::AlignTop);
  DrawText(painter, QRect(24, 118, 130, 16), QStringLiteral("Learn more \u203a"), Font(11, true),
           Qt::white, Qt::AlignLeft | Qt::AlignVCenter);
  DrawBridgeDevice(painter, QRect(150, 78, 58, 44), QColor(0xff, 0xf4, 0xe6));
  painter.end();
  return image;
}

} // namespace artwork
