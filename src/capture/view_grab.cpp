#include "capture/view_grab.h"

#include "cadlink/cad_calls.h"
#include "cadlink/command_texts.h"
#include "cadlink/target_kind.h"
#include "capture/layer_fit.h"
#include "capture/pixel_copy.h"

namespace plyscan {

namespace {

// The export route: the CAD writes its view to the export file; the wanted
// rectangle comes out of it. A file that is not there leaves the picture white.
void ExportView(ViewGrabServices& grab, automation::Object& document, std::int32_t x, std::int32_t y, Bitmap& capture,
                bool& filedia_off) {
  if (grab.files.Exists(grab.export_path)) static_cast<void>(grab.files.Remove(grab.export_path));
  filedia_off = true;
  cad::SetVariable(document, u"FILEDIA", 0);
  cad::SendCommandByValue(document, cad::BmpOutCommand(grab.export_path));
  cad::SetVariable(document, u"FILEDIA", 1);
  filedia_off = false;
  StageScope copying(grab.times, Stage::kViewCopy);
  if (!grab.files.Exists(grab.export_path)) return;
  const Bitmap exported = grab.screen.LoadBitmapFile(grab.export_path);
  CopyPixels(exported, x, y, capture);
}

}  // namespace

std::optional<double> CaptureView(ViewGrabServices& grab, TextView progid, automation::Object& document,
                                  const Rect& area, Bitmap& thumbnail, bool& filedia_off,
                                  std::optional<Colour> fit_background) {
  const std::int32_t x = area.left, y = area.top;
  Bitmap capture(grab.surfaces);
  capture.SetPixelFormat(32);
  capture.SetSize(area.Width(), area.Height());
  const WindowHandle window = document.Get(u"Hwnd").AsWindowHandle(u"Hwnd");
  if (ExportsView(progid)) {
    ExportView(grab, document, x, y, capture, filedia_off);
  } else {
    StageScope copying(grab.times, Stage::kViewCopy);
    grab.screen.CopyWindow(window, x, y, capture);
  }
  StageScope shrinking(grab.times, Stage::kShrink);
  if (fit_background) {
    if (const auto fit = FitToLayer(capture, *fit_background, {thumbnail.Width(), thumbnail.Height()})) {
      PaintFitted(capture, *fit, *fit_background, thumbnail,
                  [&](const Bitmap& from, Bitmap& onto) { grab.screen.ShrinkOnto(from, onto); });
      return fit->scale;
    }
  }
  grab.screen.ShrinkOnto(capture, thumbnail);
  return std::nullopt;
}

}  // namespace plyscan
