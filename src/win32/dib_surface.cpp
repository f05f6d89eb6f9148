// Windows drawing surfaces: each bitmap's pixels are a top-down DIB section
// selected into a memory device context of its own, so that GDI (BitBlt,
// StretchBlt) and the portable pixel code work on the same bytes.
#include <windows.h>

#include <memory>
#include <optional>
#include <utility>

#include "base/bitmap.h"
#include "base/failure.h"
#include "base/platform.h"

namespace plyscan {

namespace {

class UniqueBitmapHandle {
 public:
  explicit UniqueBitmapHandle(HBITMAP handle = nullptr) noexcept : handle_(handle) {}
  UniqueBitmapHandle(UniqueBitmapHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  UniqueBitmapHandle& operator=(UniqueBitmapHandle&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  ~UniqueBitmapHandle() { Reset(); }
  HBITMAP Get() const noexcept { return handle_; }

 private:
  void Reset() noexcept {
    if (handle_) DeleteObject(handle_);
    handle_ = nullptr;
  }
  HBITMAP handle_;
};

class UniqueMemoryDc {
 public:
  explicit UniqueMemoryDc(HDC handle = nullptr) noexcept : handle_(handle) {}
  UniqueMemoryDc(UniqueMemoryDc&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  UniqueMemoryDc& operator=(UniqueMemoryDc&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  ~UniqueMemoryDc() { Reset(); }
  HDC Get() const noexcept { return handle_; }

 private:
  void Reset() noexcept {
    if (handle_) DeleteDC(handle_);
    handle_ = nullptr;
  }
  HDC handle_;
};

// Selects an object into a device context and puts the previous one back.
class ScopedSelection {
 public:
  ScopedSelection(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(SelectObject(dc, object)) {}
  ScopedSelection(const ScopedSelection&) = delete;
  ScopedSelection& operator=(const ScopedSelection&) = delete;
  ~ScopedSelection() {
    if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }
  bool Succeeded() const noexcept { return previous_ && previous_ != HGDI_ERROR; }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

[[noreturn]] void RaiseGdiFailure(const char16_t* what) {
  const DWORD error = GetLastError();
  throw Failure(Text(what) + u" (error " + DecimalText(error) + u")");
}

class DibSurface final : public PixelSurface {
 public:
  DibSurface(int width, int height, int bits_per_pixel) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // negative: rows from the top
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bits_per_pixel);
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = UniqueBitmapHandle(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap_.Get() || !bits) RaiseGdiFailure(u"CreateDIBSection failed");
    bits_ = static_cast<std::uint8_t*>(bits);
    dc_ = UniqueMemoryDc(CreateCompatibleDC(nullptr));
    if (!dc_.Get()) RaiseGdiFailure(u"CreateCompatibleDC failed");
    selection_.emplace(dc_.Get(), bitmap_.Get());
    if (!selection_->Succeeded()) RaiseGdiFailure(u"SelectObject failed");
  }

  std::uint8_t* Bits() override {
    GdiFlush();  // drawing batched by GDI reaches the pixels before we read them
    return bits_;
  }
  void* NativeContext() override { return dc_.Get(); }

 private:
  // Declared in the order of creation: destroyed in reverse, the selection
  // is undone before the context and the bitmap go.
  UniqueBitmapHandle bitmap_;
  UniqueMemoryDc dc_;
  std::optional<ScopedSelection> selection_;
  std::uint8_t* bits_ = nullptr;
};

class DibSurfaces final : public SurfaceFactory {
 public:
  std::unique_ptr<PixelSurface> Create(int width, int height, int bits_per_pixel) override {
    if (width <= 0 || height <= 0) return nullptr;
    return std::make_unique<DibSurface>(width, height, bits_per_pixel);
  }
};

}  // namespace

SurfaceFactory& SystemSurfaces() {
  static DibSurfaces surfaces;
  return surfaces;
}

}  // namespace plyscan
