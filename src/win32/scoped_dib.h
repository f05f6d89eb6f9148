// A DIB section selected into a memory DC of its own, for the length of one
// GDI operation on a portable Bitmap: the bitmap's pixels go in, GDI draws,
// and the pixels come back out. Nothing of it outlives the scope, so the
// thumbnails of a drawing hold no GDI object.
#pragma once

#include <windows.h>

#include <cstring>
#include <optional>

#include "base/bitmap.h"
#include "base/failure.h"
#include "win32/dib_info.h"
#include "win32/gdi.h"

namespace plyscan::win32 {

class ScopedDib {
 public:
  // A section of the bitmap's size and format holding a copy of its pixels.
  explicit ScopedDib(const Bitmap& bitmap) : ScopedDib(bitmap.Width(), bitmap.Height(), bitmap.BitsPerPixel()) {
    std::memcpy(bits_, bitmap.Row(0), bitmap.Stride() * static_cast<std::size_t>(bitmap.Height()));
  }
  ScopedDib(int width, int height, int bits_per_pixel)
      : width_(width), height_(height), bpp_(bits_per_pixel) {
    const BITMAPINFO info = DibInfoOf(width, height, bits_per_pixel);
    void* bits = nullptr;
    section_.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!section_ || !bits || !dc_.Get()) Raise(u"cannot make a DIB section for the bitmap");
    bits_ = static_cast<std::uint8_t*>(bits);
    selection_.emplace(dc_.Get(), section_.Get());
    if (!selection_->Ok()) Raise(u"cannot select the DIB section");
  }
  ScopedDib(const ScopedDib&) = delete;
  ScopedDib& operator=(const ScopedDib&) = delete;

  HDC Dc() const noexcept { return dc_.Get(); }
  // The section's rows, top-down; GdiFlush first when GDI has drawn into them.
  const std::uint8_t* Bits() const noexcept { return bits_; }

  // The section's pixels into `bitmap`, which must have its size and format.
  void CopyTo(Bitmap& bitmap) const {
    if (bitmap.Width() != width_ || bitmap.Height() != height_ || bitmap.BitsPerPixel() != bpp_)
      Raise(u"the bitmap does not fit the DIB section");
    GdiFlush();  // drawing batched by GDI reaches the pixels before we read them
    std::memcpy(bitmap.Row(0), bits_, bitmap.Stride() * static_cast<std::size_t>(height_));
  }

 private:
  [[noreturn]] static void Raise(const char16_t* what) {
    throw Failure(Text(what) + u" (error " + DecimalText(GetLastError()) + u")");
  }

  int width_;
  int height_;
  int bpp_;
  // Declared in the order of creation, so that the selection is undone
  // before the DC and the section go.
  GdiBitmap section_;
  MemoryDc dc_;
  std::optional<SelectIn> selection_;
  std::uint8_t* bits_ = nullptr;
};

}  // namespace plyscan::win32
