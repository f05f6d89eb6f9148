// Port: a drawing surface with the few operations the board paints with. The
// Win32 adapter draws with GDI on a device context; the headless one draws
// into a Bitmap, so that tests look at the pixels. Coordinates are pixels;
// rectangles exclude their right and bottom edges, as GDI's do.
#pragma once

#include <cstdint>

#include "base/bitmap.h"
#include "base/geometry.h"
#include "base/text.h"

namespace plyscan {

// A font by typeface and character height in pixels (the cell height less
// the internal leading, as GDI's negative lfHeight means it).
struct FontSpec {
  Text face;
  std::int32_t height = 11;
  Colour colour = 0;
  friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  // Fills the rectangle with a solid colour; no outline. The brush stays as it was.
  virtual void FillRect(const Rect& rect, Colour colour) = 0;
  // The pen of Rectangle: solid, one pixel wide.
  virtual void SetPen(Colour colour) = 0;
  virtual Colour PenColour() const = 0;
  // The brush of Rectangle and the background of WriteText.
  virtual void SetBrush(Colour colour) = 0;
  virtual void SetHollowBrush() = 0;
  // The outline with the pen, just inside the rectangle, and the inside with
  // the brush (nothing with a hollow brush).
  virtual void Rectangle(const Rect& rect) = 0;

  virtual void SetFont(const FontSpec& font) = 0;
  virtual const FontSpec& Font() const = 0;
  // The width of the text in the current font.
  virtual std::int32_t TextWidth(TextView text) = 0;
  // The text with its top-left corner at (x, y), in the font's colour; its
  // character cells take the brush colour (transparent with a hollow brush).
  virtual void WriteText(std::int32_t x, std::int32_t y, TextView text) = 0;

  // The bitmap at its own size with its top-left corner at (x, y).
  virtual void DrawBitmap(std::int32_t x, std::int32_t y, const Bitmap& bitmap) = 0;
  // The dotted frame of the keyboard focus, drawn so that drawing it twice
  // takes it away.
  virtual void FocusRect(const Rect& rect) = 0;
  // The colour at (x, y); -1 outside the surface.
  virtual Colour Pixel(std::int32_t x, std::int32_t y) = 0;
};

}  // namespace plyscan
