#include "real_input.h"

#include <thread>
#include <vector>

namespace plyscan::testing {

namespace {

void Send(std::vector<INPUT> inputs) {
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

INPUT Mouse(DWORD flags, LONG x = 0, LONG y = 0, DWORD data = 0) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = x;
  input.mi.dy = y;
  input.mi.mouseData = data;
  input.mi.dwFlags = flags;
  return input;
}

INPUT Key(WORD vk, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));  // as a keyboard sends it
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

}  // namespace

void MoveMouseTo(POINT screen) {
  // Absolute coordinates are 0..65535 over the primary display.
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  const LONG x = static_cast<LONG>((screen.x * 65536 + width / 2) / width);
  const LONG y = static_cast<LONG>((screen.y * 65536 + height / 2) / height);
  Send({Mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, x, y)});
  SetCursorPos(screen.x, screen.y);  // exactly there, whatever the rounding did
}

void Click(DWORD down, DWORD up) { Send({Mouse(down), Mouse(up)}); }

void DoubleClick() {
  Send({Mouse(MOUSEEVENTF_LEFTDOWN), Mouse(MOUSEEVENTF_LEFTUP), Mouse(MOUSEEVENTF_LEFTDOWN),
        Mouse(MOUSEEVENTF_LEFTUP)});
}

void Wheel(int delta) { Send({Mouse(MOUSEEVENTF_WHEEL, 0, 0, static_cast<DWORD>(delta))}); }

void PressKey(WORD vk, bool shift, bool ctrl) {
  std::vector<INPUT> inputs;
  if (shift) inputs.push_back(Key(VK_SHIFT, false));
  if (ctrl) inputs.push_back(Key(VK_CONTROL, false));
  inputs.push_back(Key(vk, false));
  inputs.push_back(Key(vk, true));
  if (ctrl) inputs.push_back(Key(VK_CONTROL, true));
  if (shift) inputs.push_back(Key(VK_SHIFT, true));
  Send(inputs);
}

void HoldKeyUntil(WORD vk, const std::function<bool()>& released, std::chrono::milliseconds deadline) {
  Send({Key(vk, false)});
  for (const auto end = std::chrono::steady_clock::now() + deadline;
       !released() && std::chrono::steady_clock::now() < end;)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  Send({Key(vk, true)});
}

void TypeText(const wchar_t* text) {
  std::vector<INPUT> inputs;
  for (const wchar_t* c = text; *c; ++c) {
    for (bool up : {false, true}) {
      INPUT input{};
      input.type = INPUT_KEYBOARD;
      input.ki.wScan = static_cast<WORD>(*c);
      input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
      inputs.push_back(input);
    }
  }
  Send(inputs);
}

POINT ClientToScreenPoint(HWND hwnd, int x, int y) {
  POINT p{x, y};
  ClientToScreen(hwnd, &p);
  return p;
}

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout,
               const std::function<bool(MSG&)>& pretranslate) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (pretranslate && pretranslate(msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (done()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

void PumpFor(std::chrono::milliseconds time) {
  PumpUntil([] { return false; }, time);
}

}  // namespace plyscan::testing
