// The canvas on a GDI device context. Pens and brushes are the DC's own
// colour-settable stock objects, so painting makes none; the fonts a paint
// asks for are made once each and released with the canvas, and everything
// selected into the DC is put back when the canvas goes.
#pragma once

#include <windows.h>

#include <vector>

#include "base/canvas.h"
#include "win32/gdi.h"

namespace plyscan::win32 {

class GdiCanvas final : public Canvas {
 public:
  // `dc` outlives the canvas.
  explicit GdiCanvas(HDC dc);
  GdiCanvas(const GdiCanvas&) = delete;
  GdiCanvas& operator=(const GdiCanvas&) = delete;
  ~GdiCanvas() override;

  void FillRect(const Rect& rect, Colour colour) override;
  void SetPen(Colour colour) override;
  Colour PenColour() const override { return pen_; }
  void SetBrush(Colour colour) override;
  void SetHollowBrush() override;
  void Rectangle(const Rect& rect) override;
  void SetFont(const FontSpec& font) override;
  const FontSpec& Font() const override { return font_; }
  std::int32_t TextWidth(TextView text) override;
  void WriteText(std::int32_t x, std::int32_t y, TextView text) override;
  void DrawBitmap(std::int32_t x, std::int32_t y, const Bitmap& bitmap) override;
  void FocusRect(const Rect& rect) override;
  Colour Pixel(std::int32_t x, std::int32_t y) override;

 private:
  struct MadeFont {
    Text face;
    std::int32_t height;
    GdiObject<HFONT> font;
  };
  HFONT FontFor(const FontSpec& font);

  HDC dc_;
  int saved_;
  FontSpec font_;
  Colour pen_ = 0;
  Colour brush_ = 0xFFFFFF;
  bool hollow_ = false;
  std::vector<MadeFont> fonts_;
};

}  // namespace plyscan::win32
