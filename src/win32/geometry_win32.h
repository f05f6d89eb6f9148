// The portable geometry to and from the system's RECT, POINT and SIZE.
#pragma once

#include <windows.h>

#include "base/geometry.h"

namespace plyscan::win32 {

inline Rect FromRECT(const RECT& r) noexcept {
  return {static_cast<std::int32_t>(r.left), static_cast<std::int32_t>(r.top), static_cast<std::int32_t>(r.right),
          static_cast<std::int32_t>(r.bottom)};
}
inline RECT ToRECT(const Rect& r) noexcept { return {r.left, r.top, r.right, r.bottom}; }
inline Size FromSIZE(const SIZE& s) noexcept {
  return {static_cast<std::int32_t>(s.cx), static_cast<std::int32_t>(s.cy)};
}

}  // namespace plyscan::win32
