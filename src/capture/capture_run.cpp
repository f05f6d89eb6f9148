#include "capture/capture_run.h"

#include <algorithm>
#include <optional>

#include "base/failure.h"
#include "cadlink/cad_calls.h"
#include "cadlink/command_texts.h"
#include "cadlink/command_variables.h"
#include "cadlink/target_kind.h"
#include "capture/capture_geometry.h"
#include "capture/monochrome.h"
#include "capture/rgb_text.h"
#include "layers/layer_switches.h"

namespace plyscan {

namespace {

using automation::ObjectRef;
using automation::Variant;

// The window is to close: the run stops where it is.
struct Stopped : Failure {
  Stopped() : Failure(u"the capture stopped: the window is closing") {}
};

// The save of the layer state failed: nothing may change then.
struct NotSaved : Failure {
  NotSaved() : Failure(u"the capture did not start: the layer state could not be saved") {}
};

// The drawing's layers back as they were before the run: the restore
// command, and where it fails the switches the first pass read, by name.
void RestoreLayers(CaptureHost& host, automation::Object* layers, std::int32_t count, const LayerSnapshot& records) {
  if (host.RestoreLayerState() || !layers) return;
  PutSwitchesBack(*layers, count, records);
}

// What the run has changed in the drawing and not put back yet. A run that
// ends by a failure (or a close) undoes it in this order, each step on its
// own; once the server has gone, no further call is tried.
class PutBack {
 public:
  PutBack(CaptureHost& host, FailureTrace* trace, const LayerSnapshot& records)
      : host_(host), trace_(trace), records_(records) {}

  bool restore_layers = false;                         // a layer text was sent
  cad::CommandVariables* command_variables = nullptr;  // "EXPERT" 5 and "CMDECHO" 0
  bool filedia = false;                                // "FILEDIA" 0 by the export route
  std::optional<std::int32_t> grid_mode;
  std::optional<std::int32_t> ucs_icon;
  bool selection_used = false;
  automation::Object* document = nullptr;
  automation::Object* selection = nullptr;
  automation::Object* layers = nullptr;
  std::int32_t layer_count = 0;

  void AfterFailure(bool server_gone) noexcept {
    GuardedSteps cad(trace_, server_gone);
    if (restore_layers) cad.Run([&] { RestoreLayers(host_, layers, layer_count, records_); });
    if (command_variables) command_variables->PutBackWith([&](auto&& step) { cad.Run(step); });
    if (filedia) cad.Run([&] { cad::SetVariable(*document, u"FILEDIA", 1); });
    if (grid_mode) cad.Run([&] { cad::SetVariable(*document, u"GRIDMODE", static_cast<std::int16_t>(*grid_mode)); });
    if (ucs_icon) cad.Run([&] { cad::SetVariable(*document, u"UCSICON", static_cast<std::int16_t>(*ucs_icon)); });
    if (selection_used) cad.Run([&] { selection->Call(u"Clear"); });
    // The window's own steps, whatever became of the server.
    GuardedSteps window(trace_);
    window.Run([&] {
      host_.Relayout();
      host_.Progress().SetPosition(0);
      host_.Progress().SetVisible(false);
    });
    window.Run([&] { host_.BackAfterCapture(); });
  }

 private:
  CaptureHost& host_;
  FailureTrace* trace_;
  const LayerSnapshot& records_;
};

class CaptureRun {
 public:
  CaptureRun(CaptureServices& services, CaptureHost& host, TextView progid, LayerSnapshot& records)
      : s_(services), host_(host), progid_(progid), records_(records), put_back_(host, services.cad.trace, records) {}

  void Run() {
    const auto target = Connect(s_.cad, progid_, Unminimize::kYes);
    if (!target) return;
    cad_window_ = target->window;
    try {
      Body(*target->application);
    } catch (const AutomationFailure& failure) {
      put_back_.AfterFailure(hr::ServerGone(failure.HResult()));
      throw;
    } catch (...) {
      put_back_.AfterFailure(false);
      throw;
    }
  }

 private:
  // A close asked for while a call waited takes effect as soon as it returns.
  void Check() {
    if (Asked() == StopRequest::kNow) throw Stopped{};
  }
  StopRequest Asked() {
    StageScope taking(s_.grab.times, Stage::kMessages);
    return host_.Stop(cad_window_);
  }

  void Body(automation::Object& application);
  // "VIEWSIZE", "EXTMIN" and "EXTMAX", and the capture rectangle from them.
  void ReadViewExtents();
  void ReadLayers(automation::Object& layers, std::int32_t count);
  // One layer alone, counted and grabbed into record `index`.
  void CaptureLayer(std::size_t index);

  CaptureServices& s_;
  CaptureHost& host_;
  TextView progid_;
  LayerSnapshot& records_;
  PutBack put_back_;

  automation::Object* application_ = nullptr;
  // Held by the run, not by Body, so that the put-back can still use them.
  ObjectRef document_;
  ObjectRef selection_;
  ObjectRef layers_;
  std::optional<cad::CommandVariables> variables_;
  Colour background_ = 0;
  bool fit_layers_ = false;
  Variant extents_min_;
  Variant extents_max_;
  std::optional<Rect> rect_;
  std::int32_t view_width_ = 0;
  std::int32_t view_height_ = 0;
  Rect view_;
  bool park_cursor_ = false;
  bool frozen_read_ = false;
  WindowHandle cad_window_ = 0;
};

void CaptureRun::ReadViewExtents() {
  const double view_size = cad::GetVariable(*document_, u"VIEWSIZE").AsDouble(u"VIEWSIZE");
  extents_min_ = cad::GetVariable(*document_, u"EXTMIN");
  extents_max_ = cad::GetVariable(*document_, u"EXTMAX");
  rect_ = CaptureRectangle(view_width_, view_height_, view_size, extents_min_.ElementAsDouble(0, u"EXTMIN"),
                           extents_min_.ElementAsDouble(1, u"EXTMIN"), extents_max_.ElementAsDouble(0, u"EXTMAX"),
                           extents_max_.ElementAsDouble(1, u"EXTMAX"));
}

void CaptureRun::Body(automation::Object& application) {
  application_ = &application;
  if (!host_.SaveLayerState()) throw NotSaved{};
  Check();
  document_ = ActiveDocument(application);
  selection_ = document_->Get(u"ActiveSelectionset").AsObject(u"ActiveSelectionset");
  background_ = ParseRgbText(host_.BackgroundText());
  fit_layers_ = host_.FitLayer();
  layers_ = document_->Get(u"Layers").AsObject(u"Layers");
  automation::Object* const layers = layers_.get();
  put_back_.document = document_.get();
  put_back_.selection = selection_.get();
  put_back_.layers = layers;
  Check();
  cad::ZoomExtents(application, progid_);
  Check();

  // The view: its size in pixels, its corner on the screen, its scale.
  const Variant screen = cad::GetVariable(*document_, u"SCREENSIZE");
  const std::int32_t width = screen.ElementAsInt32(0, u"SCREENSIZE");
  const std::int32_t height = screen.ElementAsInt32(1, u"SCREENSIZE");
  const WindowHandle document_window = document_->Get(u"HWND").AsWindowHandle(u"HWND");
  view_ = s_.grab.screen.FirstChildBox(document_window);
  // The cursor waits on the view's corner, outside the copied drawing, so
  // that neither it nor a hover highlight the CAD draws under it is in a
  // picture.
  park_cursor_ = ParksCursorOnView(progid_);
  if (park_cursor_) s_.grab.screen.SetCursorPos(view_.TopLeft());
  Check();

  const std::int32_t grid_mode = cad::GetVariable(*document_, u"GRIDMODE").AsInt32(u"GRIDMODE");
  cad::SetVariable(*document_, u"GRIDMODE", 0);
  put_back_.grid_mode = grid_mode;
  const std::int32_t ucs_icon = cad::GetVariable(*document_, u"UCSICON").AsInt32(u"UCSICON");
  cad::SetVariable(*document_, u"UCSICON", 0);
  put_back_.ucs_icon = ucs_icon;
  Check();

  view_width_ = width;
  view_height_ = height;
  ReadViewExtents();
  Check();

  const std::int32_t count = layers->Get(u"Count").AsInt32(u"Count");
  put_back_.layer_count = count;
  ReleaseThumbnails(records_);
  ResizeSnapshot(records_, count > 0 ? static_cast<std::size_t>(count) : 0);
  Check();

  if (count > 0) {
    ProgressDisplay& progress = host_.Progress();
    progress.SetMax(count);
    progress.SetPosition(0);
    put_back_.command_variables = &variables_.emplace(*document_, s_.cad.trace);
    ReadLayers(*layers, count);
    SortByName(records_, s_.collator);
    progress.SetVisible(true);
    progress.SetPosition(0);

    frozen_read_ = std::any_of(records_.begin(), records_.end(), [](const LayerRecord& r) { return r.frozen; });
    // Esc during the first pass ends the run before the first picture.
    for (std::size_t i = 0; i < records_.size() && Asked() == StopRequest::kNone; ++i) CaptureLayer(i);
    Check();

    RestoreLayers(host_, layers, count, records_);
    put_back_.restore_layers = false;
    variables_->PutBack();
    put_back_.command_variables = nullptr;
    cad::Regen(*document_);
  }

  cad::SetVariable(*document_, u"GRIDMODE", static_cast<std::int16_t>(grid_mode));
  put_back_.grid_mode.reset();
  cad::SetVariable(*document_, u"UCSICON", static_cast<std::int16_t>(ucs_icon));
  put_back_.ucs_icon.reset();
  host_.Relayout();
  host_.ShowFirstCell();
  selection_->Call(u"Clear");
  put_back_.selection_used = false;
  host_.Progress().SetPosition(0);
  host_.Progress().SetVisible(false);
  host_.BackAfterCapture();
}

void CaptureRun::ReadLayers(automation::Object& layers, std::int32_t count) {
  ProgressDisplay& progress = host_.Progress();
  for (std::int32_t i = 0; i < count; ++i) {
    progress.SetPosition(progress.Position() + 1);
    {
      StageScope letting(s_.grab.times, Stage::kMessages);
      host_.ProcessMessages();
    }
    Check();
    const ObjectRef layer = layers.Get(u"Item", {Variant::Int32(i)}).AsObject(u"Item");
    LayerRecord& record = records_[static_cast<std::size_t>(i)];
    record.name = layer->Get(u"Name").AsText(u"Name");
    record.locked = layer->Get(u"Lock").AsBool(u"Lock");
    record.frozen = layer->Get(u"Freeze").AsBool(u"Freeze");
    record.on = layer->Get(u"LayerOn").AsBool(u"LayerOn");
  }
}

void CaptureRun::CaptureLayer(std::size_t index) {
  ProgressDisplay& progress = host_.Progress();
  progress.SetPosition(progress.Position() + 1);
  LayerRecord& record = records_[index];

  put_back_.restore_layers = true;
  cad::SendCommand(*document_, cad::CaptureLayerCommand(record.name));
  Check();
  cad::ZoomExtents(*application_, progid_);
  Check();
  if (index == 0) {
    // Every layer is thawed now. The extents read before left out the
    // layers that were frozen then, and the view is zoomed to all of them:
    // read both again, or the pictures and counts of those layers are wrong.
    if (frozen_read_) ReadViewExtents();
    if (rect_ && !ExportsView(progid_)) {
      const Rect copied = rect_->Offset(view_.left, view_.top);
      host_.KeepOutOfCapture(copied);
    }
  }
  put_back_.selection_used = true;
  selection_->Call(u"Clear");
  cad::SelectCrossing(*selection_, extents_min_, extents_max_);
  record.object_count = selection_->Get(u"Count").AsInt32(u"Count");
  Check();
  if (park_cursor_) s_.grab.screen.SetCursorPos(view_.TopLeft());

  // The picture: white unless the drawing's rectangle could be computed.
  Bitmap picture(s_.grab.surfaces);
  picture.SetPixelFormat(32);
  const Size size = host_.Thumbnail();
  picture.SetSize(size.width, size.height);
  record.fit_scale = 0;
  if (rect_) {
    const auto scale = CaptureView(s_.grab, progid_, *document_, *rect_, picture, put_back_.filedia,
                                   fit_layers_ ? std::optional<Colour>(background_) : std::nullopt);
    record.fit_scale = scale.value_or(0);
  }
  Check();
  if (host_.Monochrome()) ApplyMonochrome(picture, background_, 0xFFFFFF);
  record.thumbnail = std::make_unique<Bitmap>(std::move(picture));

  StageScope showing(s_.grab.times, Stage::kBoard);
  host_.Relayout();
  host_.ShowCaptured(index);
}

}  // namespace

bool RunCapture(CaptureServices& services, CaptureHost& host, TextView progid, LayerSnapshot& records) {
  return RunGuarded(services.cad.trace, [&] { CaptureRun(services, host, progid, records).Run(); });
}

}  // namespace plyscan
