#include "simcad/server/main_window.h"

namespace simcad::server {

namespace {

constexpr wchar_t kMainClass[] = L"SimCadApplication";
constexpr wchar_t kDocumentClass[] = L"SimCadDocument";
constexpr wchar_t kViewClass[] = L"SimCadView";

void RegisterClassOnce(HINSTANCE instance, const wchar_t* name, WNDPROC proc) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExW(instance, name, &wc)) return;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = name;
  RegisterClassExW(&wc);
}

SimWindows* OwnerOf(HWND hwnd, UINT msg, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* owner = static_cast<SimWindows*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    return owner;
  }
  return reinterpret_cast<SimWindows*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

}  // namespace

SimWindows::SimWindows(HINSTANCE instance, const WindowOptions& options, std::function<Image()> render)
    : popup_document_(options.popup_document),
      render_(std::move(render)),
      width_(options.screen_width),
      height_(options.screen_height) {
  RegisterClassOnce(instance, kMainClass, MainProc);
  RegisterClassOnce(instance, kDocumentClass, DefWindowProcW);
  RegisterClassOnce(instance, kViewClass, ViewProc);

  // The application window is as large as it must be for the document
  // window's client area to be the screen size.
  const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  RECT frame{0, 0, width_, height_};
  AdjustWindowRectEx(&frame, style, FALSE, 0);
  const std::wstring title(options.title.begin(), options.title.end());
  main_ = CreateWindowExW(0, kMainClass, title.c_str(), style, 0, 0, frame.right - frame.left,
                          frame.bottom - frame.top, nullptr, nullptr, instance, this);
  if (!main_) return;
  const DWORD document_style = popup_document_ ? WS_POPUP | WS_CLIPCHILDREN : WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
  document_ =
      CreateWindowExW(0, kDocumentClass, L"", document_style, 0, 0, width_, height_, main_, nullptr, instance, nullptr);
  if (!document_) return;
  view_ = CreateWindowExW(0, kViewClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, width_, height_, document_, nullptr,
                          instance, this);
  if (!view_) return;

  Refresh();
  ShowWindow(main_, options.minimized ? SW_SHOWMINIMIZED : SW_SHOWNORMAL);
  FollowApplication(options.minimized);
  UpdateWindow(main_);
}

void SimWindows::FollowApplication(bool minimized) noexcept {
  if (!document_ || !popup_document_) return;  // a child goes with its parent by itself
  if (minimized) {
    ShowWindow(document_, SW_HIDE);
    return;
  }
  POINT origin{0, 0};
  ClientToScreen(main_, &origin);
  SetWindowPos(document_, nullptr, origin.x, origin.y, width_, height_, SWP_NOZORDER | SWP_NOACTIVATE);
  if (IsWindowVisible(main_)) {
    ShowWindow(document_, SW_SHOWNOACTIVATE);
    if (view_) UpdateWindow(view_);
  }
}

SimWindows::~SimWindows() {
  if (main_ && IsWindow(main_)) DestroyWindow(main_);
}

void SimWindows::Refresh() {
  try {
    const Image image = render_();
    if (image.width <= 0 || image.height <= 0 ||
        image.rgb.size() != static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) * 3)
      return;
    bgrx_.resize(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) * 4);
    for (std::size_t i = 0, o = 0; i < image.rgb.size(); i += 3, o += 4) {
      bgrx_[o] = image.rgb[i + 2];
      bgrx_[o + 1] = image.rgb[i + 1];
      bgrx_[o + 2] = image.rgb[i];
      bgrx_[o + 3] = 0;
    }
    picture_width_ = image.width;
    picture_height_ = image.height;
  } catch (...) {
    return;  // keep the last picture: a failed render must not fail the call that caused it
  }
  if (view_) {
    InvalidateRect(view_, nullptr, FALSE);
    UpdateWindow(view_);
  }
}

void SimWindows::Paint(HWND hwnd) noexcept {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  if (!bgrx_.empty()) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture_width_;
    info.bmiHeader.biHeight = -picture_height_;  // rows from the top
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    StretchDIBits(dc, 0, 0, width_, height_, 0, 0, picture_width_, picture_height_, bgrx_.data(), &info,
                  DIB_RGB_COLORS, SRCCOPY);
  } else {
    FillRect(dc, &ps.rcPaint, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
  EndPaint(hwnd, &ps);
}

LRESULT CALLBACK SimWindows::MainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  SimWindows* self = OwnerOf(hwnd, msg, lp);
  switch (msg) {
    case WM_MOVE:
    case WM_SIZE:
      if (self) self->FollowApplication(IsIconic(hwnd) != FALSE);
      return DefWindowProcW(hwnd, msg, wp, lp);
    case WM_DESTROY:
      if (self) self->main_ = self->document_ = self->view_ = nullptr;
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

LRESULT CALLBACK SimWindows::ViewProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  SimWindows* self = OwnerOf(hwnd, msg, lp);
  switch (msg) {
    case WM_PAINT:
      if (!self) break;
      self->Paint(hwnd);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the picture covers the whole view
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace simcad::server
