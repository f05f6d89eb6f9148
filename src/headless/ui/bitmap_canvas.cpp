#include "headless/ui/bitmap_canvas.h"

namespace plyscan::ui {

BitmapCanvas::BitmapCanvas(Bitmap& target) : target_(&target) {}

std::int32_t BitmapCanvas::CharWidth(char16_t c, std::int32_t height) noexcept {
  return c < 0x100 ? (height + 1) / 2 : height;
}

std::int32_t BitmapCanvas::LineHeight(std::int32_t height) noexcept { return height + (height + 4) / 5; }

void BitmapCanvas::FillRect(const Rect& rect, Colour colour) {
  const Rect clipped = rect.Intersection({0, 0, target_->Width(), target_->Height()});
  for (std::int32_t y = clipped.top; y < clipped.bottom; ++y)
    for (std::int32_t x = clipped.left; x < clipped.right; ++x) target_->SetPixel(x, y, colour);
}

void BitmapCanvas::Rectangle(const Rect& rect) {
  if (rect.Empty()) return;
  if (!hollow_) FillRect({rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1}, brush_);
  FillRect({rect.left, rect.top, rect.right, rect.top + 1}, pen_);
  FillRect({rect.left, rect.bottom - 1, rect.right, rect.bottom}, pen_);
  FillRect({rect.left, rect.top, rect.left + 1, rect.bottom}, pen_);
  FillRect({rect.right - 1, rect.top, rect.right, rect.bottom}, pen_);
}

std::int32_t BitmapCanvas::TextWidth(TextView text) {
  std::int32_t width = 0;
  for (char16_t c : text) width += CharWidth(c, font_.height);
  return width;
}

void BitmapCanvas::WriteText(std::int32_t x, std::int32_t y, TextView text) {
  runs_.push_back({x, y, Text(text), font_, !hollow_, brush_});
  const std::int32_t line = LineHeight(font_.height);
  const std::int32_t leading = line - font_.height;
  std::int32_t at = x;
  for (char16_t c : text) {
    const std::int32_t w = CharWidth(c, font_.height);
    if (!hollow_) FillRect({at, y, at + w, y + line}, brush_);
    if (c != u' ') FillRect({at + 1, y + leading, at + w - 1, y + line - 1}, font_.colour);
    at += w;
  }
}

void BitmapCanvas::DrawBitmap(std::int32_t x, std::int32_t y, const Bitmap& bitmap) {
  for (std::int32_t row = 0; row < bitmap.Height(); ++row)
    for (std::int32_t col = 0; col < bitmap.Width(); ++col) target_->SetPixel(x + col, y + row, bitmap.Pixel(col, row));
}

void BitmapCanvas::FocusRect(const Rect& rect) {
  if (rect.Empty()) return;
  const auto invert = [this](std::int32_t x, std::int32_t y) {
    if ((x + y) % 2 != 0) return;
    const Colour c = target_->Pixel(x, y);
    if (c >= 0) target_->SetPixel(x, y, c ^ 0xFFFFFF);
  };
  for (std::int32_t x = rect.left; x < rect.right; ++x) {
    invert(x, rect.top);
    if (rect.bottom - 1 > rect.top) invert(x, rect.bottom - 1);
  }
  for (std::int32_t y = rect.top + 1; y < rect.bottom - 1; ++y) {
    invert(rect.left, y);
    if (rect.right - 1 > rect.left) invert(rect.right - 1, y);
  }
}

}  // namespace plyscan::ui
