#include "win32/ui/child_control.h"

#include <commctrl.h>
#include <imm.h>

#include "shell/placement.h"
#include "shell/window_class_names.h"
#include "win32/gdi.h"
#include "win32/ui/form_window.h"
#include "win32/ui/wnd.h"
#include "win32/wide_text.h"

namespace plyscan::win32 {

namespace {

constexpr UINT_PTR kSubclassId = 1;
// The side of the check box's tick box at 96 dpi.
constexpr int kTickBox = 13;

Text WindowText(HWND hwnd) {
  const int length = GetWindowTextLengthW(hwnd);
  std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(hwnd, buffer.data(), length + 1);
  return FromWide({buffer.data(), static_cast<std::size_t>(got > 0 ? got : 0)});
}

bool IsCustomKind(ui::Kind kind) {
  return kind == ui::Kind::kGroupBox || kind == ui::Kind::kSpeedButton || kind == ui::Kind::kDrawGrid;
}

}  // namespace

void ChildControl::RegisterClasses() {
  RegisterClassOnce(Wide(ui::kGroupFrameClass), CustomProc, CS_HREDRAW | CS_VREDRAW);
  RegisterClassOnce(Wide(ui::kFlatButtonClass), CustomProc, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS);
  RegisterClassOnce(Wide(ui::kBoardClass), CustomProc, CS_DBLCLKS);
}

ChildControl::ChildControl(FormWindow& form, ui::Control& model, int id) : form_(&form), model_(&model), id_(id) {
  model.AttachPeer(this);
}

ChildControl::~ChildControl() {
  model_->AttachPeer(nullptr);
  grid_.reset();
  if (!hwnd_) return;
  if (IsCustomKind(Kind()))
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  else
    RemoveWindowSubclass(hwnd_, SubclassProc, kSubclassId);
  DestroyWindow(hwnd_);
}

bool ChildControl::Create(HWND parent, const RECT& rect) {
  const ui::ControlDesign& d = model_->Design();
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
  if (model_->Visible()) style |= WS_VISIBLE;
  if (!model_->Enabled()) style |= WS_DISABLED;
  if (d.tab_order != ui::kNoTabOrder && (d.flags & ui::kNoTabStop) == 0) style |= WS_TABSTOP;
  DWORD ex_style = 0;
  const wchar_t* cls = nullptr;
  switch (d.kind) {
    case ui::Kind::kPushButton:
    case ui::Kind::kCheckBox:
      cls = WC_BUTTONW;
      style |= BS_OWNERDRAW;
      break;
    case ui::Kind::kEdit:
      cls = WC_EDITW;
      style |= ES_AUTOHSCROLL | WS_BORDER | ((d.flags & ui::kCentred) ? ES_CENTER : ES_LEFT);
      break;
    case ui::Kind::kListBox:
      cls = WC_LISTBOXW;
      style |= LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER;
      break;
    case ui::Kind::kGroupBox:
      cls = Wide(ui::kGroupFrameClass);
      style |= WS_CLIPCHILDREN;
      style &= ~static_cast<DWORD>(WS_TABSTOP);
      ex_style |= WS_EX_CONTROLPARENT;
      break;
    case ui::Kind::kLabel:
      cls = WC_STATICW;
      style |= SS_LEFT | SS_NOPREFIX;
      break;
    case ui::Kind::kSpeedButton:
      cls = Wide(ui::kFlatButtonClass);
      break;
    case ui::Kind::kProgressBar:
      cls = PROGRESS_CLASSW;
      break;
    case ui::Kind::kDrawGrid:
      cls = Wide(ui::kBoardClass);
      break;
  }
  const bool has_text = d.kind != ui::Kind::kListBox && d.kind != ui::Kind::kProgressBar;
  hwnd_ = CreateWindowExW(ex_style, cls, has_text ? Wide(model_->GetText()) : L"", style, rect.left, rect.top,
                          rect.right - rect.left, rect.bottom - rect.top, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)), GetModuleHandleW(nullptr), this);
  if (!hwnd_) return false;
  if (!IsCustomKind(d.kind)) SetWindowSubclass(hwnd_, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));

  switch (d.kind) {
    case ui::Kind::kListBox:
      StyleScrollBars(hwnd_);
      SyncItems();
      break;
    case ui::Kind::kProgressBar:
      StyleProgressBar(hwnd_);
      SendMessageW(hwnd_, PBM_SETRANGE32, 0, model_->Max());
      SendMessageW(hwnd_, PBM_SETPOS, static_cast<WPARAM>(model_->Position()), 0);
      break;
    case ui::Kind::kDrawGrid: {
      StyleScrollBars(hwnd_);
      const ui::FormDesign& form = form_->Model().Design();
      grid_ = std::make_unique<DrawGridPeer>(hwnd_, model_->Grid(), FontSpec{form.font_face, form.font_height, 0},
                                             form_->Dpi());
      grid_->on_hover_changed = [form = form_] { form->RefreshHint(); };
      break;
    }
    default:
      break;
  }
  return true;
}

void ChildControl::SetDpi(UINT dpi) {
  if (grid_) grid_->SetDpi(dpi);
}

void ChildControl::SetFont(HFONT font) noexcept {
  font_ = font;
  if (hwnd_) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void ChildControl::SetItemHeight(int height) noexcept {
  if (hwnd_ && Kind() == ui::Kind::kListBox) SendMessageW(hwnd_, LB_SETITEMHEIGHT, 0, height);
}

void ChildControl::Changed(ui::Property what) {
  if (!hwnd_) return;
  switch (what) {
    case ui::Property::kText:
      SyncText();
      if (Kind() == ui::Kind::kLabel) form_->PlaceChild(*this);
      break;
    case ui::Property::kChecked:
      InvalidateRect(hwnd_, nullptr, TRUE);
      break;
    case ui::Property::kVisible:
      ShowWindow(hwnd_, model_->Visible() ? SW_SHOWNA : SW_HIDE);
      break;
    case ui::Property::kEnabled:
      EnableWindow(hwnd_, model_->Enabled() ? TRUE : FALSE);
      break;
    case ui::Property::kBounds:
      form_->PlaceChild(*this);
      break;
    case ui::Property::kPosition:
      SendMessageW(hwnd_, PBM_SETPOS, static_cast<WPARAM>(model_->Position()), 0);
      break;
    case ui::Property::kMax:
      SendMessageW(hwnd_, PBM_SETRANGE32, 0, model_->Max());
      break;
    case ui::Property::kItems:
      SyncItems();
      break;
    case ui::Property::kItemIndex:
      SendMessageW(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(model_->ItemIndex()), 0);
      break;
  }
}

void ChildControl::SyncText() {
  syncing_ = true;
  SetWindowTextW(hwnd_, Wide(model_->GetText()));
  syncing_ = false;
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void ChildControl::SyncItems() {
  SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
  SendMessageW(hwnd_, LB_RESETCONTENT, 0, 0);
  for (const Text& item : model_->Items())
    SendMessageW(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item)));
  SendMessageW(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(model_->ItemIndex()), 0);
  SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void ChildControl::Click() { form_->Model().Click(*model_); }

void ChildControl::OnCommand(WORD code) {
  switch (Kind()) {
    case ui::Kind::kPushButton:
      if (code == BN_CLICKED) Click();
      break;
    case ui::Kind::kCheckBox:
      if (code == BN_CLICKED) {
        model_->UserSetChecked(!model_->Checked());
        InvalidateRect(hwnd_, nullptr, TRUE);
        Click();
      }
      break;
    case ui::Kind::kEdit:
      if (code == EN_CHANGE && !syncing_) model_->UserSetText(WindowText(hwnd_));
      if (code == EN_SETFOCUS || code == EN_KILLFOCUS) {
        focused_ = code == EN_SETFOCUS;
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
      }
      break;
    case ui::Kind::kListBox:
      if (code == LBN_SELCHANGE) {
        model_->UserSetItemIndex(static_cast<std::int32_t>(SendMessageW(hwnd_, LB_GETCURSEL, 0, 0)));
        Click();
      }
      if (code == LBN_SETFOCUS || code == LBN_KILLFOCUS) {
        focused_ = code == LBN_SETFOCUS;
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
      }
      break;
    default:
      break;
  }
}

ButtonState ChildControl::StateFor(bool pressed) const {
  if (!IsWindowEnabled(hwnd_)) return ButtonState::kDisabled;
  if (pressed) return ButtonState::kPressed;
  return hot_ ? ButtonState::kHot : ButtonState::kNormal;
}

void ChildControl::Draw(const DRAWITEMSTRUCT& item) {
  const bool focused = (item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0;
  switch (Kind()) {
    case ui::Kind::kPushButton:
      PaintPushButton(item.hDC, item.rcItem, WideView(model_->GetText()),
                      StateFor((item.itemState & ODS_SELECTED) != 0), focused);
      break;
    case ui::Kind::kCheckBox:
      PaintCheckBox(item.hDC, item.rcItem, WideView(model_->GetText()), model_->Checked(),
                    StateFor((item.itemState & ODS_SELECTED) != 0), focused,
                    ui::Scale(kTickBox, static_cast<std::int32_t>(form_->Dpi())));
      break;
    case ui::Kind::kListBox: {
      const auto& items = model_->Items();
      if (item.itemID == static_cast<UINT>(-1) || item.itemID >= items.size()) {
        FillRect(item.hDC, &item.rcItem, StyleBrush(CurrentStyle().field));
        if (focused) DrawFocusRect(item.hDC, &item.rcItem);
        break;
      }
      PaintListEntry(item.hDC, item.rcItem, WideView(items[item.itemID]), (item.itemState & ODS_SELECTED) != 0,
                     focused);
      break;
    }
    default:
      break;
  }
}

void ChildControl::TrackHot() {
  if (hot_) return;
  hot_ = true;
  TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd_, 0};
  TrackMouseEvent(&track);
  InvalidateRect(hwnd_, nullptr, FALSE);
}

LRESULT ChildControl::Subclassed(UINT msg, WPARAM wp, LPARAM lp) {
  const ui::Kind kind = Kind();
  const bool button = kind == ui::Kind::kPushButton || kind == ui::Kind::kCheckBox;
  switch (msg) {
    case WM_MOUSEMOVE:
      if (button) TrackHot();
      break;
    case WM_MOUSELEAVE:
      hot_ = false;
      InvalidateRect(hwnd_, nullptr, FALSE);
      break;
    case WM_LBUTTONDBLCLK:
      // An owner-drawn button reports a double click as such: let it be
      // a second click, as with any other button.
      if (button) return DefSubclassProc(hwnd_, WM_LBUTTONDOWN, wp, lp);
      break;
    case BM_GETCHECK:
      if (kind == ui::Kind::kCheckBox) return model_->Checked() ? BST_CHECKED : BST_UNCHECKED;
      break;
    case BM_SETCHECK:
      if (kind == ui::Kind::kCheckBox) {
        model_->UserSetChecked(wp == BST_CHECKED);
        InvalidateRect(hwnd_, nullptr, TRUE);
        return 0;
      }
      break;
    case WM_GETDLGCODE: {
      const LRESULT code = DefSubclassProc(hwnd_, msg, wp, lp);
      // Enter in a field with a key handler goes to the field, not to the dialog.
      if (kind == ui::Kind::kEdit && model_->OnKeyPress && wp == VK_RETURN) return code | DLGC_WANTALLKEYS;
      return code;
    }
    case WM_CHAR:
      if (kind == ui::Kind::kEdit && model_->OnKeyPress) {
        auto key = static_cast<char16_t>(wp);
        model_->OnKeyPress(key);
        if (key == 0) return 0;
        wp = key;
      }
      break;
    case WM_SETFOCUS:
      if (kind == ui::Kind::kEdit && (model_->Design().flags & ui::kImeOff)) {
        const LRESULT result = DefSubclassProc(hwnd_, msg, wp, lp);
        if (const HIMC context = ImmGetContext(hwnd_)) {
          ImmSetOpenStatus(context, FALSE);
          ImmReleaseContext(hwnd_, context);
        }
        return result;
      }
      break;
    case WM_NCPAINT:
      if (kind == ui::Kind::kEdit || kind == ui::Kind::kListBox) {
        const LRESULT result = DefSubclassProc(hwnd_, msg, wp, lp);
        PaintFieldBorder(hwnd_, focused_);
        return result;
      }
      break;
    case WM_NCDESTROY: {
      RemoveWindowSubclass(hwnd_, SubclassProc, kSubclassId);
      const HWND hwnd = hwnd_;
      hwnd_ = nullptr;
      return DefSubclassProc(hwnd, msg, wp, lp);
    }
    default:
      break;
  }
  return DefSubclassProc(hwnd_, msg, wp, lp);
}

LRESULT ChildControl::Custom(UINT msg, WPARAM wp, LPARAM lp) {
  const ui::Kind kind = Kind();
  if (grid_)
    if (const auto handled = grid_->Handle(msg, wp, lp)) return *handled;
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PaintDc dc(hwnd_);
      RECT rect;
      GetClientRect(hwnd_, &rect);
      SelectIn font(dc.Get(), font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT));
      if (kind == ui::Kind::kGroupBox) PaintGroupFrame(dc.Get(), rect, WideView(model_->GetText()));
      if (kind == ui::Kind::kSpeedButton)
        PaintFlatButton(dc.Get(), rect, WideView(model_->GetText()), StateFor(pressed_ && hot_));
      return 0;
    }
    case WM_SETFONT:
      font_ = reinterpret_cast<HFONT>(wp);
      if (LOWORD(lp)) InvalidateRect(hwnd_, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_SETTEXT:
    case WM_ENABLE: {
      const LRESULT result = DefWindowProcW(hwnd_, msg, wp, lp);
      InvalidateRect(hwnd_, nullptr, TRUE);
      return result;
    }
    case WM_COMMAND:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
      // The group box is only a frame: its controls' notifications are the form's.
      return SendMessageW(form_->Hwnd(), msg, wp, lp);
    default:
      break;
  }
  if (kind == ui::Kind::kSpeedButton) {
    switch (msg) {
      case WM_MOUSEMOVE: {
        TrackHot();
        if (pressed_) {
          RECT rect;
          GetClientRect(hwnd_, &rect);
          const POINT at{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
          const bool inside = PtInRect(&rect, at) != FALSE;
          if (inside != hot_) {
            hot_ = inside;
            InvalidateRect(hwnd_, nullptr, FALSE);
          }
        }
        return 0;
      }
      case WM_MOUSELEAVE:
        if (!pressed_) {
          hot_ = false;
          InvalidateRect(hwnd_, nullptr, FALSE);
        }
        return 0;
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
        pressed_ = true;
        hot_ = true;
        SetCapture(hwnd_);  // no focus: a flat button never takes it
        InvalidateRect(hwnd_, nullptr, FALSE);
        return 0;
      case WM_LBUTTONUP: {
        const bool click = pressed_ && hot_;
        pressed_ = false;
        ReleaseCapture();
        InvalidateRect(hwnd_, nullptr, FALSE);
        if (click) Click();
        return 0;
      }
      case WM_CAPTURECHANGED:
        pressed_ = false;
        InvalidateRect(hwnd_, nullptr, FALSE);
        return 0;
      case BM_CLICK:
        Click();
        return 0;
      default:
        break;
    }
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT CALLBACK ChildControl::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<ChildControl*>(data);
  try {
    return self->Subclassed(msg, wp, lp);
  } catch (...) {
    return DefSubclassProc(hwnd, msg, wp, lp);
  }
}

LRESULT CALLBACK ChildControl::CustomProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  ChildControl* self = BoundObject<ChildControl>(hwnd, msg, lp);
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCCREATE) {
    self->hwnd_ = hwnd;
  } else if (msg == WM_NCDESTROY) {
    self->hwnd_ = nullptr;
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  try {
    return self->Custom(msg, wp, lp);
  } catch (...) {
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

}  // namespace plyscan::win32
