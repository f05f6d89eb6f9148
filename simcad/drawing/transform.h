// Affine transforms of drawing geometry: block inserts and the object
// coordinate systems (OCS) of planar DXF entities.
#pragma once

#include "simcad/drawing/drawing.h"

namespace simcad {

struct Matrix {
  double m[3][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}};

  Point Apply(const Point& p) const;
  Point ApplyVector(const Point& v) const;  // without the translation
  Matrix operator*(const Matrix& right) const;

  static Matrix Translation(const Point& offset);
  static Matrix Scaling(double x, double y, double z);
  static Matrix RotationZ(double radians);
  // From the OCS of an extrusion direction to world coordinates (DXF's arbitrary axis algorithm).
  static Matrix FromOcs(const Point& normal);
  bool IsIdentity() const;
};

// True when the extrusion direction is the world Z axis (the OCS is the WCS).
bool IsWorldNormal(const Point& normal);

// Maps the entity and its parts. Circles, arcs and ellipses stay exact under
// a uniform scale (with or without mirroring) and become polylines otherwise;
// bulged segments likewise.
void TransformEntity(Entity& entity, const Matrix& matrix);

// The entity's own outline as a polyline (arcs sampled finely).
Entity AsPolyline(const Entity& entity);

}  // namespace simcad
