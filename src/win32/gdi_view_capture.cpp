#include "win32/gdi_view_capture.h"

#include <windows.h>

#include "base/failure.h"
#include "base/platform.h"
#include "win32/dib_info.h"
#include "win32/gdi.h"
#include "win32/geometry_win32.h"
#include "win32/scoped_dib.h"
#include "win32/wide_text.h"

namespace plyscan::win32 {

namespace {

HWND AsHwnd(WindowHandle window) { return reinterpret_cast<HWND>(static_cast<UINT_PTR>(window)); }

}  // namespace

Rect GdiViewScreen::FirstChildBox(WindowHandle window) {
  const HWND child = window ? GetWindow(AsHwnd(window), GW_CHILD) : nullptr;
  RECT r{};
  if (!child || !GetWindowRect(child, &r)) return {};
  return FromRECT(r);
}

void GdiViewScreen::SetCursorPos(Point at) { ::SetCursorPos(at.x, at.y); }

void GdiViewScreen::CopyWindow(WindowHandle window, std::int32_t x, std::int32_t y, Bitmap& into) {
  if (into.Width() <= 0 || into.Height() <= 0) return;
  const ClientDc source(AsHwnd(window));
  if (!source.Get()) throw Failure(u"GetDC of the view failed (error " + DecimalText(GetLastError()) + u")");
  ScopedDib dib(into);
  if (!BitBlt(dib.Dc(), 0, 0, into.Width(), into.Height(), source.Get(), x, y, SRCCOPY | CAPTUREBLT)) {
    // Wine cannot copy from the device context of another process's child
    // window (an MDI CAD's document window is one). The window is in front
    // and unobscured while the view is copied, so the screen shows the same
    // pixels at its place. A copy that fails again leaves the picture as it
    // was.
    POINT origin{0, 0};
    ClientToScreen(AsHwnd(window), &origin);
    const ScreenDc screen;
    BitBlt(dib.Dc(), 0, 0, into.Width(), into.Height(), screen.Get(), origin.x + x, origin.y + y, SRCCOPY | CAPTUREBLT);
  }
  dib.CopyTo(into);
}

void GdiViewScreen::ShrinkOnto(const Bitmap& from, Bitmap& onto) {
  if (from.Width() <= 0 || from.Height() <= 0 || onto.Width() <= 0 || onto.Height() <= 0) return;
  const ScopedDib source(from);
  ScopedDib target(onto);
  SetStretchBltMode(target.Dc(), WHITEONBLACK);
  StretchBlt(target.Dc(), 0, 0, onto.Width(), onto.Height(), source.Dc(), 0, 0, from.Width(), from.Height(), SRCCOPY);
  target.CopyTo(onto);
}

Bitmap GdiViewScreen::LoadBitmapFile(const Text& path) {
  GdiBitmap loaded(
      static_cast<HBITMAP>(LoadImageW(nullptr, Wide(path), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
  if (!loaded) throw Failure(u"cannot read " + path + u" as a bitmap (error " + DecimalText(GetLastError()) + u")");
  BITMAP info{};
  if (!GetObjectW(loaded.Get(), sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight == 0)
    throw Failure(u"cannot read " + path + u" as a bitmap");
  Bitmap bitmap(SystemSurfaces());
  bitmap.SetPixelFormat(32);
  bitmap.SetSize(info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight);
  BITMAPINFO wanted = DibInfoOf(bitmap);
  const ScreenDc screen;
  if (GetDIBits(screen.Get(), loaded.Get(), 0, static_cast<UINT>(bitmap.Height()), bitmap.Row(0), &wanted,
                DIB_RGB_COLORS) == 0)
    throw Failure(u"cannot read the pixels of " + path);
  return bitmap;
}

}  // namespace plyscan::win32
