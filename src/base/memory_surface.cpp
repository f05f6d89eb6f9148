// The pixels of every bitmap in plain heap memory, in both builds: a drawing
// with thousands of layers keeps thousands of thumbnails, and a GDI object
// for each would reach the process's quota of GDI handles. The Windows build
// makes a DIB section only for the length of a GDI operation.
#include <memory>
#include <vector>

#include "base/bitmap.h"
#include "base/platform.h"

namespace plyscan {

namespace {

class MemorySurface final : public PixelSurface {
 public:
  explicit MemorySurface(std::size_t bytes) : pixels_(bytes) {}
  std::uint8_t* Bits() override { return pixels_.data(); }

 private:
  std::vector<std::uint8_t> pixels_;
};

class MemorySurfaces final : public SurfaceFactory {
 public:
  std::unique_ptr<PixelSurface> Create(int width, int height, int bits_per_pixel) override {
    if (width <= 0 || height <= 0) return nullptr;
    return std::make_unique<MemorySurface>(Bitmap::StrideFor(width, bits_per_pixel) *
                                           static_cast<std::size_t>(height));
  }
};

}  // namespace

SurfaceFactory& SystemSurfaces() {
  static MemorySurfaces surfaces;
  return surfaces;
}

}  // namespace plyscan
