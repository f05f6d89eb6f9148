#include "simcad/drawing/render.h"

namespace simcad {
namespace {

void PutLe(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace

std::vector<std::uint8_t> BmpBytes(const Image& image) {
  constexpr std::size_t kHeaderSize = 14 + 40;  // BITMAPFILEHEADER + BITMAPINFOHEADER
  const std::size_t row = (static_cast<std::size_t>(image.width) * 3 + 3) / 4 * 4;
  const std::size_t pixels = row * image.height;
  std::vector<std::uint8_t> out(kHeaderSize + pixels, 0);
  out[0] = 'B';
  out[1] = 'M';
  PutLe(out, 2, static_cast<std::uint32_t>(out.size()), 4);
  PutLe(out, 10, kHeaderSize, 4);
  PutLe(out, 14, 40, 4);
  PutLe(out, 18, static_cast<std::uint32_t>(image.width), 4);
  PutLe(out, 22, static_cast<std::uint32_t>(image.height), 4);  // positive: bottom-up rows
  PutLe(out, 26, 1, 2);   // planes
  PutLe(out, 28, 24, 2);  // bits per pixel
  PutLe(out, 34, static_cast<std::uint32_t>(pixels), 4);
  PutLe(out, 38, 2835, 4);  // 72 dots per inch
  PutLe(out, 42, 2835, 4);
  for (int y = 0; y < image.height; ++y) {
    std::uint8_t* line = out.data() + kHeaderSize + row * (image.height - 1 - y);
    for (int x = 0; x < image.width; ++x) {
      const Rgb c = image.At(x, y);
      line[x * 3] = c.b;
      line[x * 3 + 1] = c.g;
      line[x * 3 + 2] = c.r;
    }
  }
  return out;
}

}  // namespace simcad
