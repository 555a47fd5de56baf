#include "platform/bitmaps.h"

#include <QString>

#include <utility>

namespace {

QImage LoadTwiceSize(int id) {
  QImage picture(QStringLiteral(":/res/%1@2x.png").arg(id));
  picture.setDevicePixelRatio(2);
  return picture;
}

} // namespace

QImage LoadBitmap(int id) {
  if (id <= 0) {
    return QImage();
  }
  return QImage(QStringLiteral(":/res/%1.png").arg(id));
}

QImage LoadBitmapForScreen(int id, qreal device_pixel_ratio) {
  if (device_pixel_ratio > 1 && id > 0) {
    QImage picture = LoadTwiceSize(id);
    if (!picture.isNull())
      return picture;
  }
  return LoadBitmap(id);
}

ScreenBitmap::ScreenBitmap(int id) : id_(id), one_x_(LoadBitmap(id)) {}

ScreenBitmap::ScreenBitmap(int id, QImage one_x) : id_(id), one_x_(std::move(one_x)) {}

const QImage& ScreenBitmap::ForScreen(qreal device_pixel_ratio) {
  if (device_pixel_ratio <= 1 || one_x_.isNull())
    return one_x_;
  if (two_x_.isNull())
    two_x_ = LoadTwiceSize(id_);
  return two_x_.isNull() ? one_x_ : two_x_;
}
