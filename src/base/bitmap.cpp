#include "base/bitmap.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>

#include "base/failure.h"

namespace plyscan {

namespace {

bool IsSupportedFormat(int bits_per_pixel) { return bits_per_pixel == 24 || bits_per_pixel == 32; }

// The largest pixel block we hand to a surface: GDI cannot make a DIB section
// beyond 2 GB, and a size that overflows is a caller's fault, not a picture.
constexpr std::size_t kMaxBytes = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());

// Fills the pixels of one row white and its filler bytes (and the unused
// fourth byte of 32-bit pixels) zero, as GDI paints a white rectangle.
void FillRowWhite(std::uint8_t* row, int width, int bits_per_pixel, std::size_t stride) {
  std::memset(row, 0, stride);
  const int bytes_per_pixel = bits_per_pixel / 8;
  for (int x = 0; x < width; ++x) std::memset(row + static_cast<std::size_t>(x) * bytes_per_pixel, 0xFF, 3);
}

}  // namespace

Bitmap::Bitmap(SurfaceFactory& surfaces) : factory_(&surfaces) {}

Bitmap::Bitmap(Bitmap&& other) noexcept
    : factory_(other.factory_), surface_(std::move(other.surface_)), width_(other.width_),
      height_(other.height_), bpp_(other.bpp_) {
  other.width_ = 0;
  other.height_ = 0;
}

Bitmap& Bitmap::operator=(Bitmap&& other) noexcept {
  if (this != &other) {
    factory_ = other.factory_;
    surface_ = std::move(other.surface_);
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
    bpp_ = other.bpp_;
  }
  return *this;
}

Bitmap::~Bitmap() = default;

std::size_t Bitmap::StrideFor(int width, int bits_per_pixel) noexcept {
  if (width <= 0 || bits_per_pixel <= 0) return 0;
  return (static_cast<std::size_t>(width) * static_cast<std::size_t>(bits_per_pixel) + 31) / 32 * 4;
}

void Bitmap::SetPixelFormat(int bits_per_pixel) {
  if (!IsSupportedFormat(bits_per_pixel)) throw Failure(u"unsupported bitmap pixel format");
  if (bits_per_pixel == bpp_) return;
  if (!surface_) {
    bpp_ = bits_per_pixel;
    return;
  }
  // Convert into a fresh surface so that a failed allocation leaves the
  // bitmap as it was.
  auto converted = factory_->Create(width_, height_, bits_per_pixel);
  if (!converted) throw Failure(u"no drawing surface for the bitmap");
  const std::size_t new_stride = StrideFor(width_, bits_per_pixel);
  const int from_bytes = bpp_ / 8;
  const int to_bytes = bits_per_pixel / 8;
  const std::size_t old_stride = Stride();
  const std::uint8_t* old_bits = surface_->Bits();
  std::uint8_t* new_bits = converted->Bits();
  for (int y = 0; y < height_; ++y) {
    const std::uint8_t* from = old_bits + static_cast<std::size_t>(y) * old_stride;
    std::uint8_t* to = new_bits + static_cast<std::size_t>(y) * new_stride;
    std::memset(to, 0, new_stride);
    for (int x = 0; x < width_; ++x)
      std::memcpy(to + static_cast<std::size_t>(x) * to_bytes, from + static_cast<std::size_t>(x) * from_bytes, 3);
  }
  surface_ = std::move(converted);
  bpp_ = bits_per_pixel;
}

void Bitmap::SetWidth(int width) { SetSize(width, height_); }

void Bitmap::SetHeight(int height) { SetSize(width_, height); }

void Bitmap::SetSize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == width_ && height == height_) return;  // an unchanged size keeps the picture
  if (width > 0 && height > 0 && StrideFor(width, bpp_) > kMaxBytes / static_cast<std::size_t>(height))
    throw Failure(u"bitmap size too large");
  // A failed allocation leaves the bitmap as it was.
  auto surface = width > 0 && height > 0 ? NewWhiteSurface(width, height) : nullptr;
  surface_ = std::move(surface);
  width_ = width;
  height_ = height;
}

std::unique_ptr<PixelSurface> Bitmap::NewWhiteSurface(int width, int height) const {
  auto surface = factory_->Create(width, height, bpp_);
  if (!surface) throw Failure(u"no drawing surface for the bitmap");
  const std::size_t stride = StrideFor(width, bpp_);
  std::uint8_t* bits = surface->Bits();
  for (int y = 0; y < height; ++y) FillRowWhite(bits + static_cast<std::size_t>(y) * stride, width, bpp_, stride);
  return surface;
}

std::uint8_t* Bitmap::Row(int y) noexcept {
  if (!surface_ || y < 0 || y >= height_) return nullptr;
  return surface_->Bits() + static_cast<std::size_t>(y) * Stride();
}

const std::uint8_t* Bitmap::Row(int y) const noexcept {
  if (!surface_ || y < 0 || y >= height_) return nullptr;
  return surface_->Bits() + static_cast<std::size_t>(y) * Stride();
}

Colour Bitmap::Pixel(int x, int y) const noexcept {
  const std::uint8_t* row = Row(y);
  if (!row || x < 0 || x >= width_) return -1;  // as GDI answers outside the picture (CLR_INVALID)
  const std::uint8_t* p = row + static_cast<std::size_t>(x) * (bpp_ / 8);
  return static_cast<Colour>(p[2] | (p[1] << 8) | (p[0] << 16));
}

void Bitmap::SetPixel(int x, int y, Colour colour) noexcept {
  std::uint8_t* row = Row(y);
  if (!row || x < 0 || x >= width_) return;
  std::uint8_t* p = row + static_cast<std::size_t>(x) * (bpp_ / 8);
  p[0] = static_cast<std::uint8_t>(colour >> 16);
  p[1] = static_cast<std::uint8_t>(colour >> 8);
  p[2] = static_cast<std::uint8_t>(colour);
}

Bitmap Bitmap::Copy() const {
  Bitmap copy(*factory_);
  copy.bpp_ = bpp_;
  if (!surface_) return copy;
  auto surface = factory_->Create(width_, height_, bpp_);
  if (!surface) throw Failure(u"no drawing surface for the bitmap");
  std::memcpy(surface->Bits(), Row(0), Stride() * static_cast<std::size_t>(height_));
  copy.surface_ = std::move(surface);
  copy.width_ = width_;
  copy.height_ = height_;
  return copy;
}

}  // namespace plyscan
