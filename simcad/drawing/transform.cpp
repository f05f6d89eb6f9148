#include "simcad/drawing/transform.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "simcad/drawing/geometry.h"

namespace simcad {
namespace {

constexpr double kArcStep = std::numbers::pi / 48;  // sampling step of arcs that must become polylines

Point Cross(const Point& a, const Point& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

Point Unit(const Point& v) {
  const double length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  return length > 0 ? Point{v.x / length, v.y / length, v.z / length} : Point{0, 0, 1};
}

// How the matrix acts on the drawing plane.
struct PlaneMap {
  double scale_x = 1;    // length of the image of the x axis
  double scale_y = 1;    // length of the image of the y axis
  double angle = 0;      // direction of the image of the x axis
  bool mirrored = false;
  bool uniform = true;   // a similarity: circles stay circles
};

PlaneMap Describe(const Matrix& t) {
  const double a = t.m[0][0], b = t.m[0][1], c = t.m[1][0], d = t.m[1][1];
  PlaneMap map;
  map.scale_x = std::hypot(a, c);
  map.scale_y = std::hypot(b, d);
  map.angle = std::atan2(c, a);
  map.mirrored = a * d - b * c < 0;
  const double size = std::max(map.scale_x, map.scale_y);
  map.uniform = size > 0 && std::abs(map.scale_x - map.scale_y) <= 1e-9 * size &&
                std::abs(a * b + c * d) <= 1e-9 * size * size;
  return map;
}

}  // namespace

Point Matrix::Apply(const Point& p) const {
  return {m[0][0] * p.x + m[0][1] * p.y + m[0][2] * p.z + m[0][3],
          m[1][0] * p.x + m[1][1] * p.y + m[1][2] * p.z + m[1][3],
          m[2][0] * p.x + m[2][1] * p.y + m[2][2] * p.z + m[2][3]};
}

Point Matrix::ApplyVector(const Point& v) const {
  return {m[0][0] * v.x + m[0][1] * v.y + m[0][2] * v.z, m[1][0] * v.x + m[1][1] * v.y + m[1][2] * v.z,
          m[2][0] * v.x + m[2][1] * v.y + m[2][2] * v.z};
}

Matrix Matrix::operator*(const Matrix& r) const {
  Matrix out;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 4; ++j) {
      double sum = j == 3 ? m[i][3] : 0;
      for (int k = 0; k < 3; ++k) sum += m[i][k] * r.m[k][j];
      out.m[i][j] = sum;
    }
  return out;
}

Matrix Matrix::Translation(const Point& o) {
  Matrix t;
  t.m[0][3] = o.x;
  t.m[1][3] = o.y;
  t.m[2][3] = o.z;
  return t;
}

Matrix Matrix::Scaling(double x, double y, double z) {
  Matrix t;
  t.m[0][0] = x;
  t.m[1][1] = y;
  t.m[2][2] = z;
  return t;
}

Matrix Matrix::RotationZ(double radians) {
  Matrix t;
  const double c = std::cos(radians);
  const double s = std::sin(radians);
  t.m[0][0] = c;
  t.m[0][1] = -s;
  t.m[1][0] = s;
  t.m[1][1] = c;
  return t;
}

Matrix Matrix::FromOcs(const Point& normal) {
  const Point n = Unit(normal);
  const Point ax = Unit(std::abs(n.x) < 1.0 / 64 && std::abs(n.y) < 1.0 / 64 ? Cross({0, 1, 0}, n)
                                                                              : Cross({0, 0, 1}, n));
  const Point ay = Unit(Cross(n, ax));
  Matrix t;
  const Point axes[3] = {ax, ay, n};
  for (int column = 0; column < 3; ++column) {
    t.m[0][column] = axes[column].x;
    t.m[1][column] = axes[column].y;
    t.m[2][column] = axes[column].z;
  }
  return t;
}

bool Matrix::IsIdentity() const {
  const Matrix identity;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 4; ++j)
      if (m[i][j] != identity.m[i][j]) return false;
  return true;
}

bool IsWorldNormal(const Point& n) {
  return std::abs(n.x) < 1e-12 && std::abs(n.y) < 1e-12 && n.z > 0;
}

Entity AsPolyline(const Entity& e) {
  Entity out;
  out.kind = EntityKind::Polyline;
  out.layer = e.layer;
  out.colour = e.colour;
  out.closed = e.closed || e.kind == EntityKind::Circle || e.kind == EntityKind::Solid || e.kind == EntityKind::Hatch;
  const auto add = [&](const Point& p) {
    if (out.points.empty() || std::abs(out.points.back().x - p.x) > 1e-12 || std::abs(out.points.back().y - p.y) > 1e-12)
      out.points.push_back(p);
  };
  ForEachPrimitive(e, [&](const Primitive& p) {
    switch (p.kind) {
      case Primitive::Kind::Dot: add(p.a); break;
      case Primitive::Kind::Segment:
        add(p.a);
        add(p.b);
        break;
      case Primitive::Kind::Arc: {
        const int steps = std::max(2, static_cast<int>(std::ceil(p.sweep / kArcStep)));
        for (int i = 0; i <= steps; ++i) {
          const double t = p.reversed ? 1.0 - static_cast<double>(i) / steps : static_cast<double>(i) / steps;
          const double angle = p.start + p.sweep * t;
          add({p.centre.x + p.radius * std::cos(angle), p.centre.y + p.radius * std::sin(angle), p.centre.z});
        }
        break;
      }
    }
  });
  if (out.closed && out.points.size() > 1 && std::abs(out.points.front().x - out.points.back().x) < 1e-12 &&
      std::abs(out.points.front().y - out.points.back().y) < 1e-12)
    out.points.pop_back();
  return out;
}

void TransformEntity(Entity& e, const Matrix& t) {
  for (Entity& part : e.parts) TransformEntity(part, t);
  const PlaneMap map = Describe(t);
  const bool curved = e.kind == EntityKind::Circle || e.kind == EntityKind::Arc || e.kind == EntityKind::Ellipse ||
                      std::any_of(e.bulges.begin(), e.bulges.end(), [](double b) { return b != 0; });
  if (curved && !map.uniform) {
    std::vector<Entity> parts = std::move(e.parts);
    e = AsPolyline(e);
    e.parts = std::move(parts);
  }
  switch (e.kind) {
    case EntityKind::Circle:
    case EntityKind::Arc:
      e.points[0] = t.Apply(e.points[0]);
      e.radius *= map.scale_x;
      if (map.mirrored) {
        const double start = e.start_angle;
        e.start_angle = map.angle - e.end_angle;
        e.end_angle = map.angle - start;
      } else {
        e.start_angle += map.angle;
        e.end_angle += map.angle;
      }
      return;
    case EntityKind::Ellipse:
      e.points[0] = t.Apply(e.points[0]);
      e.points[1] = t.ApplyVector(e.points[1]);
      if (map.mirrored) {
        const double start = e.start_angle;
        e.start_angle = -e.end_angle;
        e.end_angle = -start;
      }
      return;
    case EntityKind::Text: {
      const Point along = t.ApplyVector({std::cos(e.rotation), std::sin(e.rotation), 0});
      const Point up = t.ApplyVector({-std::sin(e.rotation), std::cos(e.rotation), 0});
      if (!e.points.empty()) e.points[0] = t.Apply(e.points[0]);
      e.rotation = std::atan2(along.y, along.x);
      e.height *= std::hypot(up.x, up.y);
      e.width *= std::hypot(along.x, along.y);
      return;
    }
    default:
      for (Point& p : e.points) p = t.Apply(p);
      if (map.mirrored)
        for (double& b : e.bulges) b = -b;
      return;
  }
}

}  // namespace simcad
