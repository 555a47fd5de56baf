// Pictures are addressed by numeric resource id, as the pages and skinned controls name them.
#pragma once

#include <QImage>

// The picture of resource `id` (`:/res/<id>.png`), or a null image when there is none.
QImage LoadBitmap(int id);
