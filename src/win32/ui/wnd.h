// The base of every window the program makes: the object owns its HWND and
// receives the window's messages in OnMessage. A window of one of the
// program's own classes binds the object on WM_NCCREATE, its class registered
// once on first use; a window of a system class (BUTTON, EDIT, LISTBOX,
// STATIC, the progress bar) is subclassed with SetWindowSubclass right after
// it is made. Either way what the object leaves alone goes to the class's own
// procedure (Default), and no exception leaves the window procedure. The
// object tracks its DPI: WM_DPICHANGED applies the suggested rectangle before
// OnDpiChanged lays the window out again.
#pragma once

#include <windows.h>

namespace plyscan::win32 {

class Wnd {
 public:
  Wnd(const Wnd&) = delete;
  Wnd& operator=(const Wnd&) = delete;
  // Destroys a window still there, once its messages no longer reach the
  // object being destroyed.
  virtual ~Wnd();

  HWND Hwnd() const noexcept { return hwnd_; }
  UINT Dpi() const noexcept { return dpi_; }

 protected:
  Wnd() = default;

  struct CreateArgs {
    const wchar_t* class_name = nullptr;
    // A class of the system: the window is subclassed, not registered.
    bool system_class = false;
    UINT class_style = 0;  // of the program's own class, at its registration
    const wchar_t* title = L"";
    DWORD style = 0;
    DWORD ex_style = 0;
    RECT rect{0, 0, 0, 0};
    HWND parent = nullptr;  // the parent of a child window, the owner of a top-level one
    int id = 0;             // a child window's control ID
  };
  [[nodiscard]] bool Create(const CreateArgs& args);
  // Destroys the window now; the object gets its messages to the end.
  void DestroyHwnd() noexcept;

  // The window's messages but WM_NCDESTROY and WM_DPICHANGED (a system
  // class's window's from its subclassing on); the default passes each on to
  // Default.
  virtual LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
  // The class's own handling: DefWindowProcW, or the system class's procedure.
  LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) noexcept;

  // After the DPI changed (and WM_DPICHANGED has moved and sized the window):
  // fonts and layout.
  virtual void OnDpiChanged(UINT dpi);
  // A child window follows its top-level window's DPI, which that window
  // hands on; `notify` calls OnDpiChanged.
  void FollowDpi(UINT dpi, bool notify);

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data);
  LRESULT Dispatch(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
  static LRESULT DefaultOf(HWND hwnd, bool subclassed, UINT msg, WPARAM wp, LPARAM lp) noexcept;
  void Unbind() noexcept;

  HWND hwnd_ = nullptr;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  bool subclassed_ = false;
};

}  // namespace plyscan::win32
