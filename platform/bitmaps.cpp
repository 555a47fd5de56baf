#include "platform/bitmaps.h"

#include <QString>

QImage LoadBitmap(int id) {
  if (id <= 0) {
    return QImage();
  }
  return QImage(QStringLiteral(":/res/%1.png").arg(id));
}
