#include "win32/ui/dark_style.h"

#include <commctrl.h>
#include <dwmapi.h>
#include <uxtheme.h>

#include <array>
#include <map>

#include "win32/gdi.h"

namespace plyscan::win32 {

namespace {

constexpr Palette kWindows10Dark{
    RGB(43, 43, 43),    // window
    RGB(240, 240, 240), // text
    RGB(120, 120, 120), // text_disabled
    RGB(58, 58, 58),    // face
    RGB(76, 76, 76),    // face_hot
    RGB(98, 98, 98),    // face_pressed
    RGB(100, 100, 100), // border
    RGB(0, 120, 215),   // focus
    RGB(28, 28, 28),    // field
    RGB(255, 255, 255), // selected_text
    RGB(32, 32, 32),    // tip
    true,
};

struct NamedStyle {
  const wchar_t* name;
  const Palette* palette;
};

constexpr std::array<NamedStyle, 1> kStyles{{{kDarkStyleName, &kWindows10Dark}}};

Palette SystemPalette() noexcept {
  return {GetSysColor(COLOR_BTNFACE),   GetSysColor(COLOR_BTNTEXT),   GetSysColor(COLOR_GRAYTEXT),
          GetSysColor(COLOR_BTNFACE),   GetSysColor(COLOR_3DLIGHT),   GetSysColor(COLOR_3DSHADOW),
          GetSysColor(COLOR_3DSHADOW),  GetSysColor(COLOR_HIGHLIGHT), GetSysColor(COLOR_WINDOW),
          GetSysColor(COLOR_HIGHLIGHTTEXT), GetSysColor(COLOR_INFOBK), false};
}

const Palette* g_style = nullptr;
Palette g_standard{};

void FillColour(HDC dc, const RECT& rect, COLORREF colour) { FillRect(dc, &rect, StyleBrush(colour)); }

void FrameColour(HDC dc, const RECT& rect, COLORREF colour) { FrameRect(dc, &rect, StyleBrush(colour)); }

void DrawCaption(HDC dc, RECT rect, std::wstring_view caption, COLORREF colour, UINT align) {
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  DrawTextW(dc, caption.data(), static_cast<int>(caption.size()), &rect,
            align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

COLORREF FaceFor(const Palette& p, ButtonState state) {
  switch (state) {
    case ButtonState::kHot:
      return p.face_hot;
    case ButtonState::kPressed:
      return p.face_pressed;
    case ButtonState::kNormal:
    case ButtonState::kDisabled:
      break;
  }
  return p.face;
}

}  // namespace

const Palette* FindStyle(std::wstring_view name) noexcept {
  for (const NamedStyle& s : kStyles)
    if (name == s.name) return s.palette;
  return nullptr;
}

void UseStyle(const Palette* style) noexcept {
  g_style = style;
  if (!style) g_standard = SystemPalette();
}

const Palette& CurrentStyle() noexcept { return g_style ? *g_style : g_standard; }

HBRUSH StyleBrush(COLORREF colour) {
  static std::map<COLORREF, Brush> brushes;
  auto at = brushes.find(colour);
  if (at == brushes.end()) at = brushes.emplace(colour, Brush(CreateSolidBrush(colour))).first;
  return at->second.Get();
}

void PaintPushButton(HDC dc, const RECT& rect, std::wstring_view caption, ButtonState state, bool focused) {
  const Palette& p = CurrentStyle();
  FillColour(dc, rect, FaceFor(p, state));
  FrameColour(dc, rect, focused ? p.focus : p.border);
  if (focused) {
    RECT inner = rect;
    InflateRect(&inner, -1, -1);
    FrameColour(dc, inner, p.focus);
  }
  DrawCaption(dc, rect, caption, state == ButtonState::kDisabled ? p.text_disabled : p.text, DT_CENTER);
}

void PaintFlatButton(HDC dc, const RECT& rect, std::wstring_view caption, ButtonState state) {
  const Palette& p = CurrentStyle();
  // Flat: only the face under the mouse or the finger stands out.
  FillColour(dc, rect, state == ButtonState::kHot || state == ButtonState::kPressed ? FaceFor(p, state) : p.window);
  if (state == ButtonState::kHot || state == ButtonState::kPressed) FrameColour(dc, rect, p.border);
  DrawCaption(dc, rect, caption, state == ButtonState::kDisabled ? p.text_disabled : p.text, DT_CENTER);
}

void PaintCheckBox(HDC dc, const RECT& rect, std::wstring_view caption, bool checked, ButtonState state,
                   bool focused, int box) {
  const Palette& p = CurrentStyle();
  FillColour(dc, rect, p.window);
  const int top = rect.top + (rect.bottom - rect.top - box) / 2;
  const RECT square{rect.left, top, rect.left + box, top + box};
  const COLORREF fill = checked ? p.focus : state == ButtonState::kPressed ? p.face_pressed
                                        : state == ButtonState::kHot     ? p.face_hot
                                                                         : p.field;
  FillColour(dc, square, state == ButtonState::kDisabled ? p.window : fill);
  FrameColour(dc, square, checked ? p.focus : p.border);
  if (checked) {
    // The tick: two strokes in the text colour, scaled with the box.
    Pen pen(CreatePen(PS_SOLID, box >= 20 ? 2 : 1, p.selected_text));
    SelectIn select(dc, pen.Get());
    const int u = box;
    const POINT tick[] = {{square.left + u * 3 / 13, top + u * 6 / 13},
                          {square.left + u * 5 / 13, top + u * 9 / 13},
                          {square.left + u * 10 / 13, top + u * 3 / 13}};
    Polyline(dc, tick, 3);
  }
  RECT text = rect;
  text.left += box + box / 3 + 1;
  DrawCaption(dc, text, caption, state == ButtonState::kDisabled ? p.text_disabled : p.text, DT_LEFT);
  if (focused) {
    SetTextColor(dc, p.text);
    SetBkColor(dc, p.window);
    RECT measure = text;
    DrawTextW(dc, caption.data(), static_cast<int>(caption.size()), &measure,
              DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    const int height = measure.bottom - measure.top;
    RECT focus{text.left - 1, rect.top + (rect.bottom - rect.top - height) / 2 - 1, measure.right + 1, 0};
    focus.bottom = focus.top + height + 2;
    DrawFocusRect(dc, &focus);
  }
}

void PaintGroupFrame(HDC dc, const RECT& rect, std::wstring_view caption) {
  const Palette& p = CurrentStyle();
  FillColour(dc, rect, p.window);
  FrameColour(dc, rect, p.border);
  if (!caption.empty()) {
    RECT text{rect.left + 8, rect.top, rect.right - 8, rect.top + 16};
    DrawCaption(dc, text, caption, p.text, DT_LEFT);
  }
}

void PaintListEntry(HDC dc, const RECT& rect, std::wstring_view text, bool selected, bool focused) {
  const Palette& p = CurrentStyle();
  FillColour(dc, rect, selected ? p.focus : p.field);
  RECT inner = rect;
  inner.left += 2;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, selected ? p.selected_text : p.text);
  DrawTextW(dc, text.data(), static_cast<int>(text.size()), &inner,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_EXPANDTABS);
  if (focused) DrawFocusRect(dc, &rect);
}

void PaintFieldBorder(HWND control, bool focused) {
  const Palette& p = CurrentStyle();
  WindowDc dc(control);
  if (!dc.Get()) return;
  RECT rect;
  GetWindowRect(control, &rect);
  OffsetRect(&rect, -rect.left, -rect.top);
  FrameColour(dc.Get(), rect, focused ? p.focus : p.border);
}

void StyleTitleBar(HWND window) noexcept {
  const BOOL dark = CurrentStyle().dark ? TRUE : FALSE;
  // DWMWA_USE_IMMERSIVE_DARK_MODE is 20 since Windows 10 20H1 and was 19 before.
  if (FAILED(DwmSetWindowAttribute(window, 20, &dark, sizeof dark)))
    DwmSetWindowAttribute(window, 19, &dark, sizeof dark);
}

void StyleScrollBars(HWND control) noexcept {
  if (CurrentStyle().dark) SetWindowTheme(control, L"DarkMode_Explorer", nullptr);
}

void StyleProgressBar(HWND bar) noexcept {
  const Palette& p = CurrentStyle();
  SetWindowTheme(bar, L"", L"");
  SendMessageW(bar, PBM_SETBKCOLOR, 0, static_cast<LPARAM>(p.field));
  SendMessageW(bar, PBM_SETBARCOLOR, 0, static_cast<LPARAM>(p.focus));
}

void StyleToolTips(HWND tips) noexcept {
  const Palette& p = CurrentStyle();
  SetWindowTheme(tips, L"", L"");
  SendMessageW(tips, TTM_SETTIPBKCOLOR, static_cast<WPARAM>(p.tip), 0);
  SendMessageW(tips, TTM_SETTIPTEXTCOLOR, static_cast<WPARAM>(p.text), 0);
}

}  // namespace plyscan::win32
