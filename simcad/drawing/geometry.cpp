#include "simcad/drawing/geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace simcad {
namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;
constexpr int kEllipseSegments = 96;  // per full turn

double Normalised(double angle) {
  angle = std::fmod(angle, kTwoPi);
  return angle < 0 ? angle + kTwoPi : angle;
}

// True when `angle` lies on the arc that starts at `start` and sweeps `sweep` counter-clockwise.
bool OnArc(double angle, double start, double sweep) {
  return Normalised(angle - start) <= sweep + 1e-12;
}

Point ArcPoint(const Primitive& arc, double angle) {
  return {arc.centre.x + arc.radius * std::cos(angle), arc.centre.y + arc.radius * std::sin(angle),
          arc.centre.z};
}

Primitive Segment(const Point& a, const Point& b) {
  Primitive p;
  p.kind = Primitive::Kind::Segment;
  p.a = a;
  p.b = b;
  return p;
}

Primitive Arc(const Point& centre, double radius, double start, double sweep) {
  Primitive p;
  p.kind = Primitive::Kind::Arc;
  p.centre = centre;
  p.radius = radius;
  p.start = start;
  p.sweep = sweep;
  p.a = ArcPoint(p, start);
  return p;
}

// The primitive of one polyline segment from p to q with the DXF bulge.
Primitive BulgeSegment(const Point& p, const Point& q, double bulge) {
  const double dx = q.x - p.x;
  const double dy = q.y - p.y;
  const double chord = std::hypot(dx, dy);
  if (std::abs(bulge) < 1e-9 || chord < 1e-12) return Segment(p, q);
  const double sagitta = std::abs(bulge) * chord / 2;
  const double radius = (chord * chord / 4 + sagitta * sagitta) / (2 * sagitta);
  const double offset = radius - sagitta;  // from the chord's midpoint to the centre
  const double side = bulge > 0 ? 1 : -1;  // the centre is left of p->q for a counter-clockwise arc
  const Point centre{(p.x + q.x) / 2 - side * dy / chord * offset,
                     (p.y + q.y) / 2 + side * dx / chord * offset, p.z};
  const double sweep = 4 * std::atan(std::abs(bulge));
  const Point& from = bulge > 0 ? p : q;
  Primitive arc = Arc(centre, radius, std::atan2(from.y - centre.y, from.x - centre.x), sweep);
  arc.reversed = bulge < 0;
  return arc;
}

void EmitPath(const std::vector<Point>& points, const std::vector<double>& bulges, bool closed,
              const std::function<void(const Primitive&)>& emit) {
  if (points.empty()) return;
  if (points.size() == 1) {
    Primitive dot;
    dot.a = points[0];
    emit(dot);
    return;
  }
  const std::size_t n = points.size();
  const std::size_t count = closed ? n : n - 1;
  for (std::size_t i = 0; i < count; ++i) {
    const double bulge = i < bulges.size() ? bulges[i] : 0;
    emit(BulgeSegment(points[i], points[(i + 1) % n], bulge));
  }
}

// The sweep from start to end angle, counter-clockwise, in (0, 2 pi].
double SweepBetween(double start, double end) {
  const double sweep = Normalised(end - start);
  return sweep < 1e-12 ? kTwoPi : sweep;
}

bool Inside(const Point& p, const Box& w) {
  return p.x >= w.min.x && p.x <= w.max.x && p.y >= w.min.y && p.y <= w.max.y;
}

// Liang-Barsky: does any part of the segment lie in the window?
bool SegmentCrosses(const Point& a, const Point& b, const Box& w) {
  double t0 = 0;
  double t1 = 1;
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {a.x - w.min.x, w.max.x - a.x, a.y - w.min.y, w.max.y - a.y};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0) {
      t0 = std::max(t0, t);
    } else {
      t1 = std::min(t1, t);
    }
    if (t0 > t1) return false;
  }
  return true;
}

bool ArcCrosses(const Primitive& arc, const Box& w) {
  if (Inside(arc.a, w) || Inside(ArcPoint(arc, arc.start + arc.sweep), w)) return true;
  const Point& c = arc.centre;
  const double r = arc.radius;
  // Where the circle meets each side of the window, on the arc.
  for (const double x : {w.min.x, w.max.x}) {
    const double dx = x - c.x;
    if (std::abs(dx) > r) continue;
    const double dy = std::sqrt(r * r - dx * dx);
    for (const double y : {c.y - dy, c.y + dy})
      if (y >= w.min.y && y <= w.max.y && OnArc(std::atan2(y - c.y, dx), arc.start, arc.sweep)) return true;
  }
  for (const double y : {w.min.y, w.max.y}) {
    const double dy = y - c.y;
    if (std::abs(dy) > r) continue;
    const double dx = std::sqrt(r * r - dy * dy);
    for (const double x : {c.x - dx, c.x + dx})
      if (x >= w.min.x && x <= w.max.x && OnArc(std::atan2(dy, x - c.x), arc.start, arc.sweep)) return true;
  }
  return false;
}

bool PrimitiveCrosses(const Primitive& p, const Box& w) {
  switch (p.kind) {
    case Primitive::Kind::Dot: return Inside(p.a, w);
    case Primitive::Kind::Segment: return SegmentCrosses(p.a, p.b, w);
    case Primitive::Kind::Arc: return ArcCrosses(p, w);
  }
  return false;
}

void AddPrimitive(Box& box, const Primitive& p) {
  switch (p.kind) {
    case Primitive::Kind::Dot: box.Add(p.a); return;
    case Primitive::Kind::Segment:
      box.Add(p.a);
      box.Add(p.b);
      return;
    case Primitive::Kind::Arc:
      box.Add(p.a);
      box.Add(ArcPoint(p, p.start + p.sweep));
      for (int quarter = 0; quarter < 4; ++quarter) {
        const double angle = quarter * std::numbers::pi / 2;
        if (OnArc(angle, p.start, p.sweep)) box.Add(ArcPoint(p, angle));
      }
      return;
  }
}

// Even-odd test of a point against the straight-edged loops of an area entity.
bool InsideArea(const Entity& e, const Point& p) {
  bool inside = false;
  const auto loop = [&](const std::vector<Point>& pts) {
    for (std::size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
      const Point& a = pts[i];
      const Point& b = pts[j];
      if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) inside = !inside;
    }
  };
  if (e.kind == EntityKind::Text) {
    Point corners[4];
    TextCorners(e, corners);
    loop(std::vector<Point>(corners, corners + 4));
    return inside;
  }
  if (e.points.size() >= 3) loop(e.points);
  if (e.kind == EntityKind::Hatch)
    for (const Entity& part : e.parts)
      if (part.points.size() >= 3) loop(part.points);
  return inside;
}

bool IsWide(char16_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
         (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6);
}

}  // namespace

void Box::Add(const Point& p) {
  min.x = std::min(min.x, p.x);
  min.y = std::min(min.y, p.y);
  min.z = std::min(min.z, p.z);
  max.x = std::max(max.x, p.x);
  max.y = std::max(max.y, p.y);
  max.z = std::max(max.z, p.z);
}

void Box::Add(const Box& b) {
  if (b.Empty()) return;
  Add(b.min);
  Add(b.max);
}

double EstimatedTextWidth(TextView text, double height) {
  double widest = 0;
  double width = 0;
  for (const char16_t c : text) {
    if (c == u'\n') {
      widest = std::max(widest, width);
      width = 0;
    } else if (c < 0xDC00 || c > 0xDFFF) {  // a surrogate pair is one character
      width += (IsWide(c) ? 1.0 : 0.6) * height;
    }
  }
  return std::max(widest, width);
}

double TextBoxHeight(TextView text, double height) {
  const auto lines = static_cast<double>(std::count(text.begin(), text.end(), u'\n'));
  return height * (1 + lines * 5 / 3);
}

void TextCorners(const Entity& text, Point corners[4]) {
  const double width = text.width > 0 ? text.width : EstimatedTextWidth(text.text, text.height);
  const double height = TextBoxHeight(text.text, text.height);
  const Point origin = text.points.empty() ? Point{} : text.points[0];
  const double c = std::cos(text.rotation);
  const double s = std::sin(text.rotation);
  const double local[4][2] = {{0, 0}, {width, 0}, {width, height}, {0, height}};
  for (int i = 0; i < 4; ++i)
    corners[i] = {origin.x + local[i][0] * c - local[i][1] * s, origin.y + local[i][0] * s + local[i][1] * c,
                  origin.z};
}

Point EllipsePoint(const Entity& e, double t) {
  const Point& c = e.points[0];
  const Point& major = e.points[1];
  // The minor axis: the major axis turned a quarter counter-clockwise, times the ratio.
  const double mx = -major.y * e.ratio;
  const double my = major.x * e.ratio;
  return {c.x + major.x * std::cos(t) + mx * std::sin(t), c.y + major.y * std::cos(t) + my * std::sin(t),
          c.z + major.z * std::cos(t)};
}

bool IsArea(const Entity& e) {
  return e.kind == EntityKind::Solid || e.kind == EntityKind::Hatch || e.kind == EntityKind::Text;
}

void ForEachPrimitive(const Entity& e, const std::function<void(const Primitive&)>& emit) {
  switch (e.kind) {
    case EntityKind::Circle:
      if (!e.points.empty()) emit(Arc(e.points[0], e.radius, 0, kTwoPi));
      return;
    case EntityKind::Arc:
      if (!e.points.empty()) emit(Arc(e.points[0], e.radius, e.start_angle, SweepBetween(e.start_angle, e.end_angle)));
      return;
    case EntityKind::Ellipse: {
      if (e.points.size() < 2) return;
      const double sweep = SweepBetween(e.start_angle, e.end_angle);
      const int steps = std::max(4, static_cast<int>(std::ceil(sweep / kTwoPi * kEllipseSegments)));
      Point previous = EllipsePoint(e, e.start_angle);
      for (int i = 1; i <= steps; ++i) {
        const Point next = EllipsePoint(e, e.start_angle + sweep * i / steps);
        emit(Segment(previous, next));
        previous = next;
      }
      return;
    }
    case EntityKind::Text: {
      Point corners[4];
      TextCorners(e, corners);
      for (int i = 0; i < 4; ++i) emit(Segment(corners[i], corners[(i + 1) % 4]));
      return;
    }
    case EntityKind::Point:
      if (!e.points.empty()) {
        Primitive dot;
        dot.a = e.points[0];
        emit(dot);
      }
      return;
    case EntityKind::Insert:
      return;  // all of its geometry is in its parts
    case EntityKind::Dimension:
      if (!e.parts.empty()) return;  // drawn by its block; bare definition points otherwise
      for (const Point& p : e.points) {
        Primitive dot;
        dot.a = p;
        emit(dot);
      }
      return;
    case EntityKind::Line:
    case EntityKind::Polyline:
    case EntityKind::Spline:
    case EntityKind::Solid:
    case EntityKind::Hatch:
    case EntityKind::Other:
      EmitPath(e.points, e.bulges, e.closed, emit);
      return;
  }
}

Box Extents(const Entity& entity) {
  Box box;
  ForEachPrimitive(entity, [&](const Primitive& p) { AddPrimitive(box, p); });
  for (const Entity& part : entity.parts) box.Add(Extents(part));
  return box;
}

bool CrossesWindow(const Entity& entity, const Box& window) {
  if (window.Empty()) return false;
  bool crosses = false;
  ForEachPrimitive(entity, [&](const Primitive& p) {
    if (!crosses && PrimitiveCrosses(p, window)) crosses = true;
  });
  if (crosses) return true;
  if (IsArea(entity) && InsideArea(entity, {(window.min.x + window.max.x) / 2, (window.min.y + window.max.y) / 2, 0}))
    return true;
  return std::any_of(entity.parts.begin(), entity.parts.end(),
                     [&](const Entity& part) { return CrossesWindow(part, window); });
}

}  // namespace simcad
