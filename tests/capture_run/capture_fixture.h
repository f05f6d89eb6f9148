// A capture through the main window's own button, with simcad in-process as
// the target: the drawing's state before and after, and the thumbnail each
// layer should get, worked out from simcad's rendering on its own.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "capture/capture_geometry.h"
#include "simcad/drawing/drawing.h"
#include "support/main_window_fixture.h"

namespace plyscan::testing {

// A drawing's layer switches and the system variables the capture touches.
struct DrawingState {
  std::map<Text, std::string> layers;  // "1TU": on, thawed, unlocked
  std::map<Text, int> variables;
  friend bool operator==(const DrawingState&, const DrawingState&) = default;
};
DrawingState StateOf(simcad::SimCad& cad);
std::string Describe(const DrawingState& state);

// The drawing with every layer thawed and zoomed to its extents, as each
// picture of a capture sees it, and the rectangle the capture takes of it.
std::optional<Rect> ExpectedRectangle(const simcad::Drawing& drawing);
// The thumbnail of `layer` alone: simcad's rendering of it, the rectangle
// taken out and shrunk as GDI's WHITEONBLACK mode does.
Bitmap ExpectedThumbnail(const simcad::Drawing& drawing, std::size_t layer, const Rect& rect, std::int32_t width,
                         std::int32_t height);

// The first pixel where two bitmaps differ, as text, or empty when they are alike.
std::string FirstDifference(const Bitmap& a, const Bitmap& b);

// Sets the variables a user's drawing has before a capture.
void SetUserVariables(simcad::SimCad& cad);

}  // namespace plyscan::testing
