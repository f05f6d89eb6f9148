// simcad's windows: the top-level application window, the document window
// over its client area whose client area is exactly the screen size, and the
// view, the document's first child, which paints the rendered picture of the
// drawing. Closing the application window ends the message loop.
//
// The document window is a child of the application window filling its
// client area, as in an MDI CAD. Under Wine a BitBlt from the device context
// of another process's child window fails, so a client has to copy such a
// window from the screen; --popup-document makes it a borderless pop-up
// owned by the application window and kept on its client area instead,
// whose own device context can be copied.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "simcad/drawing/render.h"

namespace simcad::server {

struct WindowOptions {
  std::u16string title;  // the application window's caption
  int screen_width = 1024;
  int screen_height = 768;
  bool minimized = false;
  bool popup_document = false;
};

class SimWindows {
 public:
  // `render` draws the current view; it is called again on each Refresh.
  SimWindows(HINSTANCE instance, const WindowOptions& options, std::function<Image()> render);
  SimWindows(const SimWindows&) = delete;
  SimWindows& operator=(const SimWindows&) = delete;
  ~SimWindows();

  [[nodiscard]] bool Ok() const noexcept { return view_ != nullptr; }
  HWND Application() const noexcept { return main_; }
  HWND Document() const noexcept { return document_; }
  HWND View() const noexcept { return view_; }

  // Renders the view again and paints it before returning, so that a copy of
  // the window taken right after sees the new picture.
  void Refresh();

 private:
  static LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK ViewProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void Paint(HWND hwnd) noexcept;
  void FollowApplication(bool minimized) noexcept;

  bool popup_document_;

  std::function<Image()> render_;
  int width_;
  int height_;
  std::vector<std::uint8_t> bgrx_;  // the picture as a top-down 32-bit DIB
  int picture_width_ = 0;
  int picture_height_ = 0;
  HWND main_ = nullptr;
  HWND document_ = nullptr;
  HWND view_ = nullptr;
};

}  // namespace simcad::server
