// Pictures are addressed by numeric resource id, as the pages and skinned controls name them.
// Each is built in twice: drawn at its size, and at twice its size for screens with more than one
// device pixel to a pixel. Sizes, shapes and places always come from the first; only painting
// uses the second.
#pragma once

#include <QImage>

// The picture of resource `id` (`:/res/<id>.png`, or <id>.png of the language's folder in another
// language than English), or a null image when there is none.
QImage LoadBitmap(int id);

// The picture of `id` to paint on a screen of `device_pixel_ratio`: above 1 the twice-size
// drawing with device pixel ratio 2, so that it paints at the size of the first; else, or when
// there is no such drawing, LoadBitmap(id).
QImage LoadBitmapForScreen(int id, qreal device_pixel_ratio);

// One picture kept for painting: its 1x drawing from the start, the 2x one once a screen asks
// for it.
class ScreenBitmap {
public:
  ScreenBitmap() = default;
  explicit ScreenBitmap(int id);
  // `one_x` is LoadBitmap(id), already loaded.
  ScreenBitmap(int id, QImage one_x);

  int Id() const { return id_; }
  bool isNull() const { return one_x_.isNull(); }
  const QImage& OneX() const { return one_x_; }
  // The drawing for `device_pixel_ratio`, as LoadBitmapForScreen chooses it.
  const QImage& ForScreen(qreal device_pixel_ratio);

private:
  int id_ = 0;
  QImage one_x_;
  QImage two_x_;
};
