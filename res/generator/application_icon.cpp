// The application icon: our mark on a transparent square.
#include "artwork_style.h"
#include "pictures.h"

namespace artwork {

QImage ApplicationIcon() {
  QImage image = NewPicture(64, 64, Qt::transparent);
  QPainter painter;
  BeginPainting(painter, image);
  DrawMark(painter, QRect(2, 2, 60, 60));
  painter.end();
  return image;
}

} // namespace artwork
