#include "win32/ui/control_window.h"

#include "win32/gdi.h"
#include "win32/ui/form_window.h"
#include "win32/wide_text.h"

namespace plyscan::win32 {

ControlWindow::ControlWindow(FormWindow& form, ui::Control& model) : form_(&form), model_(&model) {
  model.AttachPeer(this);
}

ControlWindow::~ControlWindow() { model_->AttachPeer(nullptr); }

bool ControlWindow::Create(HWND parent) {
  const ui::ControlDesign& d = model_->Design();
  CreateArgs args;
  args.style = WS_CHILD | WS_CLIPSIBLINGS;
  if (model_->Visible()) args.style |= WS_VISIBLE;
  if (!model_->Enabled()) args.style |= WS_DISABLED;
  if (d.tab_order != ui::kNoTabOrder && (d.flags & ui::kNoTabStop) == 0) args.style |= WS_TABSTOP;
  args.title = Wide(model_->GetText());
  args.parent = parent;
  args.id = d.id;
  Describe(args);
  if (!Wnd::Create(args)) return false;
  FollowDpi(form_->Dpi(), false);
  OnCreated();
  return true;
}

void ControlWindow::OnCreated() {}

void ControlWindow::SetFont(HFONT font) noexcept {
  if (Hwnd()) SendMessageW(Hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void ControlWindow::SetLineHeight(int) noexcept {}

void ControlWindow::FormDpiChanged(UINT dpi) { FollowDpi(dpi, true); }

std::int32_t ControlWindow::FittedWidth(std::int32_t width, HFONT) const { return width; }

bool ControlWindow::TakesOwnKeys() const noexcept { return false; }

bool ControlWindow::TakeReturnKey() { return true; }  // no default button: Enter does nothing

bool ControlWindow::HintFollowsPointer() const noexcept { return false; }

Text ControlWindow::PointerHint() const { return Text(model_->Design().hint); }

void ControlWindow::OnCommand(WORD) {}

void ControlWindow::Draw(const DRAWITEMSTRUCT&) {}

void ControlWindow::Changed(ui::Property what) {
  if (Hwnd()) OnChanged(what);
}

void ControlWindow::OnChanged(ui::Property what) {
  switch (what) {
    case ui::Property::kText:
      SyncText();
      break;
    case ui::Property::kVisible:
      ShowWindow(Hwnd(), model_->Visible() ? SW_SHOWNA : SW_HIDE);
      break;
    case ui::Property::kEnabled:
      EnableWindow(Hwnd(), model_->Enabled() ? TRUE : FALSE);
      break;
    case ui::Property::kBounds:
      form_->PlaceChild(*this);
      break;
    default:
      break;  // a property of other kinds of control
  }
}

void ControlWindow::SyncText() {
  syncing_ = true;
  SetWindowTextW(Hwnd(), Wide(model_->GetText()));
  syncing_ = false;
  InvalidateRect(Hwnd(), nullptr, TRUE);
}

void ControlWindow::Click() { form_->Model().Click(*model_); }

void ControlWindow::TrackHot() {
  if (hot_) return;
  TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Hwnd(), 0};
  TrackMouseEvent(&track);
  SetHot(true);
}

void ControlWindow::SetHot(bool hot) {
  hot_ = hot;
  InvalidateRect(Hwnd(), nullptr, FALSE);
}

ButtonState ControlWindow::FaceState(bool pressed) const {
  if (!IsWindowEnabled(Hwnd())) return ButtonState::kDisabled;
  if (pressed) return ButtonState::kPressed;
  return hot_ ? ButtonState::kHot : ButtonState::kNormal;
}

LRESULT OwnClassControl::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;  // the paint fills the background
    case WM_PAINT: {
      PaintDc dc(Hwnd());
      RECT client;
      GetClientRect(Hwnd(), &client);
      SelectIn font(dc.Get(), font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT));
      Paint(dc.Get(), client);
      return 0;
    }
    case WM_SETFONT:
      font_ = reinterpret_cast<HFONT>(wp);
      if (LOWORD(lp)) InvalidateRect(Hwnd(), nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_SETTEXT:
    case WM_ENABLE: {
      const LRESULT result = Default(msg, wp, lp);
      InvalidateRect(Hwnd(), nullptr, TRUE);
      return result;
    }
    default:
      return Default(msg, wp, lp);
  }
}

void OwnClassControl::Paint(HDC, const RECT&) {}

}  // namespace plyscan::win32
