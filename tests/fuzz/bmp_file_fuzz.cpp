// The export file is written by another program: any bytes must either give
// a bitmap that the file's own bytes can hold, or the reader's Failure.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "base/failure.h"
#include "base/platform.h"
#include "capture/bmp_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  try {
    const plyscan::Bitmap bitmap = plyscan::ReadBmpFile(bytes, plyscan::SystemSurfaces());
    if (bitmap.Width() <= 0 || bitmap.Height() <= 0 || bitmap.BitsPerPixel() != 32) std::abort();
    // Every row of pixels came from the file: at least one bit of it per pixel.
    if (static_cast<std::uint64_t>(bitmap.Width()) * static_cast<std::uint64_t>(bitmap.Height()) > size * 8) std::abort();
    for (int y = 0; y < bitmap.Height(); ++y)
      for (int x = 0; x < bitmap.Width(); ++x)
        if (bitmap.Pixel(x, y) < 0 || bitmap.Pixel(x, y) > 0xFFFFFF) std::abort();
  } catch (const plyscan::Failure&) {
  }
  return 0;
}
