#include "win32/ui/wnd.h"

namespace plyscan::win32 {

Wnd::~Wnd() { DestroyHwnd(); }

void Wnd::DestroyHwnd() noexcept {
  if (hwnd_) DestroyWindow(hwnd_);  // WM_NCDESTROY clears hwnd_
  hwnd_ = nullptr;
}

void RegisterClassOnce(const wchar_t* class_name, WNDPROC proc, UINT class_style) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  if (GetClassInfoExW(instance, class_name, &wc)) return;
  wc.cbSize = sizeof wc;
  wc.style = class_style;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = class_name;
  RegisterClassExW(&wc);
}

void Wnd::RegisterWindowClass(const wchar_t* class_name, UINT class_style) {
  RegisterClassOnce(class_name, Proc, class_style);
}

bool Wnd::CreateHwnd(const CreateArgs& args) {
  const RECT& r = args.rect;
  return CreateWindowExW(args.ex_style, args.class_name, args.title, args.style, r.left, r.top, r.right - r.left,
                         r.bottom - r.top, args.parent, nullptr, GetModuleHandleW(nullptr), this) != nullptr;
}

LRESULT Wnd::OnMessage(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd_, msg, wp, lp); }

void Wnd::OnDpiChanged(UINT) {}

LRESULT CALLBACK Wnd::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Wnd* self = BoundObject<Wnd>(hwnd, msg, lp);
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCCREATE) {
    self->hwnd_ = hwnd;
    if (const UINT dpi = GetDpiForWindow(hwnd)) self->dpi_ = dpi;
  } else if (msg == WM_NCDESTROY) {
    self->hwnd_ = nullptr;
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  try {
    if (msg == WM_DPICHANGED) {
      self->dpi_ = HIWORD(wp);
      const RECT* suggested = reinterpret_cast<const RECT*>(lp);
      SetWindowPos(hwnd, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      self->OnDpiChanged(self->dpi_);
      return 0;
    }
    return self->OnMessage(msg, wp, lp);
  } catch (...) {
    // A failure inside a message is the handler's to report; what reaches
    // here is dropped so that it never unwinds through Windows.
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

}  // namespace plyscan::win32
