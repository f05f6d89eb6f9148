#include "capture_fixture.h"

#include "base/platform.h"
#include "capture/pixel_copy.h"
#include "simcad/drawing/render.h"

namespace plyscan::testing {

DrawingState StateOf(simcad::SimCad& cad) {
  DrawingState state;
  for (const simcad::Layer& layer : cad.GetDrawing().layers)
    state.layers[layer.name] = std::string(layer.on ? "1" : "0") + (layer.frozen ? "F" : "T") + (layer.locked ? "L" : "U");
  for (const char16_t* name : {u"GRIDMODE", u"UCSICON", u"EXPERT", u"CMDECHO", u"FILEDIA"})
    state.variables[name] = cad.Variables().Integer(name);
  return state;
}

std::string Describe(const DrawingState& state) {
  std::string out;
  for (const auto& [name, switches] : state.layers) out += ToUtf8(name) + ":" + switches + " ";
  for (const auto& [name, value] : state.variables) out += ToUtf8(name) + "=" + std::to_string(value) + " ";
  return out;
}

namespace {

simcad::Drawing Thawed(simcad::Drawing drawing) {
  for (simcad::Layer& layer : drawing.layers) layer.frozen = false;
  drawing.ZoomExtents();
  return drawing;
}

}  // namespace

std::optional<Rect> ExpectedRectangle(const simcad::Drawing& original) {
  const simcad::Drawing d = Thawed(original);
  const simcad::Box extents = d.ThawedExtents();
  return CaptureRectangle(d.view.screen_width, d.view.screen_height, d.view.height, extents.min.x, extents.min.y,
                          extents.max.x, extents.max.y);
}

Bitmap ExpectedThumbnail(const simcad::Drawing& original, std::size_t layer, const Rect& rect, std::int32_t width,
                         std::int32_t height) {
  simcad::Drawing d = Thawed(original);
  for (std::size_t i = 0; i < d.layers.size(); ++i) d.layers[i].on = i == layer;
  const simcad::Image view = simcad::RenderView(d);
  Bitmap capture(SystemSurfaces());
  capture.SetSize(rect.Width(), rect.Height());
  for (std::int32_t y = 0; y < rect.Height(); ++y)
    for (std::int32_t x = 0; x < rect.Width(); ++x) {
      const std::int32_t sx = rect.left + x, sy = rect.top + y;
      Colour c = 0;
      if (sx >= 0 && sy >= 0 && sx < view.width && sy < view.height) {
        const simcad::Rgb p = view.At(sx, sy);
        c = p.r | (p.g << 8) | (p.b << 16);
      }
      capture.SetPixel(x, y, c);
    }
  Bitmap thumbnail(SystemSurfaces());
  thumbnail.SetSize(width, height);
  ShrinkOrScans(capture, thumbnail);
  return thumbnail;
}

std::string FirstDifference(const Bitmap& a, const Bitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height())
    return "sizes " + std::to_string(a.Width()) + "x" + std::to_string(a.Height()) + " and " +
           std::to_string(b.Width()) + "x" + std::to_string(b.Height());
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (a.Pixel(x, y) != b.Pixel(x, y))
        return "at " + std::to_string(x) + "," + std::to_string(y) + ": " + std::to_string(a.Pixel(x, y)) + " and " +
               std::to_string(b.Pixel(x, y));
  return {};
}

void SetUserVariables(simcad::SimCad& cad) {
  for (const auto& [name, value] : {std::pair{u"GRIDMODE", 1}, std::pair{u"UCSICON", 3}, std::pair{u"EXPERT", 0},
                                    std::pair{u"CMDECHO", 1}, std::pair{u"FILEDIA", 1}})
    if (cad.Variables().SetInteger(name, value) != simcad::VariableError::None) ADD_FAILURE() << ToUtf8(name);
}

}  // namespace plyscan::testing
