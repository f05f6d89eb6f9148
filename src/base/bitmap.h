// A device-independent bitmap: rows from the top, 24 or 32 bits per pixel,
// each row padded to a multiple of four bytes, white when sized. The pixels
// live in a surface from a SurfaceFactory: plain memory, laid out as a
// top-down DIB, so that GDI can be handed them for the length of a call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace plyscan {

class PixelSurface {
 public:
  virtual ~PixelSurface() = default;
  virtual std::uint8_t* Bits() = 0;
};

class SurfaceFactory {
 public:
  virtual ~SurfaceFactory() = default;
  // A surface of width x height pixels (both > 0) with rows of Bitmap::StrideFor bytes.
  virtual std::unique_ptr<PixelSurface> Create(int width, int height, int bits_per_pixel) = 0;
};


// Colour value: red in bits 0-7, green 8-15, blue 16-23, top byte zero.
using Colour = std::int32_t;

class Bitmap {
 public:
  explicit Bitmap(SurfaceFactory& surfaces);
  Bitmap(Bitmap&&) noexcept;
  Bitmap& operator=(Bitmap&&) noexcept;
  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;
  ~Bitmap();

  // 24 or 32. Changing it converts the existing picture.
  void SetPixelFormat(int bits_per_pixel);
  // Sizing makes every pixel white (setting the same size again keeps the
  // picture). A bitmap with a zero side has no surface; negative sides count as 0.
  void SetWidth(int width);
  void SetHeight(int height);
  void SetSize(int width, int height);

  int Width() const noexcept { return width_; }
  int Height() const noexcept { return height_; }
  int BitsPerPixel() const noexcept { return bpp_; }
  std::size_t Stride() const noexcept { return StrideFor(width_, bpp_); }
  static std::size_t StrideFor(int width, int bits_per_pixel) noexcept;

  // Row y (0 = top); null without a surface.
  std::uint8_t* Row(int y) noexcept;
  const std::uint8_t* Row(int y) const noexcept;

  Colour Pixel(int x, int y) const noexcept;
  void SetPixel(int x, int y, Colour colour) noexcept;

  // A new bitmap from the same factory holding a copy of the pixels.
  Bitmap Copy() const;

  PixelSurface* Surface() noexcept { return surface_.get(); }
  SurfaceFactory& Factory() const noexcept { return *factory_; }

 private:
  std::unique_ptr<PixelSurface> NewWhiteSurface(int width, int height) const;

  SurfaceFactory* factory_;
  std::unique_ptr<PixelSurface> surface_;
  int width_ = 0;
  int height_ = 0;
  int bpp_ = 32;
};

}  // namespace plyscan
