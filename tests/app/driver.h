// A test driver for plyscan.exe under Wine: starts a copy of the program in
// its own folder, finds its windows, reads them and acts on them through
// window messages, as a user's clicks would, and saves screenshots.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "win32/scoped_handles.h"

namespace plyscan::testing {

// Polls `done` every 50 ms for up to `timeout`.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(20));

class RunningProgram {
 public:
  // Copies plyscan.exe into `folder` and starts it there.
  explicit RunningProgram(const std::wstring& folder);
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  bool Started() const { return static_cast<bool>(process_); }
  DWORD Id() const { return id_; }
  // A top-level window of the program with this class, or null.
  HWND TopLevel(const wchar_t* class_name, bool visible_only = true) const;
  // Waits for the program to end; its exit code, or -1 on timeout.
  long WaitForExit(std::chrono::milliseconds timeout = std::chrono::seconds(20));

 private:
  win32::UniqueKernelHandle process_;
  win32::UniqueKernelHandle thread_;
  DWORD id_ = 0;
};

std::wstring WindowText(HWND hwnd);
std::wstring ClassOf(HWND hwnd);
// The child with this control identifier, at any depth.
HWND ChildById(HWND parent, int id);
// The window's rectangle relative to its parent's client area.
RECT RectInParent(HWND hwnd);
std::wstring ListEntry(HWND list, int index);

// Waits until the window and every window in it have painted themselves and
// the screen shows them: two pictures of the window's place alike.
bool WaitShown(HWND window);
// Saves the window's pixels, as the X server shows them, as a 24-bit BMP.
bool SaveScreenshot(HWND window, const std::wstring& path);

}  // namespace plyscan::testing
