// One window that owns its HWND: the window procedure finds the object
// through the pointer bound on WM_NCCREATE, the object tracks the window's
// DPI, and WM_DPICHANGED applies the suggested rectangle before the object
// lays itself out again. No exception leaves the window procedure.
#pragma once

#include <windows.h>

namespace plyscan::win32 {

// Registers a window class of this module once; a class already registered
// is left as it is.
void RegisterClassOnce(const wchar_t* class_name, WNDPROC proc, UINT class_style);

// The object a window procedure serves: bound from the creation parameter on
// WM_NCCREATE and kept in GWLP_USERDATA; unbound on WM_NCDESTROY, when the
// caller forgets its handle. Null for messages before WM_NCCREATE.
template <typename T>
T* BoundObject(HWND hwnd, UINT msg, LPARAM lp) noexcept {
  if (msg == WM_NCCREATE) {
    T* self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    return self;
  }
  T* self = reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (msg == WM_NCDESTROY) SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
  return self;
}

class Wnd {
 public:
  Wnd(const Wnd&) = delete;
  Wnd& operator=(const Wnd&) = delete;
  virtual ~Wnd();

  HWND Hwnd() const noexcept { return hwnd_; }
  UINT Dpi() const noexcept { return dpi_; }

 protected:
  Wnd() = default;

  struct CreateArgs {
    const wchar_t* class_name = nullptr;
    const wchar_t* title = L"";
    DWORD style = 0;
    DWORD ex_style = 0;
    RECT rect{0, 0, 0, 0};
    HWND parent = nullptr;
  };
  // Registers a class whose procedure is Wnd's (once per name).
  static void RegisterWindowClass(const wchar_t* class_name, UINT class_style);
  [[nodiscard]] bool CreateHwnd(const CreateArgs& args);
  void DestroyHwnd() noexcept;

  // Everything but WM_NCCREATE and WM_NCDESTROY; the default passes to DefWindowProcW.
  virtual LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
  // After WM_DPICHANGED has moved and sized the window: fonts and layout.
  virtual void OnDpiChanged(UINT dpi);

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  HWND hwnd_ = nullptr;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
};

}  // namespace plyscan::win32
