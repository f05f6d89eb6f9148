#include "win32/ui/win32_window_system.h"

#include <vector>

#include "base/failure.h"
#include "shell/error_report.h"
#include "shell/window_class_names.h"
#include "win32/gdi.h"
#include "win32/wide_text.h"

namespace plyscan::win32 {

namespace {

BOOL CALLBACK TakeFirstMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  *reinterpret_cast<HMONITOR*>(data) = monitor;
  return FALSE;  // the first one reported is the one
}

void ShowErrorBox(const wchar_t* text) {
  // Owned by the active window of the program, so that it stays above a
  // topmost main window; without one, on top by itself.
  const HWND owner = GetActiveWindow();
  MessageBoxW(owner, text, Wide(ui::kApplicationTitle),
              MB_OK | MB_ICONERROR | (owner ? 0u : static_cast<UINT>(MB_TOPMOST | MB_SETFOREGROUND)));
}

}  // namespace

// The hidden "TApplication" window: a window of the program's own that
// only owns the dialogs.
class Win32WindowSystem::DialogOwner final : public Wnd {
 public:
  [[nodiscard]] bool Create() {
    CreateArgs args;
    args.class_name = Wide(ui::kApplicationClass);
    args.title = Wide(ui::kApplicationTitle);
    args.style = WS_POPUP;
    return Wnd::Create(args);
  }
};

Win32WindowSystem::Win32WindowSystem() = default;

Win32WindowSystem::~Win32WindowSystem() { DestroyAll(); }

void Win32WindowSystem::CreateWindows(ui::Form& form, ui::Form* owner) {
  auto window = std::make_unique<FormWindow>(*this, form, owner ? WindowOf(*owner) : nullptr);
  if (!window->Create())
    throw Failure(u"cannot create the window " + Text(form.Design().class_name) + u" (error " +
                  DecimalText(GetLastError()) + u")");
  windows_.push_back(std::move(window));
}

void Win32WindowSystem::ShowMainWindow(ui::Form& form) {
  if (FormWindow* window = WindowOf(form)) window->ShowNormal();
}

FormWindow* Win32WindowSystem::WindowOf(const ui::Form& form) const noexcept {
  for (const auto& window : windows_)
    if (&window->Model() == &form) return window.get();
  return nullptr;
}

Size Win32WindowSystem::PrimaryScreenSize() { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

std::optional<std::int32_t> Win32WindowSystem::ScaleFactorOfFirstMonitor() {
  // Only a Shcore.dll that is already loaded is asked; it is not loaded here.
  const HMODULE shcore = GetModuleHandleW(L"Shcore.dll");
  if (!shcore) return std::nullopt;
  // DEVICE_SCALE_FACTOR is an enumeration whose values are the percentages.
  using ScaleFactorForMonitor = HRESULT(WINAPI*)(HMONITOR, int*);
  const auto get_scale = reinterpret_cast<ScaleFactorForMonitor>(
      reinterpret_cast<void (*)()>(GetProcAddress(shcore, "GetScaleFactorForMonitor")));
  if (!get_scale) return std::nullopt;
  HMONITOR first = nullptr;
  EnumDisplayMonitors(nullptr, nullptr, TakeFirstMonitor, reinterpret_cast<LPARAM>(&first));
  int scale = 0;
  get_scale(first, &scale);  // the result code is not looked at; a failure leaves 0
  // A stand-in that answers 100 % for a monitor of another resolution (as
  // Wine's does) counts as missing: the caller falls back to the resolution.
  // On Windows the two always agree.
  using DpiForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  const auto get_dpi = reinterpret_cast<DpiForMonitor>(
      reinterpret_cast<void (*)()>(GetProcAddress(shcore, "GetDpiForMonitor")));
  UINT dpi_x = 0, dpi_y = 0;
  constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
  if (scale == 100 && get_dpi && SUCCEEDED(get_dpi(first, kEffectiveDpi, &dpi_x, &dpi_y)) &&
      dpi_x != USER_DEFAULT_SCREEN_DPI)
    return std::nullopt;
  return static_cast<std::int32_t>(scale);
}

std::int32_t Win32WindowSystem::PrimaryDpi() {
  ScreenDc dc;
  return dc.Get() ? GetDeviceCaps(dc.Get(), LOGPIXELSX) : USER_DEFAULT_SCREEN_DPI;
}

void Win32WindowSystem::ShowError(TextView text) { ShowErrorBox(Wide(Text(text))); }

void Win32WindowSystem::OnDropFiles(const ui::Form& form, std::function<void(HDROP)> handler) {
  if (FormWindow* window = WindowOf(form)) window->on_drop = std::move(handler);
}

bool Win32WindowSystem::PreTranslate(MSG& msg) {
  if (!msg.hwnd) return false;
  const HWND root = GetAncestor(msg.hwnd, GA_ROOT);
  for (const auto& window : windows_)
    if (window->Hwnd() == root) return window->PreTranslate(msg);
  return false;
}

void Win32WindowSystem::ProcessMessages() {
  MSG msg{};
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // for the loop outside
      return;
    }
    if (!PreTranslate(msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

void Win32WindowSystem::PaintWhileWaiting(unsigned milliseconds) {
  // Wakes for anything new in the queue (the caller looks for stop requests
  // then) but dispatches only painting; PeekMessageW answers the messages
  // other threads send meanwhile.
  MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds, QS_ALLINPUT);
  MSG msg{};
  while (PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageW(&msg);
}

ui::QueuedStop Win32WindowSystem::TakeStopRequests(const ui::Form& form, std::uint64_t other_window) {
  ui::QueuedStop stop;
  const FormWindow* window = WindowOf(form);
  if (!window || !window->Hwnd()) return stop;
  const HWND hwnd = window->Hwnd();
  const auto ours = [hwnd](HWND target) { return target && GetAncestor(target, GA_ROOT) == hwnd; };
  MSG msg{};
  // The frame's own input goes its normal way: the system menu, Alt+F4 and
  // the like end in a WM_CLOSE sent to the window (which the form then asks
  // about) or posted to it (which is taken below). A press on the close box
  // is itself the request, as the box closes on its release.
  while (PeekMessageW(&msg, nullptr, WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK, PM_REMOVE | PM_NOYIELD)) {
    if (msg.message == WM_NCLBUTTONDOWN && msg.wParam == HTCLOSE && ours(msg.hwnd)) {
      stop.close = true;
      continue;
    }
    DispatchMessageW(&msg);
  }
  while (PeekMessageW(&msg, nullptr, WM_SYSKEYDOWN, WM_SYSDEADCHAR, PM_REMOVE | PM_NOYIELD)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  // Of the rest only a stop request is taken, wherever it stands in the
  // queue; what was looked at on the way goes back in its order.
  const auto take = [&](UINT message, auto&& is_stop) {
    std::vector<MSG> passed;
    bool found = false;
    while (!found && PeekMessageW(&msg, nullptr, message, message, PM_REMOVE | PM_NOYIELD)) {
      if (ours(msg.hwnd) && is_stop(msg))
        found = true;
      else
        passed.push_back(msg);
    }
    for (const MSG& m : passed) PostMessageW(m.hwnd, m.message, m.wParam, m.lParam);
    return found;
  };
  stop.close = take(WM_CLOSE, [](const MSG&) { return true; }) ||
               take(WM_SYSCOMMAND, [](const MSG& m) { return (m.wParam & 0xFFF0) == SC_CLOSE; }) || stop.close;
  stop.escape = take(WM_KEYDOWN, [](const MSG& m) { return m.wParam == VK_ESCAPE; });
  // With the other program in front the key goes to its queue: the key's
  // state says whether Esc is held down now (the run asks often enough to
  // see a press; a press long before is not news).
  if (!stop.escape && (GetAsyncKeyState(VK_ESCAPE) & 0x8000)) {
    const HWND front = GetAncestor(GetForegroundWindow(), GA_ROOT);
    stop.escape = front && (front == hwnd || front == reinterpret_cast<HWND>(static_cast<UINT_PTR>(other_window)));
  }
  return stop;
}

Rect Win32WindowSystem::Desktop() {
  return Rect::Sized(GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                     GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
}

int Win32WindowSystem::RunMessageLoop() {
  MSG msg{};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (!PreTranslate(msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return static_cast<int>(msg.wParam);
}

void Win32WindowSystem::DestroyAll() noexcept {
  while (!windows_.empty()) windows_.pop_back();  // owned windows were made after their owners
  application_.reset();
}

HWND Win32WindowSystem::ApplicationWindow() {
  if (!application_) {
    auto owner = std::make_unique<DialogOwner>();
    if (!owner->Create()) return nullptr;
    application_ = std::move(owner);
  }
  return application_->Hwnd();
}

void ReportMissingStyle(std::wstring_view style_name) {
  const std::wstring text = L"スタイル '" + std::wstring(style_name) + L"' が見つかりません";
  ShowErrorBox(text.c_str());
}

}  // namespace plyscan::win32
