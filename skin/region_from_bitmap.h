// A window shape made of every pixel of a picture that is not the key colour.
#pragma once

#include <optional>

#include <QImage>
#include <QRegion>

// `key` and `tolerance` are 0xRRGGBB values compared byte by byte: a pixel is transparent when
// each of its blue, green and red bytes lies from the key's byte up to that byte plus the
// tolerance's (capped at 255). Alpha is ignored. An all-key picture gives an empty region; a
// null picture gives none.
std::optional<QRegion> RegionFromBitmap(const QImage& bitmap, quint32 key, quint32 tolerance);
