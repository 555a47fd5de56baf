// One picture showing all artwork with its ids, for reviewing the look.
#pragma once

#include <QImage>

namespace artwork {

QImage ContactSheet();

} // namespace artwork
