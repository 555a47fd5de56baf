#include "platform/bitmaps.h"

#include <sys/mman.h>
#include <unistd.h>

#include <QFile>
#include <QResource>
#include <QString>

#include <cstdint>
#include <utility>

#include "platform/ui_language.h"

namespace {

// The pictures of the language shown: the English ones built in as :/res/<id>.png, the others
// read from their folder (English where a picture is missing there).
QString PicturePath(int id, const char* suffix) {
  const QString name = QStringLiteral("%1%2.png").arg(id).arg(QLatin1String(suffix));
  if (const QString dir = UiLanguagePicturesDir(); !dir.isEmpty()) {
    const QString own = dir + QLatin1Char('/') + name;
    if (QFile::exists(own))
      return own;
  }
  return QStringLiteral(":/res/") + name;
}

// Decodes the picture at `path`. The bytes of a built-in picture lie in the program's file as it
// is mapped, and the kernel maps large runs of that file at once: once the picture is decoded they
// are let go, so that the pictures of pages not shown take no memory. They come back from the
// file should they be read again.
QImage Decode(const QString& path) {
  // Named as PNG, which Qt reads itself: no image format plugin is loaded to guess the format.
  QImage picture(path, "PNG");
  if (path.startsWith(QLatin1String(":/"))) {
    const QResource resource(path);
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto start = reinterpret_cast<std::uintptr_t>(resource.data());
    if (start != 0 && resource.size() > 0) {
      const std::uintptr_t first = start & ~(page - 1);
      const std::uintptr_t end =
          (start + static_cast<std::uintptr_t>(resource.size()) + page - 1) & ~(page - 1);
      // Every page of the range holds bytes of this read-only picture: nothing written is lost.
      madvise(reinterpret_cast<void*>(first), end - first, MADV_DONTNEED);
    }
  }
  return picture;
}

QImage LoadTwiceSize(int id) {
  QImage picture = Decode(PicturePath(id, "@2x"));
  picture.setDevicePixelRatio(2);
  return picture;
}

} // namespace

QImage LoadBitmap(int id) {
  if (id <= 0) {
    return QImage();
  }
  return Decode(PicturePath(id, ""));
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
