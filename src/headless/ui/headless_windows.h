// The headless window system: forms and controls live only as their models,
// windows as rectangles with a stacking state, message boxes as a log, and the
// user of a modal form as a script. Portable, so the shell's handlers run
// alike in every build; the Linux build also links it as its window system.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "base/bitmap.h"
#include "shell/grid_model.h"
#include "shell/window_system.h"

namespace plyscan::ui {

class HeadlessWindowSystem;

// The peer of a draw grid: its size is where the layout puts it in the
// form's client area, it has the focus when a test says so, and it paints
// into a bitmap when asked.
class HeadlessGrid final : public GridPeer {
 public:
  HeadlessGrid(GridModel& grid, FontSpec font) : grid_(&grid), font_(std::move(font)) {}

  void Invalidate(const std::optional<Rect>& area) override {
    ++invalidations_;
    pending_.push_back(area);
  }
  void RepaintNow() override {
    ++repaints_;
    painted_.push_back(std::move(pending_));
    pending_.clear();
  }
  bool HasFocus() const override { return focused_; }
  void TakeFocus() override { focused_ = true; }

  // The client area as the grid paints it, all of it or the part `update`
  // (the rest stays white).
  Bitmap Paint() const;
  Bitmap Paint(const Rect& update) const;

  void SetFocused(bool focused) noexcept { focused_ = focused; }
  GridModel& Model() const noexcept { return *grid_; }
  const FontSpec& Font() const noexcept { return font_; }
  // Synchronous repaints asked for, and invalidations.
  int Repaints() const noexcept { return repaints_; }
  int Invalidations() const noexcept { return invalidations_; }
  // For each synchronous repaint, the areas invalidated before it (none for
  // the whole client area).
  const std::vector<std::vector<std::optional<Rect>>>& PaintedAreas() const noexcept { return painted_; }

 private:
  GridModel* grid_;
  FontSpec font_;
  bool focused_ = false;
  int repaints_ = 0;
  int invalidations_ = 0;
  std::vector<std::optional<Rect>> pending_;
  std::vector<std::vector<std::optional<Rect>>> painted_;
};

class HeadlessForm final : public FormPeer {
 public:
  HeadlessForm(HeadlessWindowSystem& system, Form& form, Rect rect);

  void CaptionChanged() override {}
  Rect WindowRect() override { return rect_; }
  Rect NormalRect() override { return minimised_ ? normal_ : rect_; }
  void SetWindowRect(Rect rect) override;
  void SetStacking(Stacking stacking) override;
  ModalResult ShowModal() override;
  void AcceptDroppedFiles(bool accept) override { accepts_drops_ = accept; }
  bool ExcludeFromCapture(bool exclude) override;
  // A close goes through the form's close query at once.
  void Close() override;
  void Activate() override { ++activations_; }
  int Activations() const noexcept { return activations_; }

  // Minimises the window, keeping the normal rectangle; a minimised window's
  // rectangle is the icon's place off the desktop, as Windows keeps it.
  void Minimise();

  // The client area's size: the window's less the frame.
  Size ClientSize() const noexcept;
  // The peer of a draw grid of the form.
  HeadlessGrid& GridOf(const Control& control) const;

  bool Topmost() const noexcept { return topmost_; }
  bool Visible() const noexcept { return visible_; }
  bool Closed() const noexcept { return closed_; }
  bool ExcludedFromCapture() const noexcept { return excluded_; }
  bool AcceptsDrops() const noexcept { return accepts_drops_; }
  int Showings() const noexcept { return showings_; }

 private:
  friend class HeadlessWindowSystem;
  // Puts the controls with peers where the layout says for the client size.
  void LayOut();

  HeadlessWindowSystem* system_;
  Form* form_;
  std::vector<std::pair<const Control*, std::unique_ptr<HeadlessGrid>>> grids_;
  Rect rect_;
  Rect normal_;
  bool minimised_ = false;
  bool topmost_;
  bool visible_ = false;
  bool accepts_drops_ = false;
  bool closed_ = false;
  bool excluded_ = false;
  int activations_ = 0;
  bool shown_before_ = false;
  int showings_ = 0;
};

class HeadlessWindowSystem final : public WindowSystem {
 public:
  struct Options {
    Size screen{1920, 1080};
    std::optional<std::int32_t> scale_factor = 100;
    std::int32_t dpi = 96;
    // Whether windows can be left out of screen copies (Windows 10 2004 on).
    bool capture_exclusion = false;
  };

  HeadlessWindowSystem() : HeadlessWindowSystem(Options{}) {}
  explicit HeadlessWindowSystem(Options options) : options_(options) {}

  void CreateWindows(Form& form, Form* owner) override;
  void ShowMainWindow(Form& form) override;
  Size PrimaryScreenSize() override { return options_.screen; }
  std::optional<std::int32_t> ScaleFactorOfFirstMonitor() override { return options_.scale_factor; }
  std::int32_t PrimaryDpi() override { return options_.dpi; }
  void ShowError(TextView text) override { errors.emplace_back(text); }
  void ProcessMessages() override {
    ++message_passes;
    if (on_process_messages) on_process_messages();
  }
  Rect Desktop() override { return Rect::At({0, 0}, options_.screen); }
  void PaintWhileWaiting(unsigned milliseconds) override {
    now_ms += milliseconds;
    ++paint_waits;
    if (on_paint_wait) on_paint_wait();
  }
  QueuedStop TakeStopRequests(const Form&, std::uint64_t) override { return std::exchange(queued_stop, QueuedStop{}); }
  std::uint64_t TickCount() override { return now_ms; }

  // The window of a created form.
  HeadlessForm& WindowOf(const Form& form) const;

  // The window size, frame included, of a form whose client area is `client`
  // pixels: the frame of Windows 10 at the system resolution.
  Size WindowSizeFor(const FormDesign& design, Size client) const noexcept;
  Size FrameOf(const FormDesign& design) const noexcept;
  std::int32_t Dpi() const noexcept { return options_.dpi; }

  // Plays the user while a form is shown modally: clicks, typing. A form the
  // script leaves open is closed by its close box (result cancel).
  std::function<void(Form&)> modal_user;

  // Every message box shown, in order.
  std::vector<Text> errors;

  // What the user does while a handler lets messages through, and how often it did.
  std::function<void()> on_process_messages;
  int message_passes = 0;
  // What the user does while a command waits with the windows painted, and
  // how often it waited; the clock moves on by each wait.
  std::function<void()> on_paint_wait;
  int paint_waits = 0;
  // What the user has put in the queue for a long command to find.
  QueuedStop queued_stop;
  // The clock, as tests set it.
  std::uint64_t now_ms = 1000;

  // Every stacking change, in order: the form's class name and the new state.
  struct StackingChange {
    Text form;
    Stacking stacking;
    friend bool operator==(const StackingChange&, const StackingChange&) = default;
  };
  std::vector<StackingChange> stacking_log;

 private:
  friend class HeadlessForm;
  Options options_;
  std::vector<std::unique_ptr<HeadlessForm>> windows_;
  std::vector<const Form*> forms_;
};

// A drop of the given names.
class HeadlessDrop final : public DroppedFiles {
 public:
  explicit HeadlessDrop(std::vector<Text> names) : names_(std::move(names)) {}
  std::uint32_t Count() override;
  Text Name(std::uint32_t index, std::uint32_t capacity) override;
  void Finish() override { finished_ = true; }
  bool Finished() const noexcept { return finished_; }

 private:
  std::vector<Text> names_;
  bool finished_ = false;
};

// The message filter as a state: registered or not.
class HeadlessMessageFilter final : public MessageFilterRegistry {
 public:
  void CreateAndRegister() override {
    registered_ = true;
    ++registrations_;
  }
  void Revoke() override { registered_ = false; }
  bool Registered() const noexcept { return registered_; }
  int Registrations() const noexcept { return registrations_; }

 private:
  bool registered_ = false;
  int registrations_ = 0;
};

}  // namespace plyscan::ui
