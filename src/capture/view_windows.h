// Port: the desktop calls the capture run makes on the CAD's view window
// (user32 GetWindow with GW_CHILD, GetWindowRect, SetCursorPos).
#pragma once

#include <cstdint>

#include "cadlink/connection.h"

namespace plyscan {

struct ScreenBox {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  friend bool operator==(const ScreenBox&, const ScreenBox&) = default;
};

class ViewWindows {
 public:
  virtual ~ViewWindows() = default;
  // The window's first child (0 when it has none).
  virtual WindowHandle FirstChild(WindowHandle window) = 0;
  // The window's rectangle in screen coordinates (all 0 for no window).
  virtual ScreenBox WindowBox(WindowHandle window) = 0;
  virtual void SetCursorPos(std::int32_t x, std::int32_t y) = 0;
};

}  // namespace plyscan
