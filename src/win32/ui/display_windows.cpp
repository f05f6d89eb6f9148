#include "win32/ui/display_windows.h"

#include <commctrl.h>

#include <algorithm>

#include "shell/window_class_names.h"
#include "win32/gdi.h"
#include "win32/ui/form_window.h"
#include "win32/wide_text.h"

namespace plyscan::win32 {

void Label::Describe(CreateArgs& args) const {
  args.class_name = WC_STATICW;
  args.system_class = true;
  args.style |= SS_LEFT | SS_NOPREFIX;
}

std::int32_t Label::FittedWidth(std::int32_t width, HFONT font) const {
  ScreenDc dc;
  SelectIn select(dc.Get(), font);
  const std::wstring_view text = WideView(Model().GetText());
  SIZE extent{};
  GetTextExtentPoint32W(dc.Get(), text.data(), static_cast<int>(text.size()), &extent);
  return std::max(width, static_cast<std::int32_t>(extent.cx));
}

void Label::OnChanged(ui::Property what) {
  ControlWindow::OnChanged(what);
  if (what == ui::Property::kText) Form().PlaceChild(*this);  // to its new text's width
}

void ProgressBar::Describe(CreateArgs& args) const {
  args.class_name = PROGRESS_CLASSW;
  args.system_class = true;
  args.title = L"";
}

void ProgressBar::OnCreated() {
  StyleProgressBar(Hwnd());
  SendMessageW(Hwnd(), PBM_SETRANGE32, 0, Model().Max());
  SendMessageW(Hwnd(), PBM_SETPOS, static_cast<WPARAM>(Model().Position()), 0);
}

void ProgressBar::OnChanged(ui::Property what) {
  switch (what) {
    case ui::Property::kPosition:
      SendMessageW(Hwnd(), PBM_SETPOS, static_cast<WPARAM>(Model().Position()), 0);
      break;
    case ui::Property::kMax:
      SendMessageW(Hwnd(), PBM_SETRANGE32, 0, Model().Max());
      break;
    default:
      ControlWindow::OnChanged(what);
      break;
  }
}

void GroupFrame::Describe(CreateArgs& args) const {
  args.class_name = Wide(ui::kGroupFrameClass);
  args.class_style = CS_HREDRAW | CS_VREDRAW;
  args.style |= WS_CLIPCHILDREN;
  args.style &= ~static_cast<DWORD>(WS_TABSTOP);
  args.ex_style |= WS_EX_CONTROLPARENT;  // Tab goes on into the controls inside
}

void GroupFrame::Paint(HDC dc, const RECT& client) { PaintGroupFrame(dc, client, WideView(Model().GetText())); }

LRESULT GroupFrame::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
      return SendMessageW(Form().Hwnd(), msg, wp, lp);
    default:
      return OwnClassControl::OnMessage(msg, wp, lp);
  }
}

}  // namespace plyscan::win32
