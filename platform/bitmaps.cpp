#include "platform/bitmaps.h"

#include <QString>

#include "platform/ui_language.h"

#include <utility>

namespace {

// The pictures of the language shown: the English ones under :/res/, the others under
// :/res/<language>/.
QString PicturePath(int id, const char* suffix) {
  const QString language = UiLanguage();
  return language.isEmpty()
             ? QStringLiteral(":/res/%1%2.png").arg(id).arg(QLatin1String(suffix))
             : QStringLiteral(":/res/%1/%2%3.png").arg(language).arg(id).arg(QLatin1String(suffix));
}

QImage LoadTwiceSize(int id) {
  QImage picture(PicturePath(id, "@2x"));
  picture.setDevicePixelRatio(2);
  return picture;
}

} // namespace

QImage LoadBitmap(int id) {
  if (id <= 0) {
    return QImage();
  }
  return QImage(PicturePath(id, ""));
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
