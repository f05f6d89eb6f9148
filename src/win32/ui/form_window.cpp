#include "win32/ui/form_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

#include "shell/placement.h"
#include "win32/geometry_win32.h"
#include "win32/ui/dark_style.h"
#include "win32/ui/win32_window_system.h"
#include "win32/wide_text.h"

namespace plyscan::win32 {

namespace {

std::int32_t ScaleTo(std::int32_t value, UINT dpi) { return ui::Scale(value, static_cast<std::int32_t>(dpi)); }

bool TabOrderBefore(const ui::ControlDesign* a, const ui::ControlDesign* b) {
  // Controls without a tab order come after those with one.
  const auto key = [](const ui::ControlDesign* d) {
    return d->tab_order == ui::kNoTabOrder ? INT32_MAX : d->tab_order;
  };
  return key(a) < key(b);
}

}  // namespace

FormWindow::FormWindow(Win32WindowSystem& system, ui::Form& form, FormWindow* owner)
    : system_(&system), form_(&form), owner_(owner) {}

FormWindow::~FormWindow() {
  form_->AttachPeer(nullptr);
  tips_.Reset();
  DestroyHwnd();  // the children's windows go with it
  children_.clear();
}

DWORD FormWindow::Style() const noexcept {
  if (form_->Design().frame == ui::Frame::kSizeableNoMaximise)
    return (WS_OVERLAPPEDWINDOW & ~static_cast<DWORD>(WS_MAXIMIZEBOX)) | WS_CLIPCHILDREN;
  return WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
}

DWORD FormWindow::ExStyle() const noexcept {
  const ui::FormDesign& d = form_->Design();
  DWORD ex = WS_EX_CONTROLPARENT;
  if (d.frame == ui::Frame::kFixedDialog) ex |= WS_EX_DLGMODALFRAME;
  if (d.own_taskbar_button) ex |= WS_EX_APPWINDOW;
  if (d.topmost) ex |= WS_EX_TOPMOST;
  return ex;
}

SIZE FormWindow::WindowSizeAt(UINT dpi) const noexcept {
  const ui::FormDesign& d = form_->Design();
  RECT r{0, 0, ScaleTo(d.client_width, dpi), ScaleTo(d.client_height, dpi)};
  AdjustWindowRectExForDpi(&r, Style(), FALSE, ExStyle(), dpi);
  return {r.right - r.left, r.bottom - r.top};
}

bool FormWindow::Create() {
  const UINT dpi = owner_ ? owner_->Dpi() : GetDpiForSystem();
  const SIZE size = WindowSizeAt(dpi);
  CreateArgs args;
  args.class_name = Wide(form_->Design().class_name);
  args.class_style = CS_DBLCLKS;
  args.title = Wide(form_->Caption());
  args.style = Style();
  args.ex_style = ExStyle();
  args.rect = {0, 0, size.cx, size.cy};
  // A dialog is owned by the hidden application window, not by the main
  // window: Windows makes the owned windows of a window topmost with it, and
  // the dialog must not stay topmost once the main window is made so again.
  args.parent = owner_ ? system_->ApplicationWindow() : nullptr;
  if (!Wnd::Create(args)) return false;
  if (Dpi() != dpi) {
    const SIZE scaled = WindowSizeAt(Dpi());
    SetWindowPos(Hwnd(), nullptr, 0, 0, scaled.cx, scaled.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  StyleTitleBar(Hwnd());
  BuildFonts();
  CreateChildren();
  ApplyFonts();
  LayOut();
  AddHints();
  form_->AttachPeer(this);
  return true;
}

void FormWindow::CreateChildren() {
  const ui::FormDesign& d = form_->Design();
  std::vector<const ui::ControlDesign*> top;
  std::vector<const ui::ControlDesign*> grouped;
  for (const ui::ControlDesign& c : d.controls) (c.parent == ui::kOnForm ? top : grouped).push_back(&c);
  // Creation order is the Tab order: the controls on the form first, then
  // those inside each group box, each set by its designed tab order.
  std::stable_sort(top.begin(), top.end(), TabOrderBefore);
  std::stable_sort(grouped.begin(), grouped.end(), TabOrderBefore);
  top.insert(top.end(), grouped.begin(), grouped.end());

  for (const ui::ControlDesign* c : top) {
    ui::Control& model = (*form_)[c->id];
    HWND parent = Hwnd();
    if (c->parent != ui::kOnForm)
      if (const ControlWindow* group = ChildById(c->parent)) parent = group->Hwnd();
    std::unique_ptr<ControlWindow> child = MakeControlWindow(*this, model);
    if (!child) continue;
    // Found by its ID from the start: a list asks the form for its entries'
    // height (WM_MEASUREITEM) while it is being made.
    children_.push_back(std::move(child));
    static_cast<void>(children_.back()->Create(parent));
  }
}

void FormWindow::BuildFonts() {
  const ui::FormDesign& d = form_->Design();
  std::vector<int> heights{d.font_height};
  for (const ui::ControlDesign& c : d.controls)
    if (c.font_height) heights.push_back(c.font_height);
  std::map<int, Font> fonts;
  for (int h : heights) {
    if (fonts.count(h)) continue;
    fonts.emplace(h, Font(CreateFontW(-ScaleTo(h, Dpi()), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                      DEFAULT_PITCH | FF_DONTCARE, Wide(d.font_face))));
  }
  fonts_.swap(fonts);  // the old fonts go after the controls have the new ones
}

HFONT FormWindow::FontFor(const ui::ControlDesign& design) const {
  const int h = design.font_height ? design.font_height : form_->Design().font_height;
  const auto at = fonts_.find(h);
  return at == fonts_.end() ? nullptr : at->second.Get();
}

int FormWindow::ItemHeightFor(const ui::ControlDesign& design) const {
  ScreenDc dc;
  SelectIn font(dc.Get(), FontFor(design));
  TEXTMETRICW tm{};
  GetTextMetricsW(dc.Get(), &tm);
  return tm.tmHeight + ScaleTo(2, Dpi());
}

void FormWindow::ApplyFonts() {
  SendMessageW(Hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(FontFor({})), FALSE);
  for (const auto& child : children_) {
    const ui::ControlDesign& d = child->Model().Design();
    child->SetFont(FontFor(d));
    child->SetLineHeight(ItemHeightFor(d));
  }
  if (tips_) SendMessageW(tips_.Get(), WM_SETFONT, reinterpret_cast<WPARAM>(FontFor({})), FALSE);
}

void FormWindow::PlaceChild(ControlWindow& child) {
  if (!child.Hwnd()) return;
  ui::ControlDesign row = child.Model().Design();
  const Size designed = ui::DesignedParentSize(form_->Design(), row);
  row.bounds = child.Model().GetBounds();
  RECT client;
  GetClientRect(GetParent(child.Hwnd()), &client);
  const Rect b = ui::PlaceControl(row, designed, {client.right, client.bottom}, static_cast<std::int32_t>(Dpi()));
  const std::int32_t width = child.FittedWidth(b.Width(), FontFor(row));
  MoveWindow(child.Hwnd(), b.left, b.top, width, b.Height(), TRUE);
}

void FormWindow::LayOut() {
  for (const auto& child : children_) PlaceChild(*child);
}

void FormWindow::AddHints() {
  tips_.Reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Hwnd(), nullptr,
                              GetModuleHandleW(nullptr), nullptr));
  if (!tips_) return;
  StyleToolTips(tips_.Get());
  SendMessageW(tips_.Get(), WM_SETFONT, reinterpret_cast<WPARAM>(FontFor({})), FALSE);
  for (const auto& child : children_) {
    const ui::ControlDesign& d = child->Model().Design();
    if (TextView(d.hint).empty() || !child->Hwnd()) continue;
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(child->Hwnd());
    tool.uId = reinterpret_cast<UINT_PTR>(child->Hwnd());
    tool.lpszText = child->HintFollowsPointer() ? LPSTR_TEXTCALLBACKW : const_cast<wchar_t*>(Wide(d.hint));
    SendMessageW(tips_.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  // Tips of several lines (what a tip that follows the pointer may tell).
  SendMessageW(tips_.Get(), TTM_SETMAXTIPWIDTH, 0, ScaleTo(480, Dpi()));
}

void FormWindow::RefreshHint() {
  if (tips_) SendMessageW(tips_.Get(), TTM_UPDATE, 0, 0);
}

LRESULT FormWindow::HintText(NMTTDISPINFOW& info) {
  const ControlWindow* child = ChildOf(reinterpret_cast<HWND>(info.hdr.idFrom));
  if (!child || !child->HintFollowsPointer()) return 0;
  hint_text_ = WideView(child->PointerHint());
  info.lpszText = hint_text_.data();
  return 0;
}

void FormWindow::ShowNormal() {
  ShowWindow(Hwnd(), SW_SHOWNORMAL);
  UpdateWindow(Hwnd());
}

ControlWindow* FormWindow::ChildById(int id) const {
  for (const auto& child : children_)
    if (child->Id() == id) return child.get();
  return nullptr;
}

ControlWindow* FormWindow::ChildOf(HWND hwnd) const {
  if (!hwnd) return nullptr;
  for (const auto& child : children_)
    if (child->Hwnd() == hwnd) return child.get();
  return nullptr;
}

LRESULT FormWindow::ColourControl(HDC dc, HWND control, UINT msg) {
  const Palette& p = CurrentStyle();
  const bool field = msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX;
  const COLORREF back = field ? p.field : p.window;
  SetTextColor(dc, IsWindowEnabled(control) ? p.text : p.text_disabled);
  SetBkColor(dc, back);
  return reinterpret_cast<LRESULT>(StyleBrush(back));
}

LRESULT FormWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: {
      RECT rect;
      GetClientRect(Hwnd(), &rect);
      FillRect(reinterpret_cast<HDC>(wp), &rect, StyleBrush(CurrentStyle().window));
      return 1;
    }
    case WM_SIZE:
      if (wp != SIZE_MINIMIZED) {
        LayOut();
        form_->DoResize();
      }
      return 0;
    case WM_COMMAND:
      // Notifications of the controls; the commands IDOK and IDCANCEL that
      // the dialog manager makes of Enter and Esc mean nothing here.
      if (lp)
        if (ControlWindow* child = ChildById(LOWORD(wp))) child->OnCommand(HIWORD(wp));
      return 0;
    case WM_NOTIFY:
      if (reinterpret_cast<const NMHDR*>(lp)->code == TTN_GETDISPINFOW)
        return HintText(*reinterpret_cast<NMTTDISPINFOW*>(lp));
      return 0;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (ControlWindow* child = ChildById(static_cast<int>(item->CtlID))) child->Draw(*item);
      return TRUE;
    }
    case WM_MEASUREITEM: {
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
      if (const ControlWindow* child = ChildById(static_cast<int>(item->CtlID)))
        item->itemHeight = static_cast<UINT>(ItemHeightFor(child->Model().Design()));
      return TRUE;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
      return ColourControl(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp), msg);
    case WM_DROPFILES:
      if (on_drop)
        on_drop(reinterpret_cast<HDROP>(wp));
      else
        DragFinish(reinterpret_cast<HDROP>(wp));
      return 0;
    case WM_CLOSE:
      if (in_modal_) {
        form_->SetModalResult(ui::ModalResult::kCancel);
      } else if (IsMainWindow()) {
        if (!form_->CloseQuery()) return 0;  // the form closes later by itself
        PostQuitMessage(0);  // the program's end: the start-up code destroys the windows
      } else {
        ShowWindow(Hwnd(), SW_HIDE);
      }
      return 0;
    default:
      return Wnd::OnMessage(msg, wp, lp);
  }
}

void FormWindow::OnDpiChanged(UINT dpi) {
  BuildFonts();
  ApplyFonts();
  for (const auto& child : children_) child->FormDpiChanged(dpi);
  LayOut();
  form_->DoResize();
  RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

bool FormWindow::PreTranslate(MSG& msg) {
  const bool key = msg.message == WM_KEYDOWN || msg.message == WM_KEYUP || msg.message == WM_CHAR;
  if (!key) return IsDialogMessageW(Hwnd(), &msg) != FALSE;
  ControlWindow* child = ChildOf(msg.hwnd);
  // A control that takes its own keys still lets Tab move the focus on.
  if (msg.wParam != VK_TAB && child && child->TakesOwnKeys()) return false;
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) return true;  // no cancel button: Esc does nothing
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN) return !child || child->TakeReturnKey();
  return IsDialogMessageW(Hwnd(), &msg) != FALSE;
}

void FormWindow::CaptionChanged() { SetWindowTextW(Hwnd(), Wide(form_->Caption())); }

Rect FormWindow::WindowRect() {
  RECT rect{};
  GetWindowRect(Hwnd(), &rect);
  return FromRECT(rect);
}

Rect FormWindow::NormalRect() {
  if (!IsIconic(Hwnd())) return WindowRect();
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(Hwnd(), &placement);
  // The normal position is in workspace coordinates: shift it by the task
  // bar's room when the bar stands at the top or the left of its monitor.
  RECT normal = placement.rcNormalPosition;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (GetMonitorInfoW(MonitorFromRect(&normal, MONITOR_DEFAULTTOPRIMARY), &monitor))
    OffsetRect(&normal, monitor.rcWork.left - monitor.rcMonitor.left, monitor.rcWork.top - monitor.rcMonitor.top);
  return FromRECT(normal);
}

void FormWindow::SetWindowRect(Rect rect) {
  SetWindowPos(Hwnd(), nullptr, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::SetStacking(ui::Stacking stacking) {
  SetWindowPos(Hwnd(), stacking == ui::Stacking::kTopmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE);
}

void FormWindow::AcceptDroppedFiles(bool accept) { DragAcceptFiles(Hwnd(), accept ? TRUE : FALSE); }

bool FormWindow::ExcludeFromCapture(bool exclude) {
  // WDA_EXCLUDEFROMCAPTURE: Windows 10 2004 and later; older systems and
  // Wine refuse it, and the caller moves the window instead.
  constexpr DWORD kExcludeFromCapture = 0x11;
  return SetWindowDisplayAffinity(Hwnd(), exclude ? kExcludeFromCapture : WDA_NONE) != FALSE;
}

void FormWindow::Close() { PostMessageW(Hwnd(), WM_CLOSE, 0, 0); }

void FormWindow::Activate() { SetForegroundWindow(Hwnd()); }

void FormWindow::CentreOnWorkArea() {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  const HWND anchor = owner_ ? owner_->Hwnd() : Hwnd();
  if (!GetMonitorInfoW(MonitorFromWindow(anchor, MONITOR_DEFAULTTOPRIMARY), &monitor)) return;
  const Rect r = WindowRect();
  const RECT& work = monitor.rcWork;
  SetWindowPos(Hwnd(), nullptr, work.left + (work.right - work.left - r.Width()) / 2,
               work.top + (work.bottom - work.top - r.Height()) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

ui::ModalResult FormWindow::ShowModal() {
  if (!shown_before_) CentreOnWorkArea();
  shown_before_ = true;
  const HWND owner = owner_ ? owner_->Hwnd() : nullptr;
  if (owner) EnableWindow(owner, FALSE);
  ShowWindow(Hwnd(), SW_SHOW);
  SetForegroundWindow(Hwnd());
  if (const HWND first = GetNextDlgTabItem(Hwnd(), nullptr, FALSE)) SetFocus(first);
  in_modal_ = true;
  form_->DoShow();

  MSG msg{};
  while (form_->GetModalResult() == ui::ModalResult::kNone) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // the loop outside ends too
      break;
    }
    if (!system_->PreTranslate(msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  in_modal_ = false;
  const ui::ModalResult result = form_->GetModalResult();
  // The owner comes back before the dialog goes, so that it is activated.
  if (owner) EnableWindow(owner, TRUE);
  ShowWindow(Hwnd(), SW_HIDE);
  if (owner) SetForegroundWindow(owner);
  return result == ui::ModalResult::kNone ? ui::ModalResult::kCancel : result;
}

}  // namespace plyscan::win32
