// The view grab: one rectangle of the CAD's document view as a thumbnail.
// The screen route copies the document window's pixels from the screen; the
// export route (a target whose ProgID begins with "AUTOCAD") has the CAD
// write its view to a bitmap file beside the executable and reads it back.
// Either way the picture is shrunk onto the thumbnail with the dropped
// pixels ORed into the kept ones: the whole copy, or, when the picture is
// fitted to its layer, the part of it that holds the layer (layer_fit.h).
#pragma once

#include <cstdint>
#include <optional>

#include "base/bitmap.h"
#include "base/files.h"
#include "base/geometry.h"
#include "base/stage_times.h"
#include "cadlink/automation.h"
#include "cadlink/connection.h"

namespace plyscan {

// Port: the CAD's view as the screen shows it: where it is (the document
// window's first child), the cursor parked on it, its pixels copied and
// shrunk, and the export file read.
class ViewScreen {
 public:
  virtual ~ViewScreen() = default;
  // The rectangle of the window's first child in screen coordinates (user32
  // GetWindow with GW_CHILD, then GetWindowRect); all 0 when it has none.
  virtual Rect FirstChildBox(WindowHandle window) = 0;
  // Puts the cursor at a point of the screen.
  virtual void SetCursorPos(Point at) = 0;
  // The window's client pixels at (x, y) on, as the screen shows them with
  // the windows layered over it (SRCCOPY | CAPTUREBLT), into the whole of
  // `into`: from the window's device context, or where that cannot be
  // copied (another process's child window, under Wine), from the screen at
  // the window's place. Every device context is released again.
  virtual void CopyWindow(WindowHandle window, std::int32_t x, std::int32_t y, Bitmap& into) = 0;
  // StretchBlt of the whole of `from` onto the whole of `onto` in the stretch
  // mode WHITEONBLACK.
  virtual void ShrinkOnto(const Bitmap& from, Bitmap& onto) = 0;
  // The bitmap file read with a standard reader, at 32 bits per pixel.
  // Throws Failure when the file is not a bitmap it can read.
  virtual Bitmap LoadBitmapFile(const Text& path) = 0;
};

struct ViewGrabServices {
  ViewScreen& screen;
  FileSystem& files;
  SurfaceFactory& surfaces;
  Text export_path;  // the executable's path with the extension ".bmp"
  StageTimes* times = nullptr;  // charged with the copy and the shrink, for a benchmark
};

// Paints the rectangle `area` of the document's view onto `thumbnail`, which
// keeps its own size. With `fit_background`, the picture is fitted to the
// pixels that differ from that colour, and the scale it was shown at is
// returned; a copy without such pixels is shown whole, as without it.
// `filedia_off` is set while the export route has "FILEDIA" at 0 (a failure
// can leave it so, for the caller to put back). Failures of the CAD's calls
// pass to the caller.
std::optional<double> CaptureView(ViewGrabServices& grab, TextView progid, automation::Object& document,
                                  const Rect& area, Bitmap& thumbnail, bool& filedia_off,
                                  std::optional<Colour> fit_background = std::nullopt);

}  // namespace plyscan
