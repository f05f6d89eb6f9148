// The capture run (the "キャプチャ" button): one thumbnail and one object
// count per layer of the target CAD's active drawing, each layer shown alone
// and the view zoomed to the extents, into the snapshot in sorted order;
// afterwards the drawing's layers and display settings are put back. A run
// that fails or is stopped part way puts back what it had changed so far.
#pragma once

#include <cstdint>

#include "base/collation.h"
#include "base/progress_display.h"
#include "cadlink/cad_services.h"
#include "capture/view_grab.h"
#include "layers/layer_snapshot.h"

namespace plyscan {

enum class StopRequest : std::uint8_t {
  kNone,
  kAfterLayer,  // Esc: end after the layer in hand, as a completed run ends
  kNow,         // the window is to close: stop at once and put the drawing back
};

// What the run asks of the window it runs in.
class CaptureHost {
 public:
  virtual ~CaptureHost() = default;
  // The layer-state commands, each run as a whole with its own guard: true
  // when they ran to their end.
  virtual bool SaveLayerState() = 0;
  virtual bool RestoreLayerState() = 0;
  // The board's relayout; the row of record `index` current and in view and
  // the board repainted at once; the first cell current.
  virtual void Relayout() = 0;
  virtual void ShowCaptured(std::size_t index) = 0;
  virtual void ShowFirstCell() = 0;
  // Lets the pending window messages through (the first pass, once a layer).
  virtual void ProcessMessages() = 0;
  // The options as they are at the moment of asking.
  virtual bool Monochrome() = 0;
  // "フィット": read once, when the run starts, with the background colour.
  virtual bool FitLayer() = 0;
  virtual Text BackgroundText() = 0;
  virtual Size Thumbnail() = 0;
  virtual ProgressDisplay& Progress() = 0;
  // What the user asks for now; `cad_window` is the CAD's, brought forward
  // by the run (Esc pressed there counts too).
  virtual StopRequest Stop(WindowHandle cad_window) = 0;
  // Keeps the program's own window out of the screen's copies of `area` for
  // the run, and puts it back afterwards.
  virtual void KeepOutOfCapture(const Rect& area) = 0;
  virtual void BackAfterCapture() = 0;
};

struct CaptureServices {
  CadServices& cad;
  ViewGrabServices grab;
  const Collator& collator;
};

// Runs the capture inside the guard of the CAD commands. True when it ran to
// its end (also when the target is not running, or Esc ended it early). A
// save of the layer state that fails ends the run before any layer changes;
// a restore that fails is made good from the switches the run read.
bool RunCapture(CaptureServices& services, CaptureHost& host, TextView progid, LayerSnapshot& records);

}  // namespace plyscan
