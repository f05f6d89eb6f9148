// Plain geometry in whole pixels: a point, a size, and a rectangle by its
// edges, the right and bottom edges outside it as GDI's are. The same types
// serve the screen, a window's client area, a bitmap and the designed layouts
// at 96 dpi; what a value is measured against is the name's job. The
// conversions to and from the system's types live in the adapters.
#pragma once

#include <algorithm>
#include <cstdint>

namespace plyscan {

struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend constexpr bool operator==(const Point&, const Point&) = default;
};

struct Size {
  std::int32_t width = 0;
  std::int32_t height = 0;
  friend constexpr bool operator==(const Size&, const Size&) = default;
};

struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;

  // The rectangle of that size with its top-left corner at (left, top); an
  // edge beyond the 32-bit range stops at its end.
  [[nodiscard]] static constexpr Rect Sized(std::int32_t left, std::int32_t top, std::int32_t width,
                                            std::int32_t height) noexcept {
    return {left, top, EdgeAt(left, width), EdgeAt(top, height)};
  }
  [[nodiscard]] static constexpr Rect At(Point corner, Size size) noexcept {
    return Sized(corner.x, corner.y, size.width, size.height);
  }

  constexpr std::int32_t Width() const noexcept { return right - left; }
  constexpr std::int32_t Height() const noexcept { return bottom - top; }
  constexpr Point TopLeft() const noexcept { return {left, top}; }
  constexpr Size Extent() const noexcept { return {Width(), Height()}; }
  constexpr bool Empty() const noexcept { return right <= left || bottom <= top; }
  constexpr bool Contains(std::int32_t x, std::int32_t y) const noexcept {
    return x >= left && x < right && y >= top && y < bottom;
  }
  constexpr Rect Intersection(const Rect& other) const noexcept {
    return {std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
            std::min(bottom, other.bottom)};
  }
  constexpr bool Intersects(const Rect& other) const noexcept { return !Intersection(other).Empty(); }
  // The same size with its top-left corner at `corner`.
  constexpr Rect MovedTo(Point corner) const noexcept { return At(corner, Extent()); }
  // The same corner with another size.
  constexpr Rect Resized(Size size) const noexcept { return At(TopLeft(), size); }
  // Moved by (dx, dy).
  constexpr Rect Offset(std::int32_t dx, std::int32_t dy) const noexcept {
    return {left + dx, top + dy, right + dx, bottom + dy};
  }

  friend constexpr bool operator==(const Rect&, const Rect&) = default;

 private:
  static constexpr std::int32_t EdgeAt(std::int32_t start, std::int32_t length) noexcept {
    const std::int64_t edge = static_cast<std::int64_t>(start) + length;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(edge, INT32_MIN, INT32_MAX));
  }
};

}  // namespace plyscan
