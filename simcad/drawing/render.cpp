#include "simcad/drawing/render.h"

#include <algorithm>
#include <cmath>

#include "simcad/drawing/geometry.h"

namespace simcad {
namespace {

constexpr int kMaxArcSteps = 4096;

class Canvas {
 public:
  Canvas(Image& image, const View& view)
      : image_(image), scale_(view.height > 0 ? view.screen_height / view.height : 1), view_(view) {}

  void Draw(const Primitive& p, Rgb colour) {
    switch (p.kind) {
      case Primitive::Kind::Dot: {
        const Screen s = ToScreen(p.a);
        Plot(s.x, s.y, colour);
        return;
      }
      case Primitive::Kind::Segment: Line(ToScreen(p.a), ToScreen(p.b), colour); return;
      case Primitive::Kind::Arc: Arc(p, colour); return;
    }
  }

 private:
  struct Screen {
    double x;
    double y;
  };

  Screen ToScreen(const Point& p) const {
    return {image_.width / 2.0 + (p.x - view_.centre.x) * scale_, image_.height / 2.0 - (p.y - view_.centre.y) * scale_};
  }

  void Plot(double x, double y, Rgb colour) {
    image_.Set(static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y)), colour);
  }

  // A DDA line, first clipped to the image (with a pixel to spare) so that
  // far-away geometry costs nothing.
  void Line(Screen a, Screen b, Rgb colour) {
    double t0 = 0, t1 = 1;
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x + 1, image_.width + 1 - a.x, a.y + 1, image_.height + 1 - a.y};
    for (int i = 0; i < 4; ++i) {
      if (p[i] == 0) {
        if (q[i] < 0) return;
        continue;
      }
      const double t = q[i] / p[i];
      if (p[i] < 0) t0 = std::max(t0, t);
      else t1 = std::min(t1, t);
      if (t0 > t1) return;
    }
    const Screen from{a.x + t0 * dx, a.y + t0 * dy};
    const Screen to{a.x + t1 * dx, a.y + t1 * dy};
    const double steps = std::ceil(std::max(std::abs(to.x - from.x), std::abs(to.y - from.y)));
    if (steps < 1) {
      Plot(from.x, from.y, colour);
      return;
    }
    for (int i = 0; i <= static_cast<int>(steps); ++i) {
      const double t = i / steps;
      Plot(from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t, colour);
    }
  }

  void Arc(const Primitive& p, Rgb colour) {
    const Screen c = ToScreen(p.centre);
    const double r = p.radius * scale_;
    if (c.x + r < -1 || c.x - r > image_.width + 1 || c.y + r < -1 || c.y - r > image_.height + 1) return;
    if (r < 0.5) {
      Plot(c.x, c.y, colour);
      return;
    }
    // Chords that stray from the curve by at most a quarter pixel.
    const double step = 2 * std::acos(std::max(0.0, 1 - 0.25 / r));
    const int steps = std::clamp(static_cast<int>(std::ceil(p.sweep / step)), 4, kMaxArcSteps);
    Screen previous{c.x + r * std::cos(p.start), c.y - r * std::sin(p.start)};
    for (int i = 1; i <= steps; ++i) {
      const double angle = p.start + p.sweep * i / steps;
      const Screen next{c.x + r * std::cos(angle), c.y - r * std::sin(angle)};
      Line(previous, next, colour);
      previous = next;
    }
  }

  Image& image_;
  double scale_;
  const View& view_;
};

Rgb EntityColour(const Entity& e, const Layer* layer) {
  if (e.colour == 256) return AciColour(layer ? layer->colour : 7);
  return AciColour(e.colour);
}

void DrawEntity(const LayerLookup& layers, const Entity& e, Canvas& canvas) {
  const Layer* layer = layers.Find(e.layer);
  if (layer && layer->frozen) return;  // a frozen layer hides the entity and everything it holds
  if (!layer || layer->on) {
    const Rgb colour = EntityColour(e, layer);
    ForEachPrimitive(e, [&](const Primitive& p) { canvas.Draw(p, colour); });
  }
  for (const Entity& part : e.parts) DrawEntity(layers, part, canvas);
}

}  // namespace

Rgb Image::At(int x, int y) const {
  const std::size_t at = (static_cast<std::size_t>(y) * width + x) * 3;
  return {rgb[at], rgb[at + 1], rgb[at + 2]};
}

void Image::Set(int x, int y, Rgb colour) {
  if (x < 0 || y < 0 || x >= width || y >= height) return;
  const std::size_t at = (static_cast<std::size_t>(y) * width + x) * 3;
  rgb[at] = colour.r;
  rgb[at + 1] = colour.g;
  rgb[at + 2] = colour.b;
}

Image RenderView(const Drawing& drawing) {
  Image image;
  image.width = std::max(0, drawing.view.screen_width);
  image.height = std::max(0, drawing.view.screen_height);
  image.rgb.resize(static_cast<std::size_t>(image.width) * image.height * 3);
  for (std::size_t i = 0; i < image.rgb.size(); i += 3) {
    image.rgb[i] = kBackground.r;
    image.rgb[i + 1] = kBackground.g;
    image.rgb[i + 2] = kBackground.b;
  }
  if (image.width == 0 || image.height == 0 || !(drawing.view.height > 0)) return image;
  Canvas canvas(image, drawing.view);
  const LayerLookup layers(drawing.layers);
  for (const Entity& entity : drawing.entities) DrawEntity(layers, entity, canvas);
  return image;
}

}  // namespace simcad
