// Program entry of plyscan.exe. OLE is initialised on the user-interface
// thread, as a single-threaded apartment, before any window exists.
#include <windows.h>
#include <ole2.h>

namespace {

constexpr wchar_t kMainClass[] = L"TForm60";
constexpr wchar_t kTitle[] = L"PLYSCAN";

class OleApartment {
 public:
  OleApartment() : ok_(SUCCEEDED(OleInitialize(nullptr))) {}
  ~OleApartment() {
    if (ok_) OleUninitialize();
  }
  OleApartment(const OleApartment&) = delete;
  OleApartment& operator=(const OleApartment&) = delete;

 private:
  bool ok_;
};

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  OleApartment ole;

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = MainWndProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kMainClass;
  if (!RegisterClassExW(&wc)) return 1;

  const DWORD style = (WS_OVERLAPPEDWINDOW & ~WS_MAXIMIZEBOX);
  HWND main = CreateWindowExW(WS_EX_TOPMOST | WS_EX_APPWINDOW, kMainClass, kTitle, style, CW_USEDEFAULT,
                              CW_USEDEFAULT, 681, 362, nullptr, nullptr, instance, nullptr);
  if (!main) return 1;
  ShowWindow(main, show);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
