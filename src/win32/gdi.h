// Scoped GDI handles: every font, brush, pen, bitmap and device context the
// program makes is released on every way out of the scope that holds it.
#pragma once

#include <windows.h>

#include <atomic>
#include <utility>

namespace plyscan::win32 {

// The GDI objects and memory device contexts the scoped types below hold now,
// process-wide: what the program itself keeps, where the system cannot say
// (GetGuiResources answers 0 under Wine).
inline std::atomic<long> live_gdi_objects{0};
inline long LiveGdiObjects() noexcept { return live_gdi_objects.load(); }

// An owned GDI object (font, brush, pen, bitmap): DeleteObject at the end.
template <typename Handle>
class GdiObject {
 public:
  GdiObject() noexcept = default;
  explicit GdiObject(Handle h) noexcept : h_(h) {
    if (h_) ++live_gdi_objects;
  }
  GdiObject(GdiObject&& other) noexcept : h_(std::exchange(other.h_, nullptr)) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) {
      Reset();
      h_ = std::exchange(other.h_, nullptr);
    }
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  ~GdiObject() { Reset(); }

  Handle Get() const noexcept { return h_; }
  explicit operator bool() const noexcept { return h_ != nullptr; }
  void Reset(Handle h = nullptr) noexcept {
    if (h_ && h_ != h) {
      DeleteObject(h_);
      --live_gdi_objects;
    }
    if (h && h != h_) ++live_gdi_objects;
    h_ = h;
  }

 private:
  Handle h_ = nullptr;
};

using Font = GdiObject<HFONT>;
using Brush = GdiObject<HBRUSH>;
using Pen = GdiObject<HPEN>;
using GdiBitmap = GdiObject<HBITMAP>;

// Selects an object into a DC and puts the previous one back.
class SelectIn {
 public:
  SelectIn(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(dc && object ? SelectObject(dc, object) : nullptr) {}
  SelectIn(const SelectIn&) = delete;
  SelectIn& operator=(const SelectIn&) = delete;
  ~SelectIn() {
    if (Ok()) SelectObject(dc_, old_);
  }
  bool Ok() const noexcept { return old_ && old_ != HGDI_ERROR; }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// CreateCompatibleDC ... DeleteDC.
class MemoryDc {
 public:
  explicit MemoryDc(HDC like = nullptr) noexcept : dc_(CreateCompatibleDC(like)) {
    if (dc_) ++live_gdi_objects;
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  ~MemoryDc() {
    if (dc_) {
      DeleteDC(dc_);
      --live_gdi_objects;
    }
  }
  HDC Get() const noexcept { return dc_; }

 private:
  HDC dc_;
};

// BeginPaint ... EndPaint.
class PaintDc {
 public:
  explicit PaintDc(HWND hwnd) noexcept : hwnd_(hwnd), dc_(BeginPaint(hwnd, &ps_)) {}
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  ~PaintDc() { EndPaint(hwnd_, &ps_); }
  HDC Get() const noexcept { return dc_; }
  const RECT& Update() const noexcept { return ps_.rcPaint; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

// GetDC (the client area) ... ReleaseDC.
class ClientDc {
 public:
  explicit ClientDc(HWND hwnd) noexcept : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ClientDc(const ClientDc&) = delete;
  ClientDc& operator=(const ClientDc&) = delete;
  ~ClientDc() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  HDC Get() const noexcept { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// GetWindowDC (the whole window, frame included) ... ReleaseDC.
class WindowDc {
 public:
  explicit WindowDc(HWND hwnd) noexcept : hwnd_(hwnd), dc_(GetWindowDC(hwnd)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  HDC Get() const noexcept { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// GetDC of the whole screen ... ReleaseDC.
class ScreenDc {
 public:
  ScreenDc() noexcept : dc_(GetDC(nullptr)) {}
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  ~ScreenDc() {
    if (dc_) ReleaseDC(nullptr, dc_);
  }
  HDC Get() const noexcept { return dc_; }

 private:
  HDC dc_;
};

}  // namespace plyscan::win32
