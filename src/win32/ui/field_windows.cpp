#include "win32/ui/field_windows.h"

#include <commctrl.h>
#include <imm.h>

#include <string>

#include "win32/wide_text.h"

namespace plyscan::win32 {

namespace {

Text WindowText(HWND hwnd) {
  const int length = GetWindowTextLengthW(hwnd);
  std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(hwnd, buffer.data(), length + 1);
  return FromWide({buffer.data(), static_cast<std::size_t>(got > 0 ? got : 0)});
}

}  // namespace

LRESULT FramedField::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != WM_NCPAINT) return Default(msg, wp, lp);
  const LRESULT result = Default(msg, wp, lp);
  PaintFieldBorder(Hwnd(), focused_);
  return result;
}

void FramedField::FocusChanged(bool focused) {
  focused_ = focused;
  RedrawWindow(Hwnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void EditField::Describe(CreateArgs& args) const {
  args.class_name = WC_EDITW;
  args.system_class = true;
  args.style |= ES_AUTOHSCROLL | WS_BORDER | ((Model().Design().flags & ui::kCentred) ? ES_CENTER : ES_LEFT);
}

bool EditField::TakeReturnKey() { return false; }  // to the field, as a character

void EditField::OnCommand(WORD code) {
  if (code == EN_CHANGE && !Syncing()) Model().UserSetText(WindowText(Hwnd()));
  if (code == EN_SETFOCUS || code == EN_KILLFOCUS) FocusChanged(code == EN_SETFOCUS);
}

LRESULT EditField::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_GETDLGCODE: {
      const LRESULT code = Default(msg, wp, lp);
      // Enter in a field with a key handler goes to the field, not to the
      // form's keyboard handling.
      if (Model().OnKeyPress && wp == VK_RETURN) return code | DLGC_WANTALLKEYS;
      return code;
    }
    case WM_CHAR:
      if (Model().OnKeyPress) {
        auto key = static_cast<char16_t>(wp);
        Model().OnKeyPress(key);
        if (key == 0) return 0;
        wp = key;
      }
      break;
    case WM_SETFOCUS:
      if (Model().Design().flags & ui::kImeOff) {
        const LRESULT result = Default(msg, wp, lp);
        if (const HIMC context = ImmGetContext(Hwnd())) {
          ImmSetOpenStatus(context, FALSE);
          ImmReleaseContext(Hwnd(), context);
        }
        return result;
      }
      break;
    default:
      break;
  }
  return FramedField::OnMessage(msg, wp, lp);
}

void ListField::Describe(CreateArgs& args) const {
  args.class_name = WC_LISTBOXW;
  args.system_class = true;
  args.title = L"";
  args.style |= LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER;
}

void ListField::OnCreated() {
  StyleScrollBars(Hwnd());
  SyncItems();
}

void ListField::SetLineHeight(int height) noexcept {
  if (Hwnd()) SendMessageW(Hwnd(), LB_SETITEMHEIGHT, 0, height);
}

void ListField::OnChanged(ui::Property what) {
  switch (what) {
    case ui::Property::kItems:
      SyncItems();
      break;
    case ui::Property::kItemIndex:
      SendMessageW(Hwnd(), LB_SETCURSEL, static_cast<WPARAM>(Model().ItemIndex()), 0);
      break;
    default:
      FramedField::OnChanged(what);
      break;
  }
}

void ListField::SyncItems() {
  SendMessageW(Hwnd(), WM_SETREDRAW, FALSE, 0);
  SendMessageW(Hwnd(), LB_RESETCONTENT, 0, 0);
  for (const Text& item : Model().Items()) SendMessageW(Hwnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item)));
  SendMessageW(Hwnd(), LB_SETCURSEL, static_cast<WPARAM>(Model().ItemIndex()), 0);
  SendMessageW(Hwnd(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(Hwnd(), nullptr, TRUE);
}

void ListField::OnCommand(WORD code) {
  if (code == LBN_SELCHANGE) {
    Model().UserSetItemIndex(static_cast<std::int32_t>(SendMessageW(Hwnd(), LB_GETCURSEL, 0, 0)));
    Click();
  }
  if (code == LBN_SETFOCUS || code == LBN_KILLFOCUS) FocusChanged(code == LBN_SETFOCUS);
}

void ListField::Draw(const DRAWITEMSTRUCT& item) {
  const bool focused = ShowsFocus(item);
  const auto& items = Model().Items();
  if (item.itemID == static_cast<UINT>(-1) || item.itemID >= items.size()) {
    // No entry to draw (an empty list that has the focus).
    FillRect(item.hDC, &item.rcItem, StyleBrush(CurrentStyle().field));
    if (focused) DrawFocusRect(item.hDC, &item.rcItem);
    return;
  }
  PaintListEntry(item.hDC, item.rcItem, WideView(items[item.itemID]), (item.itemState & ODS_SELECTED) != 0, focused);
}

}  // namespace plyscan::win32
