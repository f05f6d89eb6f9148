// The BITMAPINFO that describes a portable Bitmap's pixels to GDI: a top-down
// DIB of its size and pixel format, so that GDI reads and writes the same rows.
#pragma once

#include <windows.h>

#include "base/bitmap.h"

namespace plyscan::win32 {

inline BITMAPINFO DibInfoOf(int width, int height, int bits_per_pixel) noexcept {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // negative: rows from the top
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = static_cast<WORD>(bits_per_pixel);
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

inline BITMAPINFO DibInfoOf(const Bitmap& bitmap) noexcept {
  return DibInfoOf(bitmap.Width(), bitmap.Height(), bitmap.BitsPerPixel());
}

}  // namespace plyscan::win32
