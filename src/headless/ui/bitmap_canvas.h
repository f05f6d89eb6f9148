// The headless canvas: draws into a Bitmap with GDI's rules for rectangles,
// pens and brushes, so that tests can check pixels. Text has no glyphs here:
// each character is a cell of a fixed measure (half the character height
// for the characters below U+0100, the whole height for the others), drawn
// as its opaque box with a block of the text colour inside, and every text
// written is kept as a run, so that tests can also check what went where.
#pragma once

#include <vector>

#include "base/canvas.h"

namespace plyscan::ui {

struct TextRun {
  std::int32_t x = 0;
  std::int32_t y = 0;
  Text text;
  FontSpec font;
  bool opaque = true;
  Colour background = 0;  // the brush colour, when opaque
};

class BitmapCanvas final : public Canvas {
 public:
  // Draws into `target`, which must outlive the canvas.
  explicit BitmapCanvas(Bitmap& target);

  // The measure the canvas gives text of a font.
  static std::int32_t CharWidth(char16_t c, std::int32_t height) noexcept;
  static std::int32_t LineHeight(std::int32_t height) noexcept;

  void FillRect(const Rect& rect, Colour colour) override;
  void SetPen(Colour colour) override { pen_ = colour; }
  void SetBrush(Colour colour) override {
    brush_ = colour;
    hollow_ = false;
  }
  void SetHollowBrush() override { hollow_ = true; }
  void Rectangle(const Rect& rect) override;
  void SetFont(const FontSpec& font) override { font_ = font; }
  const FontSpec& Font() const override { return font_; }
  std::int32_t TextWidth(TextView text) override;
  void WriteText(std::int32_t x, std::int32_t y, TextView text) override;
  void DrawBitmap(std::int32_t x, std::int32_t y, const Bitmap& bitmap) override;
  void FocusRect(const Rect& rect) override;
  Colour Pixel(std::int32_t x, std::int32_t y) override { return target_->Pixel(x, y); }

  Colour PenColour() const override { return pen_; }
  // Every WriteText, in order.
  const std::vector<TextRun>& Runs() const noexcept { return runs_; }

 private:
  Bitmap* target_;
  Colour pen_ = 0;
  Colour brush_ = 0xFFFFFF;
  bool hollow_ = false;
  FontSpec font_;
  std::vector<TextRun> runs_;
};

}  // namespace plyscan::ui
