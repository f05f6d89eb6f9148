// The peer of a draw grid, over the grid's window. It paints the whole client
// area through one off-screen bitmap (only the cells that meet the update
// region), keeps the scroll bars to what the grid model needs, and feeds
// the model the mouse, the wheel and the keys.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>

#include "shell/grid_model.h"

namespace plyscan::win32 {

class DrawGridPeer final : public ui::GridPeer {
 public:
  // `font` is the grid's font at 96 dpi (face and character height).
  DrawGridPeer(HWND hwnd, ui::GridModel& grid, FontSpec font, UINT dpi);
  DrawGridPeer(const DrawGridPeer&) = delete;
  DrawGridPeer& operator=(const DrawGridPeer&) = delete;
  ~DrawGridPeer() override;

  void Invalidate(const std::optional<Rect>& area) override;
  void RepaintNow() override;
  bool HasFocus() const override;
  void TakeFocus() override;

  void SetDpi(UINT dpi);

  // Called when the pointer moves onto another cell, for the tool tip.
  std::function<void()> on_hover_changed;
  // A message of the grid's window; nullopt when it is not one of the grid's.
  std::optional<LRESULT> Handle(UINT msg, WPARAM wp, LPARAM lp);

 private:
  void Paint();
  void SizeChanged();
  void SyncScrollBars();
  void Scroll(int bar, WORD request);

  HWND hwnd_;
  ui::GridModel* grid_;
  FontSpec design_font_;
  UINT dpi_;
  int wheel_ = 0;  // wheel movement short of a notch
  std::optional<ui::GridCell> hover_;
  bool syncing_ = false;
  struct BarState {
    bool shown = false;
    std::int32_t count = 0, page = 0, pos = 0;
    friend bool operator==(const BarState&, const BarState&) = default;
  };
  BarState vertical_;
  BarState horizontal_;
};

}  // namespace plyscan::win32
