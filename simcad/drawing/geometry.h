// The drawn outline of an entity broken into primitives, shared by the
// extents, the crossing selection and the renderer so that the three agree.
#pragma once

#include <functional>

#include "simcad/drawing/drawing.h"

namespace simcad {

struct Primitive {
  enum class Kind { Dot, Segment, Arc };
  Kind kind = Kind::Dot;
  Point a;           // Dot, Segment start
  Point b;           // Segment end
  Point centre;      // Arc
  double radius = 0;  // Arc
  double start = 0;  // Arc: start angle in radians
  double sweep = 0;  // Arc: counter-clockwise sweep in radians, 0 < sweep <= 2 pi
  bool reversed = false;  // Arc: the path runs clockwise, from start + sweep back to start
};

// Calls `emit` for each primitive of the entity's own geometry (not its parts).
// Ellipses and splines come as segments; text as the four sides of its box.
void ForEachPrimitive(const Entity& entity, const std::function<void(const Primitive&)>& emit);

// The four corners of a text entity's box, counter-clockwise from the lower left.
void TextCorners(const Entity& text, Point corners[4]);

// The estimated width of the longest line of `text` at a character height:
// wide (CJK) characters as squares, the rest at 0.6 of the height.
double EstimatedTextWidth(TextView text, double height);
// The height of a text box of `lines` lines (line spacing 5/3 of the height).
double TextBoxHeight(TextView text, double height);

// True for kinds whose area is filled (a crossing window inside them selects them).
bool IsArea(const Entity& entity);

// The point of an ellipse at parameter t.
Point EllipsePoint(const Entity& ellipse, double t);

}  // namespace simcad
