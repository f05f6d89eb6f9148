// Port: the desktop calls the capture run makes on the CAD's view window
// (user32 GetWindow with GW_CHILD, GetWindowRect, SetCursorPos).
#pragma once

#include <cstdint>

#include "base/geometry.h"
#include "cadlink/connection.h"

namespace plyscan {

class ViewWindows {
 public:
  virtual ~ViewWindows() = default;
  // The window's first child (0 when it has none).
  virtual WindowHandle FirstChild(WindowHandle window) = 0;
  // The window's rectangle in screen coordinates (all 0 for no window).
  virtual Rect WindowBox(WindowHandle window) = 0;
  virtual void SetCursorPos(std::int32_t x, std::int32_t y) = 0;
};

}  // namespace plyscan
