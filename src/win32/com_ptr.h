// A counted COM reference that owns exactly one AddRef: move-only, so that
// every copy of a reference is an explicit AddRef (`Copy`) and every way out
// of a scope releases what it holds.
#pragma once

#include <unknwn.h>

#include <utility>

namespace plyscan::win32 {

template <typename T>
class ComPtr {
 public:
  ComPtr() noexcept = default;
  ComPtr(std::nullptr_t) noexcept {}
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) Reset(other.Detach());
    return *this;
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() { Reset(); }

  // Takes over a reference the caller already owns (no AddRef).
  [[nodiscard]] static ComPtr Adopt(T* p) noexcept {
    ComPtr r;
    r.p_ = p;
    return r;
  }
  // Takes a new reference of its own (AddRef).
  [[nodiscard]] static ComPtr Copy(T* p) noexcept {
    if (p) p->AddRef();
    return Adopt(p);
  }
  [[nodiscard]] ComPtr Copy() const noexcept { return Copy(p_); }

  // Queries the object for interface U; empty on failure, with the HRESULT in *hr.
  template <typename U>
  [[nodiscard]] ComPtr<U> As(HRESULT* hr = nullptr) const noexcept {
    U* out = nullptr;
    const HRESULT result = p_ ? p_->QueryInterface(__uuidof(U), reinterpret_cast<void**>(&out)) : E_POINTER;
    if (hr) *hr = result;
    return ComPtr<U>::Adopt(SUCCEEDED(result) ? out : nullptr);
  }

  T* Get() const noexcept { return p_; }
  T* operator->() const noexcept { return p_; }
  explicit operator bool() const noexcept { return p_ != nullptr; }

  // Releases the current reference and gives the out-parameter slot to fill.
  [[nodiscard]] T** Put() noexcept {
    Reset();
    return &p_;
  }
  [[nodiscard]] void** PutVoid() noexcept { return reinterpret_cast<void**>(Put()); }

  [[nodiscard]] T* Detach() noexcept { return std::exchange(p_, nullptr); }
  void Reset(T* adopt = nullptr) noexcept {
    if (T* old = std::exchange(p_, adopt)) old->Release();
  }

 private:
  T* p_ = nullptr;
};

}  // namespace plyscan::win32
