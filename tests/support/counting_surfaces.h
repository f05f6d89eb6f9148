// A surface factory over the build's own surfaces that counts what it made
// and what is still alive, to see who creates and releases pixels.
#pragma once

#include <memory>

#include "base/bitmap.h"
#include "base/platform.h"

namespace plyscan::testing {

class CountingSurfaces final : public SurfaceFactory {
 public:
  std::unique_ptr<PixelSurface> Create(int width, int height, int bits_per_pixel) override {
    ++created_;
    return std::make_unique<Counted>(SystemSurfaces().Create(width, height, bits_per_pixel), live_);
  }
  int Created() const { return created_; }
  int Live() const { return live_; }

 private:
  class Counted final : public PixelSurface {
   public:
    Counted(std::unique_ptr<PixelSurface> inner, int& live) : inner_(std::move(inner)), live_(live) { ++live_; }
    ~Counted() override { --live_; }
    std::uint8_t* Bits() override { return inner_->Bits(); }

   private:
    std::unique_ptr<PixelSurface> inner_;
    int& live_;
  };

  int created_ = 0;
  int live_ = 0;
};

}  // namespace plyscan::testing
