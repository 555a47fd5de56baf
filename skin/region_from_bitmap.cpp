#include "skin/region_from_bitmap.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <vector>

#include <QRect>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// No single region build is handed more rectangles than this; batches are joined by union.
constexpr qsizetype BATCH_LIMIT = 2000;

// The transparent range of each of the three colour bytes, packed like a pixel.
struct KeyRange {
  quint32 low = 0;
  quint32 high = 0;
};

KeyRange MakeKeyRange(quint32 key, quint32 tolerance) {
  KeyRange range;
  for (int shift = 0; shift < 24; shift += 8) {
    const quint32 low = (key >> shift) & 0xFFu;
    const quint32 high = std::min<quint32>(255u, low + ((tolerance >> shift) & 0xFFu));
    range.low |= low << shift;
    range.high |= high << shift;
  }
  return range;
}

bool IsTransparent(quint32 pixel, const KeyRange& range) {
  for (int shift = 0; shift < 24; shift += 8) {
    const quint32 value = (pixel >> shift) & 0xFFu;
    if (value < ((range.low >> shift) & 0xFFu) || value > ((range.high >> shift) & 0xFFu)) {
      return false;
    }
  }
  return true;
}

// Marks the transparent pixels of one row, one bit per pixel; bits past the row end are set,
// so that the last opaque run ends at the row's width.
class RowMask {
public:
  RowMask(int width, const KeyRange& range)
      : width_(width), words_(static_cast<std::size_t>(width / 64 + 1)), range_(range) {}

  void Classify(const quint32* row) {
    std::fill(words_.begin(), words_.end(), ~std::uint64_t{0});
    int x = 0;
#if defined(__SSE2__)
    const __m128i low = _mm_set1_epi32(static_cast<int>(range_.low));
    const __m128i high = _mm_set1_epi32(static_cast<int>(range_.high | 0xFF000000u));
    const __m128i colour_bytes = _mm_set1_epi32(0x00FFFFFF);
    const __m128i zero = _mm_setzero_si128();
    auto inside = [&](const quint32* p) {
      const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
      const __m128i outside = _mm_or_si128(_mm_subs_epu8(low, pixels), _mm_subs_epu8(pixels, high));
      return _mm_cmpeq_epi32(_mm_and_si128(outside, colour_bytes), zero);
    };
    // One bit per pixel for 16 pixels: the four lane masks packed down to bytes.
    auto sixteen = [&](const quint32* p) {
      const __m128i low_half = _mm_packs_epi32(inside(p), inside(p + 4));
      const __m128i high_half = _mm_packs_epi32(inside(p + 8), inside(p + 12));
      return static_cast<std::uint64_t>(
          static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_packs_epi16(low_half, high_half))));
    };
    for (; x + 64 <= width_; x += 64) {
      words_[static_cast<std::size_t>(x / 64)] = sixteen(row + x) | sixteen(row + x + 16) << 16 |
                                                 sixteen(row + x + 32) << 32 |
                                                 sixteen(row + x + 48) << 48;
    }
    for (; x + 16 <= width_; x += 16) {
      std::uint64_t& word = words_[static_cast<std::size_t>(x / 64)];
      word = (word & ~(std::uint64_t{0xFFFF} << (x % 64))) | sixteen(row + x) << (x % 64);
    }
#endif
    for (; x < width_; ++x) {
      if (!IsTransparent(row[x], range_)) {
        words_[static_cast<std::size_t>(x / 64)] &= ~(std::uint64_t{1} << (x % 64));
      }
    }
  }

  // The first x at or after `from` whose bit equals `transparent`; past the end when none.
  int Next(int from, bool transparent) const {
    std::size_t index = static_cast<std::size_t>(from / 64);
    std::uint64_t word = transparent ? words_[index] : ~words_[index];
    word &= ~std::uint64_t{0} << (from % 64);
    while (word == 0) {
      if (++index == words_.size()) {
        return width_;
      }
      word = transparent ? words_[index] : ~words_[index];
    }
    return static_cast<int>(index * 64) + std::countr_zero(word);
  }

private:
  int width_;
  std::vector<std::uint64_t> words_;
  KeyRange range_;
};

// Collects rectangles in the banded order that QRegion keeps (rows top-down, runs left to
// right, equal neighbouring rows merged into one band) and turns them into regions in batches.
// A batch is closed inside a row rather than at its end, so that the next batch continues the
// same band and QRegion can append it in place instead of running a full union (which would
// make many batches cost quadratic time).
class RegionBuilder {
public:
  void AddRow(int y, const std::vector<std::pair<int, int>>& runs) {
    if (!runs.empty() && runs == previous_runs_ && previous_bottom_ == y && band_start_ >= 0 &&
        band_start_ + static_cast<qsizetype>(runs.size()) ==
            static_cast<qsizetype>(rects_.size())) {
      for (std::size_t i = static_cast<std::size_t>(band_start_); i < rects_.size(); ++i) {
        rects_[i].setBottom(y);
      }
      previous_bottom_ = y + 1;
      return;
    }
    band_start_ = static_cast<qsizetype>(rects_.size());
    for (std::size_t j = 0; j < runs.size(); ++j) {
      const qsizetype count = static_cast<qsizetype>(rects_.size());
      const bool last_of_row = j + 1 == runs.size();
      if (count == BATCH_LIMIT || (last_of_row && j > 0 && count == BATCH_LIMIT - 1)) {
        Flush();
      }
      rects_.emplace_back(QPoint(runs[j].first, y), QPoint(runs[j].second - 1, y));
    }
    previous_runs_ = runs;
    previous_bottom_ = y + 1;
  }

  QRegion Finish() {
    Flush();
    return std::move(result_);
  }

private:
  void Flush() {
    if (!rects_.empty()) {
      QRegion batch;
      batch.setRects(rects_.data(), static_cast<int>(rects_.size()));
      result_ += batch;
    }
    rects_.clear();
    band_start_ = -1;
  }

  std::vector<QRect> rects_;
  QRegion result_;
  std::vector<std::pair<int, int>> previous_runs_;
  int previous_bottom_ = -1;
  qsizetype band_start_ = -1;
};

} // namespace

std::optional<QRegion> RegionFromBitmap(const QImage& bitmap, quint32 key, quint32 tolerance) {
  if (bitmap.isNull()) {
    return std::nullopt;
  }
  QImage pixels = bitmap;
  const QImage::Format format = bitmap.format();
  if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
      format != QImage::Format_ARGB32_Premultiplied) {
    pixels = bitmap.convertToFormat(QImage::Format_RGB32);
    if (pixels.isNull()) {
      return std::nullopt;
    }
  }

  const KeyRange range = MakeKeyRange(key, tolerance);
  const int width = pixels.width();
  RowMask mask(width, range);
  RegionBuilder builder;
  std::vector<std::pair<int, int>> runs;
  runs.reserve(static_cast<std::size_t>(width / 2 + 1));
  for (int y = 0; y < pixels.height(); ++y) {
    mask.Classify(reinterpret_cast<const quint32*>(pixels.constScanLine(y)));
    runs.clear();
    for (int x = mask.Next(0, false); x < width; x = mask.Next(x, false)) {
      const int end = mask.Next(x, true);
      runs.emplace_back(x, end);
      x = end;
      if (x >= width) {
        break;
      }
    }
    builder.AddRow(y, runs);
  }
  return builder.Finish();
}
