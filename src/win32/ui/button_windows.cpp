#include "win32/ui/button_windows.h"

#include <commctrl.h>

#include "shell/placement.h"
#include "shell/window_class_names.h"
#include "win32/ui/form_window.h"
#include "win32/wide_text.h"

namespace plyscan::win32 {

namespace {

// The side of the check box's tick box at 96 dpi.
constexpr int kTickBox = 13;

bool ShowsPressed(const DRAWITEMSTRUCT& item) { return (item.itemState & ODS_SELECTED) != 0; }

}  // namespace

void OwnerDrawnButton::Describe(CreateArgs& args) const {
  args.class_name = WC_BUTTONW;
  args.system_class = true;
  args.style |= BS_OWNERDRAW;
}

LRESULT OwnerDrawnButton::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_MOUSEMOVE:
      TrackHot();
      break;
    case WM_MOUSELEAVE:
      SetHot(false);
      break;
    case WM_LBUTTONDBLCLK:
      // An owner-drawn button reports a double click as such: let it be
      // a second click, as with any other button.
      return Default(WM_LBUTTONDOWN, wp, lp);
    default:
      break;
  }
  return Default(msg, wp, lp);
}

bool PushButton::TakeReturnKey() {
  Click();
  return true;
}

void PushButton::OnCommand(WORD code) {
  if (code == BN_CLICKED) Click();
}

void PushButton::Draw(const DRAWITEMSTRUCT& item) {
  PaintPushButton(item.hDC, item.rcItem, WideView(Model().GetText()), FaceState(ShowsPressed(item)), ShowsFocus(item));
}

void CheckBox::OnCommand(WORD code) {
  if (code != BN_CLICKED) return;
  Model().UserSetChecked(!Model().Checked());
  InvalidateRect(Hwnd(), nullptr, TRUE);
  Click();
}

void CheckBox::Draw(const DRAWITEMSTRUCT& item) {
  PaintCheckBox(item.hDC, item.rcItem, WideView(Model().GetText()), Model().Checked(), FaceState(ShowsPressed(item)),
                ShowsFocus(item), ui::Scale(kTickBox, static_cast<std::int32_t>(Dpi())));
}

LRESULT CheckBox::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case BM_GETCHECK:
      return Model().Checked() ? BST_CHECKED : BST_UNCHECKED;
    case BM_SETCHECK:
      Model().UserSetChecked(wp == BST_CHECKED);
      InvalidateRect(Hwnd(), nullptr, TRUE);
      return 0;
    default:
      return OwnerDrawnButton::OnMessage(msg, wp, lp);
  }
}

void CheckBox::OnChanged(ui::Property what) {
  if (what == ui::Property::kChecked)
    InvalidateRect(Hwnd(), nullptr, TRUE);
  else
    OwnerDrawnButton::OnChanged(what);
}

void FlatButton::Describe(CreateArgs& args) const {
  args.class_name = Wide(ui::kFlatButtonClass);
  args.class_style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
}

void FlatButton::Paint(HDC dc, const RECT& client) {
  PaintFlatButton(dc, client, WideView(Model().GetText()), FaceState(pressed_ && Hot()));
}

LRESULT FlatButton::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_MOUSEMOVE: {
      TrackHot();
      if (pressed_) {
        // Held down: hot only while the pointer is over the button.
        RECT rect;
        GetClientRect(Hwnd(), &rect);
        const POINT at{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        const bool inside = PtInRect(&rect, at) != FALSE;
        if (inside != Hot()) SetHot(inside);
      }
      return 0;
    }
    case WM_MOUSELEAVE:
      if (!pressed_) SetHot(false);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      pressed_ = true;
      SetHot(true);
      SetCapture(Hwnd());  // no focus: a flat button never takes it
      return 0;
    case WM_LBUTTONUP: {
      const bool click = pressed_ && Hot();
      pressed_ = false;
      ReleaseCapture();
      InvalidateRect(Hwnd(), nullptr, FALSE);
      if (click) Click();
      return 0;
    }
    case WM_CAPTURECHANGED:
      pressed_ = false;
      InvalidateRect(Hwnd(), nullptr, FALSE);
      return 0;
    case BM_CLICK:
      Click();
      return 0;
    default:
      return OwnClassControl::OnMessage(msg, wp, lp);
  }
}

}  // namespace plyscan::win32
