#include "capture/monochrome.h"

#include <cstdint>

namespace plyscan {

void ApplyMonochrome(Bitmap& bitmap, Colour background, Colour replacement) {
  bitmap.SetPixelFormat(24);
  const auto red = static_cast<std::uint8_t>(replacement & 0xFF);
  const auto green = static_cast<std::uint8_t>((replacement >> 8) & 0xFF);
  const auto blue = static_cast<std::uint8_t>((replacement >> 16) & 0xFF);
  for (int y = 0; y < bitmap.Height(); ++y) {
    std::uint8_t* row = bitmap.Row(y);
    for (int x = 0; x < bitmap.Width(); ++x) {
      std::uint8_t* pixel = row + 3 * static_cast<std::size_t>(x);
      const Colour v = pixel[2] | pixel[1] << 8 | pixel[0] << 16;  // blue, green, red in memory
      if (v == background || v == 0) continue;
      pixel[0] = blue;
      pixel[1] = green;
      pixel[2] = red;
    }
  }
}

}  // namespace plyscan
