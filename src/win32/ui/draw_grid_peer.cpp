#include "win32/ui/draw_grid_peer.h"

#include <windowsx.h>

#include "shell/placement.h"
#include "win32/gdi.h"
#include "win32/gdi_canvas.h"

namespace plyscan::win32 {

namespace {

ui::ShiftState KeyboardShift() {
  return {GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_MENU) < 0};
}

ui::ShiftState MouseShift(WPARAM wp) { return {(wp & MK_SHIFT) != 0, (wp & MK_CONTROL) != 0, GetKeyState(VK_MENU) < 0}; }

}  // namespace

DrawGridPeer::DrawGridPeer(HWND hwnd, ui::GridModel& grid, FontSpec font, UINT dpi)
    : hwnd_(hwnd), grid_(&grid), design_font_(std::move(font)), dpi_(dpi) {
  grid_->AttachPeer(this);
  grid_->SetDpi(static_cast<std::int32_t>(dpi_));
  SizeChanged();
}

DrawGridPeer::~DrawGridPeer() { grid_->AttachPeer(nullptr); }

void DrawGridPeer::SetDpi(UINT dpi) {
  dpi_ = dpi;
  grid_->SetDpi(static_cast<std::int32_t>(dpi));
  SizeChanged();
}

void DrawGridPeer::SizeChanged() {
  RECT window{};
  GetWindowRect(hwnd_, &window);
  grid_->SetOuterSize({window.right - window.left, window.bottom - window.top},
                      GetSystemMetricsForDpi(SM_CXVSCROLL, dpi_));
}

void DrawGridPeer::Invalidate(const std::optional<Rect>& area) {
  SyncScrollBars();
  if (area) {
    const RECT r{area->left, area->top, area->right + ui::GridModel::kGridLineWidth,
                 area->bottom + ui::GridModel::kGridLineWidth};
    InvalidateRect(hwnd_, &r, FALSE);
  } else {
    InvalidateRect(hwnd_, nullptr, FALSE);
  }
}

void DrawGridPeer::RepaintNow() { UpdateWindow(hwnd_); }

bool DrawGridPeer::HasFocus() const { return GetFocus() == hwnd_; }

void DrawGridPeer::TakeFocus() { SetFocus(hwnd_); }

void DrawGridPeer::SyncScrollBars() {
  // Showing or hiding a bar resizes the client area, which comes back here.
  if (syncing_) return;
  syncing_ = true;
  // Each bar is told only what changed: a scroll bar redraws at every call.
  const auto sync = [this](int bar, bool shown, std::int32_t count, std::int32_t page, std::int32_t pos) {
    BarState& was = bar == SB_VERT ? vertical_ : horizontal_;
    const BarState now{shown, count, page, pos};
    if (now == was) return;
    if (shown != was.shown) ShowScrollBar(hwnd_, bar, shown ? TRUE : FALSE);
    was = now;
    if (!shown) return;
    SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, count - 1, static_cast<UINT>(page), pos, 0};
    SetScrollInfo(hwnd_, bar, &info, TRUE);
  };
  sync(SB_VERT, grid_->ShowsVerticalScrollBar(), grid_->RowCount(), grid_->VisibleRowCount(), grid_->TopRow());
  sync(SB_HORZ, grid_->ShowsHorizontalScrollBar(), grid_->ColCount(), grid_->VisibleColCount(), grid_->LeftCol());
  syncing_ = false;
}

void DrawGridPeer::Scroll(int bar, WORD request) {
  const bool vertical = bar == SB_VERT;
  const std::int32_t first = vertical ? grid_->TopRow() : grid_->LeftCol();
  const std::int32_t page = vertical ? grid_->VisibleRowCount() : grid_->VisibleColCount();
  const std::int32_t last = vertical ? grid_->MaxTopRow() : grid_->MaxLeftCol();
  std::int32_t to = first;
  switch (request) {
    case SB_LINEUP: to = first - 1; break;
    case SB_LINEDOWN: to = first + 1; break;
    case SB_PAGEUP: to = first - page; break;
    case SB_PAGEDOWN: to = first + page; break;
    case SB_TOP: to = 0; break;
    case SB_BOTTOM: to = last; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
      GetScrollInfo(hwnd_, bar, &info);
      to = info.nTrackPos;
      break;
    }
    default: return;
  }
  if (vertical)
    grid_->SetTopRow(to);
  else
    grid_->SetLeftCol(to);
}

void DrawGridPeer::Paint() {
  PaintDc paint(hwnd_);
  RECT client{};
  GetClientRect(hwnd_, &client);
  const RECT& update = paint.Update();
  if (client.right <= 0 || client.bottom <= 0 || IsRectEmpty(&update)) return;
  // The whole client area is drawn off screen and the update region copied,
  // so that no half-painted cell is ever seen.
  MemoryDc buffer(paint.Get());
  GdiBitmap pixels(CreateCompatibleBitmap(paint.Get(), client.right, client.bottom));
  SelectIn select(buffer.Get(), pixels.Get());
  if (!buffer.Get() || !select.Ok()) return;
  {
    GdiCanvas canvas(buffer.Get());
    FontSpec font = design_font_;
    font.height = ui::Scale(design_font_.height, static_cast<std::int32_t>(dpi_));
    ui::PaintGrid(*grid_, canvas, {update.left, update.top, update.right, update.bottom}, font);
  }
  BitBlt(paint.Get(), update.left, update.top, update.right - update.left, update.bottom - update.top, buffer.Get(),
         update.left, update.top, SRCCOPY);
}

std::optional<LRESULT> DrawGridPeer::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  const int x = GET_X_LPARAM(lp);
  const int y = GET_Y_LPARAM(lp);
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;  // the paint covers everything
    case WM_PAINT:
      Paint();
      return 0;
    case WM_SIZE:
      SizeChanged();
      return 0;
    case WM_VSCROLL:
    case WM_HSCROLL:
      Scroll(msg == WM_VSCROLL ? SB_VERT : SB_HORZ, LOWORD(wp));
      return 0;
    case WM_MOUSEWHEEL: {
      wheel_ += GET_WHEEL_DELTA_WPARAM(wp);
      const int notches = wheel_ / WHEEL_DELTA;
      wheel_ -= notches * WHEEL_DELTA;
      if (notches) grid_->Wheel(notches);
      return 0;
    }
    case WM_MOUSEMOVE: {
      const auto cell = grid_->MouseCoord(x, y);
      if (cell != hover_) {
        hover_ = cell;
        if (on_hover_changed) on_hover_changed();
      }
      return std::nullopt;  // the tool tip sees it too
    }
    case WM_LBUTTONDOWN:
      SetFocus(hwnd_);
      grid_->MouseDown(ui::MouseButton::kLeft, MouseShift(wp), x, y);
      return 0;
    case WM_LBUTTONDBLCLK:
      SetFocus(hwnd_);
      grid_->DoubleClick(ui::MouseButton::kLeft, MouseShift(wp), x, y);
      return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      grid_->MouseDown(ui::MouseButton::kRight, MouseShift(wp), x, y);
      return 0;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      grid_->MouseDown(ui::MouseButton::kMiddle, MouseShift(wp), x, y);
      return 0;
    case WM_KEYDOWN:
      grid_->KeyDown(static_cast<ui::KeyCode>(wp), KeyboardShift());
      return 0;
    case WM_CHAR:
      grid_->KeyPress(static_cast<char16_t>(wp));
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      grid_->Invalidate();
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    default:
      return std::nullopt;
  }
}

}  // namespace plyscan::win32
