#include "capture/pixel_copy.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace plyscan {

void CopyPixels(const Bitmap& from, std::int32_t x, std::int32_t y, Bitmap& to) {
  // The columns of `to` that fall on `from`.
  const std::int64_t first = std::max<std::int64_t>(0, -static_cast<std::int64_t>(x));
  const std::int64_t last = std::min<std::int64_t>(to.Width(), static_cast<std::int64_t>(from.Width()) - x);
  const bool same_format = from.BitsPerPixel() == to.BitsPerPixel();
  const std::size_t bytes = static_cast<std::size_t>(to.BitsPerPixel() / 8);
  for (std::int32_t row = 0; row < to.Height(); ++row) {
    const std::int64_t sy = static_cast<std::int64_t>(y) + row;
    if (sy < 0 || sy >= from.Height() || first >= last) continue;
    if (same_format) {  // whole rows at once: the view's copies are large
      std::memcpy(to.Row(row) + static_cast<std::size_t>(first) * bytes,
                  from.Row(static_cast<std::int32_t>(sy)) + static_cast<std::size_t>(x + first) * bytes,
                  static_cast<std::size_t>(last - first) * bytes);
      continue;
    }
    for (std::int32_t col = 0; col < to.Width(); ++col) {
      const std::int64_t sx = static_cast<std::int64_t>(x) + col;
      if (sx < 0 || sx >= from.Width()) continue;
      to.SetPixel(col, row, from.Pixel(static_cast<std::int32_t>(sx), static_cast<std::int32_t>(sy)));
    }
  }
}

namespace {

// For each index of `from`, the index of `to` it falls in when `to` is the
// smaller; for each index of `to`, the one of `from` under it otherwise.
std::vector<std::int32_t> IndexMap(std::int32_t from, std::int32_t to) {
  const std::int32_t n = std::min(from, to) == from ? to : from;
  std::vector<std::int32_t> map(static_cast<std::size_t>(n));
  for (std::int32_t i = 0; i < n; ++i)
    map[static_cast<std::size_t>(i)] = static_cast<std::int32_t>(
        from <= to ? static_cast<std::int64_t>(i) * from / to : static_cast<std::int64_t>(i) * to / from);
  return map;
}

std::uint32_t Read(const std::uint8_t* row, std::int32_t x, int bytes) {
  const std::uint8_t* p = row + static_cast<std::size_t>(x) * static_cast<std::size_t>(bytes);
  return p[0] | (p[1] << 8) | (p[2] << 16);
}

void Write(std::uint8_t* row, std::int32_t x, int bytes, std::uint32_t bgr) {
  std::uint8_t* p = row + static_cast<std::size_t>(x) * static_cast<std::size_t>(bytes);
  p[0] = static_cast<std::uint8_t>(bgr);
  p[1] = static_cast<std::uint8_t>(bgr >> 8);
  p[2] = static_cast<std::uint8_t>(bgr >> 16);
}

}  // namespace

void ShrinkOrScans(const Bitmap& from, Bitmap& onto) {
  const std::int32_t sw = from.Width(), sh = from.Height(), dw = onto.Width(), dh = onto.Height();
  if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return;
  const int sb = from.BitsPerPixel() / 8, db = onto.BitsPerPixel() / 8;
  const std::vector<std::int32_t> cols = IndexMap(sw, dw);
  const std::vector<std::int32_t> rows = IndexMap(sh, dh);
  const bool shrink_x = sw > dw, shrink_y = sh > dh;
  std::vector<std::uint32_t> line(static_cast<std::size_t>(dw));
  // Each row of `onto` gathers the OR of the source rows that fall in it (or
  // takes the one under it), each pixel the OR of the source pixels across.
  std::int32_t source_row = 0;
  for (std::int32_t y = 0; y < dh; ++y) {
    std::fill(line.begin(), line.end(), 0u);
    const auto take_row = [&](std::int32_t sy) {
      const std::uint8_t* src = from.Row(sy);
      if (shrink_x) {
        for (std::int32_t sx = 0; sx < sw; ++sx) line[static_cast<std::size_t>(cols[static_cast<std::size_t>(sx)])] |= Read(src, sx, sb);
      } else {
        for (std::int32_t x = 0; x < dw; ++x) line[static_cast<std::size_t>(x)] |= Read(src, cols[static_cast<std::size_t>(x)], sb);
      }
    };
    if (shrink_y) {
      for (; source_row < sh && rows[static_cast<std::size_t>(source_row)] == y; ++source_row) take_row(source_row);
    } else {
      take_row(rows[static_cast<std::size_t>(y)]);
    }
    std::uint8_t* dst = onto.Row(y);
    for (std::int32_t x = 0; x < dw; ++x) Write(dst, x, db, line[static_cast<std::size_t>(x)]);
  }
}

}  // namespace plyscan
