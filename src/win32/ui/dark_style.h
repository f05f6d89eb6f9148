// The program's visual styles, drawn by the program itself so that they look
// the same wherever it runs: the built-in dark style "Windows10 Dark", and
// the standard look (system colours) for when no style is applied. Push
// buttons, check boxes, flat buttons, group boxes and the list's entries are
// painted here; edits, labels and the list get their colours through
// WM_CTLCOLOR*; the progress bar and the tool tips take the colours as
// messages; the title bar and scroll bars go dark where Windows offers it.
#pragma once

#include <windows.h>

#include <string_view>

namespace plyscan::win32 {

struct Palette {
  COLORREF window;         // form and label background
  COLORREF text;
  COLORREF text_disabled;
  COLORREF face;           // push button faces
  COLORREF face_hot;
  COLORREF face_pressed;
  COLORREF border;
  COLORREF focus;          // focus frame, check mark, selection, progress
  COLORREF field;          // edit and list background
  COLORREF selected_text;
  COLORREF tip;            // tool-tip background
  bool dark;
};

inline constexpr wchar_t kDarkStyleName[] = L"Windows10 Dark";

// The built-in style of that name, or null.
const Palette* FindStyle(std::wstring_view name) noexcept;

// Makes `style` the look of every window made afterwards; null is the standard look.
void UseStyle(const Palette* style) noexcept;
const Palette& CurrentStyle() noexcept;

// A solid brush of the colour, kept for the life of the process.
HBRUSH StyleBrush(COLORREF colour);

enum class ButtonState { kNormal, kHot, kPressed, kDisabled };

void PaintPushButton(HDC dc, const RECT& rect, std::wstring_view caption, ButtonState state, bool focused);
void PaintFlatButton(HDC dc, const RECT& rect, std::wstring_view caption, ButtonState state);
// `box` is the side of the tick box in pixels.
void PaintCheckBox(HDC dc, const RECT& rect, std::wstring_view caption, bool checked, ButtonState state,
                   bool focused, int box);
void PaintGroupFrame(HDC dc, const RECT& rect, std::wstring_view caption);
void PaintListEntry(HDC dc, const RECT& rect, std::wstring_view text, bool selected, bool focused);
// A 1-pixel frame over the non-client border of an edit or a list.
void PaintFieldBorder(HWND control, bool focused);

// Dark title bar (DWMWA_USE_IMMERSIVE_DARK_MODE) where Windows has it.
void StyleTitleBar(HWND window) noexcept;
// Dark scroll bars ("DarkMode_Explorer") where Windows has them.
void StyleScrollBars(HWND control) noexcept;
// Progress bar colours; the visual theme is taken off so they apply.
void StyleProgressBar(HWND bar) noexcept;
void StyleToolTips(HWND tips) noexcept;

}  // namespace plyscan::win32
