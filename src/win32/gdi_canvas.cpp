#include "win32/gdi_canvas.h"

#include <algorithm>

#include "win32/dib_info.h"
#include "win32/wide_text.h"

namespace plyscan::win32 {

namespace {

COLORREF Ref(Colour colour) { return static_cast<COLORREF>(colour) & 0xFFFFFF; }

RECT ToRect(const Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

GdiCanvas::GdiCanvas(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {
  SelectObject(dc_, GetStockObject(DC_PEN));
  SelectObject(dc_, GetStockObject(DC_BRUSH));
  SetDCPenColor(dc_, 0);
  SetDCBrushColor(dc_, Ref(brush_));
  SetTextAlign(dc_, TA_LEFT | TA_TOP | TA_NOUPDATECP);
}

GdiCanvas::~GdiCanvas() {
  // The DC gets its own objects back before our fonts go.
  if (saved_) RestoreDC(dc_, saved_);
}

void GdiCanvas::FillRect(const Rect& rect, Colour colour) {
  if (rect.Empty()) return;
  const RECT r = ToRect(rect);
  // An opaque empty text fills the rectangle without a brush.
  const COLORREF back = SetBkColor(dc_, Ref(colour));
  ExtTextOutW(dc_, r.left, r.top, ETO_OPAQUE, &r, nullptr, 0, nullptr);
  SetBkColor(dc_, back);
}

void GdiCanvas::SetPen(Colour colour) {
  pen_ = colour;
  SetDCPenColor(dc_, Ref(colour));
}

void GdiCanvas::SetBrush(Colour colour) {
  brush_ = colour;
  if (hollow_) SelectObject(dc_, GetStockObject(DC_BRUSH));
  hollow_ = false;
  SetDCBrushColor(dc_, Ref(colour));
}

void GdiCanvas::SetHollowBrush() {
  hollow_ = true;
  SelectObject(dc_, GetStockObject(NULL_BRUSH));
}

void GdiCanvas::Rectangle(const Rect& rect) { ::Rectangle(dc_, rect.left, rect.top, rect.right, rect.bottom); }

HFONT GdiCanvas::FontFor(const FontSpec& font) {
  for (const MadeFont& made : fonts_)
    if (made.height == font.height && made.face == font.face) return made.font.Get();
  LOGFONTW log{};
  log.lfHeight = -font.height;
  log.lfWeight = FW_NORMAL;
  log.lfCharSet = DEFAULT_CHARSET;
  log.lfQuality = DEFAULT_QUALITY;
  const std::size_t length = std::min<std::size_t>(font.face.size(), LF_FACESIZE - 1);
  WideView(font.face).copy(log.lfFaceName, length);
  fonts_.push_back({font.face, font.height, GdiObject<HFONT>(CreateFontIndirectW(&log))});
  return fonts_.back().font.Get();
}

void GdiCanvas::SetFont(const FontSpec& font) {
  if (HFONT handle = FontFor(font)) SelectObject(dc_, handle);
  SetTextColor(dc_, Ref(font.colour));
  font_ = font;
}

std::int32_t GdiCanvas::TextWidth(TextView text) {
  SIZE size{};
  GetTextExtentPoint32W(dc_, WideView(text).data(), static_cast<int>(text.size()), &size);
  return size.cx;
}

void GdiCanvas::WriteText(std::int32_t x, std::int32_t y, TextView text) {
  SetBkMode(dc_, hollow_ ? TRANSPARENT : OPAQUE);
  SetBkColor(dc_, Ref(brush_));
  ExtTextOutW(dc_, x, y, 0, nullptr, WideView(text).data(), static_cast<UINT>(text.size()), nullptr);
}

void GdiCanvas::DrawBitmap(std::int32_t x, std::int32_t y, const Bitmap& bitmap) {
  if (bitmap.Width() <= 0 || bitmap.Height() <= 0) return;
  const BITMAPINFO info = DibInfoOf(bitmap);
  SetDIBitsToDevice(dc_, x, y, static_cast<DWORD>(bitmap.Width()), static_cast<DWORD>(bitmap.Height()), 0, 0, 0,
                    static_cast<UINT>(bitmap.Height()), bitmap.Row(0), &info, DIB_RGB_COLORS);
}

void GdiCanvas::FocusRect(const Rect& rect) {
  const RECT r = ToRect(rect);
  const COLORREF text = SetTextColor(dc_, RGB(0, 0, 0));
  const COLORREF back = SetBkColor(dc_, RGB(255, 255, 255));
  DrawFocusRect(dc_, &r);
  SetTextColor(dc_, text);
  SetBkColor(dc_, back);
}

Colour GdiCanvas::Pixel(std::int32_t x, std::int32_t y) {
  const COLORREF c = GetPixel(dc_, x, y);
  return c == CLR_INVALID ? -1 : static_cast<Colour>(c);
}

}  // namespace plyscan::win32
