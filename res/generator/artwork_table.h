// The list of pictures by resource id, with their sizes.
#pragma once

#include <functional>
#include <vector>

#include <QImage>
#include <QSize>
#include <QString>

namespace artwork {

struct Artwork {
  int id;
  QSize size;
  QString name;
  std::function<QImage()> draw;
};

const std::vector<Artwork>& ArtworkTable();

} // namespace artwork
