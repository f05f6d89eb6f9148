#include "win32/ui/wnd.h"

#include <commctrl.h>

#include <utility>

namespace plyscan::win32 {

namespace {

constexpr UINT_PTR kSubclassId = 1;

// A class already registered (by an earlier window of it) is left as it is.
void RegisterClassOnce(HINSTANCE instance, const wchar_t* class_name, WNDPROC proc, UINT class_style) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExW(instance, class_name, &wc)) return;
  wc.cbSize = sizeof wc;
  wc.style = class_style;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = class_name;
  RegisterClassExW(&wc);
}

}  // namespace

Wnd::~Wnd() {
  if (!hwnd_) return;
  Unbind();  // what the derived classes held is gone already
  DestroyWindow(std::exchange(hwnd_, nullptr));
}

bool Wnd::Create(const CreateArgs& args) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  const RECT& r = args.rect;
  const auto id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.id));
  if (!args.system_class) {
    RegisterClassOnce(instance, args.class_name, Proc, args.class_style);
    return CreateWindowExW(args.ex_style, args.class_name, args.title, args.style, r.left, r.top, r.right - r.left,
                           r.bottom - r.top, args.parent, id, instance, this) != nullptr;
  }
  const HWND hwnd = CreateWindowExW(args.ex_style, args.class_name, args.title, args.style, r.left, r.top,
                                    r.right - r.left, r.bottom - r.top, args.parent, id, instance, nullptr);
  if (!hwnd) return false;
  hwnd_ = hwnd;
  subclassed_ = true;
  if (const UINT dpi = GetDpiForWindow(hwnd)) dpi_ = dpi;
  SetWindowSubclass(hwnd, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  return true;
}

void Wnd::DestroyHwnd() noexcept {
  if (hwnd_) DestroyWindow(hwnd_);  // WM_NCDESTROY clears hwnd_
  hwnd_ = nullptr;
}

void Wnd::Unbind() noexcept {
  if (subclassed_)
    RemoveWindowSubclass(hwnd_, SubclassProc, kSubclassId);
  else
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
}

LRESULT Wnd::OnMessage(UINT msg, WPARAM wp, LPARAM lp) { return Default(msg, wp, lp); }

LRESULT Wnd::Default(UINT msg, WPARAM wp, LPARAM lp) noexcept { return DefaultOf(hwnd_, subclassed_, msg, wp, lp); }

LRESULT Wnd::DefaultOf(HWND hwnd, bool subclassed, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  return subclassed ? DefSubclassProc(hwnd, msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
}

void Wnd::OnDpiChanged(UINT) {}

void Wnd::FollowDpi(UINT dpi, bool notify) {
  dpi_ = dpi;
  if (notify) OnDpiChanged(dpi);
}

LRESULT Wnd::Dispatch(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  try {
    if (msg == WM_DPICHANGED) {
      // The new DPI first: the layout that the move and resize start reads it.
      FollowDpi(HIWORD(wp), false);
      const RECT* suggested = reinterpret_cast<const RECT*>(lp);
      SetWindowPos(hwnd, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      OnDpiChanged(dpi_);
      return 0;
    }
    return OnMessage(msg, wp, lp);
  } catch (...) {
    // A failure inside a message is the handler's to report; what reaches
    // here is dropped so that it never unwinds through Windows.
    return DefaultOf(hwnd, subclassed_, msg, wp, lp);
  }
}

LRESULT CALLBACK Wnd::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    if (auto* self = static_cast<Wnd*>(reinterpret_cast<const CREATESTRUCTW*>(lp)->lpCreateParams)) {
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
      self->hwnd_ = hwnd;
      if (const UINT dpi = GetDpiForWindow(hwnd)) self->dpi_ = dpi;
    }
  }
  // Null before WM_NCCREATE (WM_GETMINMAXINFO comes first) and once unbound.
  Wnd* self = reinterpret_cast<Wnd*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  return self->Dispatch(hwnd, msg, wp, lp);
}

LRESULT CALLBACK Wnd::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  Wnd* self = reinterpret_cast<Wnd*>(data);
  if (msg == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, SubclassProc, kSubclassId);
    self->hwnd_ = nullptr;
    return DefSubclassProc(hwnd, msg, wp, lp);
  }
  return self->Dispatch(hwnd, msg, wp, lp);
}

}  // namespace plyscan::win32
