#include "capture/bmp_file.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <limits>

#include "base/failure.h"

namespace plyscan {

namespace {

constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kBitFields = 3;
constexpr std::uint32_t kAlphaBitFields = 6;
// Larger images than this are no export of a view.
constexpr std::int64_t kMaxSide = 1 << 16;

[[noreturn]] void NotABitmap(const char16_t* why) { throw Failure(Text(u"not a bitmap file: ") + why); }

class Bytes {
 public:
  explicit Bytes(std::string_view data) : data_(data) {}
  std::size_t Size() const noexcept { return data_.size(); }
  std::uint32_t U8(std::size_t at) const {
    if (at >= data_.size()) NotABitmap(u"the file is cut short");
    return static_cast<unsigned char>(data_[at]);
  }
  std::uint32_t U16(std::size_t at) const { return U8(at) | (U8(at + 1) << 8); }
  std::uint32_t U32(std::size_t at) const { return U16(at) | (U16(at + 2) << 16); }
  std::int32_t S32(std::size_t at) const { return static_cast<std::int32_t>(U32(at)); }

 private:
  std::string_view data_;
};

// One channel of a bit-field pixel as 8 bits.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  std::uint32_t max = 0;

  explicit Channel(std::uint32_t m = 0) : mask(m) {
    if (!mask) return;
    while (!((mask >> shift) & 1)) ++shift;
    max = mask >> shift;
  }
  std::uint32_t Of(std::uint32_t pixel) const {
    if (!mask) return 0;
    const std::uint64_t v = (pixel & mask) >> shift;
    return static_cast<std::uint32_t>((v * 255 + max / 2) / max);
  }
};

struct Layout {
  std::int64_t width = 0;
  std::int64_t height = 0;  // negative: top-down
  std::uint32_t bits = 0;
  std::uint32_t compression = kRgb;
  std::uint32_t colours_used = 0;
  std::size_t header_end = 0;  // where the masks or the palette begin
  std::size_t palette_entry = 4;
};

Layout ReadLayout(const Bytes& b) {
  if (b.Size() < 26 || b.U16(0) != 0x4D42) NotABitmap(u"no BM signature");
  const std::uint32_t header = b.U32(14);
  Layout l;
  if (header == 12) {
    l.width = b.U16(18);
    l.height = b.U16(20);  // always bottom-up
    l.bits = b.U16(24);
    l.palette_entry = 3;
  } else if (header >= 40 && header <= 124) {
    if (b.Size() < 14 + std::size_t{40}) NotABitmap(u"the header is cut short");
    l.width = b.S32(18);
    l.height = b.S32(22);
    l.bits = b.U16(28);
    l.compression = b.U32(30);
    l.colours_used = b.U32(46);
  } else {
    NotABitmap(u"an unknown header");
  }
  l.header_end = 14 + header;
  if (l.width <= 0 || l.height == 0 || l.width > kMaxSide || std::llabs(l.height) > kMaxSide)
    NotABitmap(u"no size or too large");
  return l;
}

}  // namespace

Bitmap ReadBmpFile(std::string_view data, SurfaceFactory& surfaces) {
  const Bytes b(data);
  const Layout l = ReadLayout(b);
  const bool fields = l.compression == kBitFields || l.compression == kAlphaBitFields;
  if (l.compression != kRgb && !(fields && (l.bits == 16 || l.bits == 32))) NotABitmap(u"compressed");
  if (l.bits != 1 && l.bits != 4 && l.bits != 8 && l.bits != 16 && l.bits != 24 && l.bits != 32)
    NotABitmap(u"an unknown pixel format");

  // Bit fields: in the V4/V5 header, or three masks after the 40-byte one.
  std::array<Channel, 3> rgb{Channel(0x7C00), Channel(0x03E0), Channel(0x001F)};
  if (l.bits == 32 && !fields) rgb = {Channel(0xFF0000), Channel(0xFF00), Channel(0xFF)};
  std::size_t palette_at = l.header_end;
  if (fields) {
    const std::size_t masks = l.header_end == 14 + 40 ? l.header_end : 14 + 40;
    rgb = {Channel(b.U32(masks)), Channel(b.U32(masks + 4)), Channel(b.U32(masks + 8))};
    if (l.header_end == 14 + 40) palette_at += 12;
  }

  const std::size_t offset = b.U32(10);
  std::array<std::uint32_t, 256> palette{};
  if (l.bits <= 8) {
    // The entries the header names (all the format has when it names none),
    // as far as the file holds them before its pixels.
    const std::size_t capacity = std::size_t{1} << l.bits;
    std::size_t count = l.colours_used && l.colours_used < capacity ? l.colours_used : capacity;
    if (offset > palette_at) count = std::min(count, (offset - palette_at) / l.palette_entry);
    for (std::size_t i = 0; i < count; ++i) {
      const std::size_t at = palette_at + i * l.palette_entry;
      palette[i] = b.U8(at + 2) | (b.U8(at + 1) << 8) | (b.U8(at) << 16);
    }
  }

  const std::size_t width = static_cast<std::size_t>(l.width);
  const std::size_t height = static_cast<std::size_t>(std::llabs(l.height));
  const std::size_t stride = (width * l.bits + 31) / 32 * 4;
  if (offset > b.Size() || (b.Size() - offset) / stride < height) NotABitmap(u"the pixels run past the end");

  Bitmap bitmap(surfaces);
  bitmap.SetPixelFormat(32);
  bitmap.SetSize(static_cast<int>(width), static_cast<int>(height));
  for (std::size_t row = 0; row < height; ++row) {
    const std::size_t y = l.height > 0 ? height - 1 - row : row;
    const std::size_t line = offset + row * stride;
    for (std::size_t x = 0; x < width; ++x) {
      Colour colour = 0;
      switch (l.bits) {
        case 1:
        case 4:
        case 8: {
          const std::size_t bit = x * l.bits;
          const std::uint32_t byte = b.U8(line + bit / 8);
          const std::uint32_t index = (byte >> (8 - l.bits - bit % 8)) & ((1u << l.bits) - 1);
          colour = static_cast<Colour>(palette[index]);
          break;
        }
        case 24:
          colour = static_cast<Colour>(b.U8(line + 3 * x + 2) | (b.U8(line + 3 * x + 1) << 8) |
                                       (b.U8(line + 3 * x) << 16));
          break;
        default: {
          const std::uint32_t pixel = l.bits == 16 ? b.U16(line + 2 * x) : b.U32(line + 4 * x);
          colour = static_cast<Colour>(rgb[0].Of(pixel) | (rgb[1].Of(pixel) << 8) | (rgb[2].Of(pixel) << 16));
          break;
        }
      }
      bitmap.SetPixel(static_cast<int>(x), static_cast<int>(y), colour);
    }
  }
  return bitmap;
}

}  // namespace plyscan
