// The view grab on Windows: the CAD's view window found and its place read
// (GetWindow, GetWindowRect), the cursor parked (SetCursorPos), the window's
// pixels copied from the screen with GetDC and BitBlt (SRCCOPY | CAPTUREBLT),
// shrunk with StretchBlt in the stretch mode WHITEONBLACK, and the export
// file read with the system's own bitmap reader (LoadImageW). Every DC and
// bitmap is released on every way out.
#pragma once

#include "capture/view_grab.h"

namespace plyscan::win32 {

class GdiViewScreen final : public ViewScreen {
 public:
  Rect FirstChildBox(WindowHandle window) override;
  void SetCursorPos(Point at) override;
  void CopyWindow(WindowHandle window, std::int32_t x, std::int32_t y, Bitmap& into) override;
  void ShrinkOnto(const Bitmap& from, Bitmap& onto) override;
  Bitmap LoadBitmapFile(const Text& path) override;
};

}  // namespace plyscan::win32
