// Scoped handles of the system's kinds other than GDI's (those are in gdi.h):
// a window, global and local memory, a file or other kernel handle, memory of
// the COM allocator, and the open clipboard. Each is move-only and releases
// what it holds on every way out of its scope; Release hands the handle on to
// whoever takes it over (the clipboard takes its data's memory, for one).
#pragma once

#include <windows.h>
#include <objbase.h>

#include <utility>

namespace plyscan::win32 {

// How a kind of handle is given back to the system, and the value that holds
// none (what the function that makes one answers where it fails).
namespace release {
inline bool Window(HWND h) noexcept { return DestroyWindow(h) != FALSE; }
inline bool GlobalMemory(HGLOBAL h) noexcept { return GlobalFree(h) == nullptr; }
inline bool LocalMemory(HLOCAL h) noexcept { return LocalFree(h) == nullptr; }
inline bool KernelObject(HANDLE h) noexcept { return CloseHandle(h) != FALSE; }
inline bool CoTaskMemory(void* p) noexcept {
  CoTaskMemFree(p);
  return true;
}
template <typename Handle>
Handle None() noexcept {
  return nullptr;
}
inline HANDLE NoFile() noexcept { return INVALID_HANDLE_VALUE; }  // CreateFileW's failure
}  // namespace release

template <typename Handle, bool (*Free)(Handle) noexcept, Handle (*Empty)() noexcept = release::None<Handle>>
class UniqueHandle {
 public:
  UniqueHandle() noexcept = default;
  explicit UniqueHandle(Handle h) noexcept : h_(h) {}
  UniqueHandle(UniqueHandle&& other) noexcept : h_(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { Reset(); }

  Handle Get() const noexcept { return h_; }
  explicit operator bool() const noexcept { return h_ != Empty(); }

  // Gives the handle up without releasing it.
  [[nodiscard]] Handle Release() noexcept { return std::exchange(h_, Empty()); }
  void Reset(Handle h = Empty()) noexcept {
    const Handle old = std::exchange(h_, h);
    if (old != Empty()) static_cast<void>(Free(old));
  }
  // Releases now and says whether the system did (a file's last write fails here).
  [[nodiscard]] bool Close() noexcept {
    const Handle old = Release();
    return old == Empty() || Free(old);
  }

 private:
  Handle h_ = Empty();
};

using UniqueWindow = UniqueHandle<HWND, release::Window>;
using UniqueGlobal = UniqueHandle<HGLOBAL, release::GlobalMemory>;
using UniqueLocal = UniqueHandle<HLOCAL, release::LocalMemory>;
using UniqueFile = UniqueHandle<HANDLE, release::KernelObject, release::NoFile>;
using UniqueKernelHandle = UniqueHandle<HANDLE, release::KernelObject>;  // processes, threads, events
using UniqueCoTaskMemory = UniqueHandle<void*, release::CoTaskMemory>;

// GlobalLock ... GlobalUnlock of moveable memory.
class GlobalLocked {
 public:
  explicit GlobalLocked(HGLOBAL memory) noexcept : memory_(memory), data_(memory ? GlobalLock(memory) : nullptr) {}
  GlobalLocked(GlobalLocked&& other) noexcept
      : memory_(std::exchange(other.memory_, nullptr)), data_(std::exchange(other.data_, nullptr)) {}
  GlobalLocked& operator=(GlobalLocked&&) = delete;
  GlobalLocked(const GlobalLocked&) = delete;
  GlobalLocked& operator=(const GlobalLocked&) = delete;
  ~GlobalLocked() {
    if (data_) GlobalUnlock(memory_);
  }
  void* Data() const noexcept { return data_; }

 private:
  HGLOBAL memory_;
  void* data_;
};

// OpenClipboard ... CloseClipboard; `owner` is the window the clipboard is
// open for, or null for this task.
class OpenedClipboard {
 public:
  explicit OpenedClipboard(HWND owner) noexcept : open_(OpenClipboard(owner) != FALSE) {}
  OpenedClipboard(OpenedClipboard&& other) noexcept : open_(std::exchange(other.open_, false)) {}
  OpenedClipboard& operator=(OpenedClipboard&&) = delete;
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
  ~OpenedClipboard() {
    if (open_) CloseClipboard();
  }
  bool Open() const noexcept { return open_; }

 private:
  bool open_;
};

}  // namespace plyscan::win32
