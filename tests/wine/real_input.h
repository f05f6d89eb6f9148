// Input as a user gives it, for tests of the real windows: SendInput's mouse
// and keyboard events, which reach the window under the pointer or with the
// focus through the system's own input queue, and a message loop that runs
// until a condition holds.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>

namespace plyscan::testing {

// Moves the pointer to a screen point.
void MoveMouseTo(POINT screen);
// A press and a release of the button at the pointer.
void Click(DWORD down = MOUSEEVENTF_LEFTDOWN, DWORD up = MOUSEEVENTF_LEFTUP);
// Two clicks at the pointer within the double-click time.
void DoubleClick();
// Wheel movement at the pointer: positive away from the user.
void Wheel(int delta);
// A key pressed and released, with Shift or Ctrl held when asked.
void PressKey(WORD vk, bool shift = false, bool ctrl = false);
// A key held down until `released` holds (or `deadline` has passed), as a
// finger waits for what it asked for.
void HoldKeyUntil(WORD vk, const std::function<bool()>& released,
                  std::chrono::milliseconds deadline = std::chrono::seconds(30));
// Types the characters as the keyboard would (Unicode input).
void TypeText(const wchar_t* text);

// The screen point at (x, y) of the window's client area.
POINT ClientToScreenPoint(HWND hwnd, int x, int y);

// Dispatches this thread's messages until `done` holds or the time is out;
// true when it holds. `pretranslate` sees each message first and keeps it
// from dispatch by returning true (a window system's keyboard handling).
bool PumpUntil(const std::function<bool()>& done,
               std::chrono::milliseconds timeout = std::chrono::seconds(20),
               const std::function<bool(MSG&)>& pretranslate = {});
// Dispatches this thread's messages for a while.
void PumpFor(std::chrono::milliseconds time);

}  // namespace plyscan::testing
