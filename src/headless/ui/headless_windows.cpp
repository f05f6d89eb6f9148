#include "headless/ui/headless_windows.h"

#include <algorithm>

#include "base/failure.h"
#include "base/platform.h"
#include "headless/ui/bitmap_canvas.h"
#include "shell/placement.h"

namespace plyscan::ui {

namespace {

// Windows 10 frames at 96 dpi: a sizeable frame with a caption, and a fixed
// dialog frame.
constexpr Size kSizeableFrame{16, 39};
constexpr Size kDialogFrame{6, 29};

// The off-desktop place of a minimised window.
constexpr Rect kMinimisedRect = Rect::Sized(-32000, -32000, 160, 28);

// A scroll bar's thickness at 96 dpi.
constexpr std::int32_t kScrollBar = 17;

}  // namespace

Bitmap HeadlessGrid::Paint() const {
  const Size client = grid_->ClientSize();
  return Paint(Rect::At({0, 0}, client));
}

Bitmap HeadlessGrid::Paint(const Rect& update) const {
  const Size client = grid_->ClientSize();
  Bitmap surface(SystemSurfaces());
  surface.SetSize(client.width, client.height);
  BitmapCanvas canvas(surface);
  PaintGrid(*grid_, canvas, update.Intersection(Rect::At({0, 0}, client)), font_);
  return surface;
}

HeadlessForm::HeadlessForm(HeadlessWindowSystem& system, Form& form, Rect rect)
    : system_(&system), form_(&form), rect_(rect), normal_(rect), topmost_(form.Design().topmost) {}

void HeadlessForm::SetWindowRect(Rect rect) {
  if (minimised_) {
    normal_ = rect;
    return;
  }
  const bool resized = rect.Extent() != rect_.Extent();
  rect_ = rect;
  if (resized) {
    LayOut();
    form_->DoResize();
  }
}

bool HeadlessForm::ExcludeFromCapture(bool exclude) {
  if (!system_->options_.capture_exclusion) return false;
  excluded_ = exclude;
  return true;
}

void HeadlessForm::Close() {
  if (form_->CloseQuery()) closed_ = true;
}

Size HeadlessForm::ClientSize() const noexcept {
  const Rect r = minimised_ ? normal_ : rect_;
  const Size frame = system_->FrameOf(form_->Design());
  return {std::max(0, r.Width() - frame.width), std::max(0, r.Height() - frame.height)};
}

HeadlessGrid& HeadlessForm::GridOf(const Control& control) const {
  for (const auto& [owner, grid] : grids_)
    if (owner == &control) return *grid;
  throw Failure(u"control " + DecimalText(control.Id()) + u" has no grid peer");
}

void HeadlessForm::LayOut() {
  const FormDesign& design = form_->Design();
  const std::int32_t dpi = system_->Dpi();
  for (const auto& [control, grid] : grids_) {
    ControlDesign row = control->Design();
    row.bounds = control->GetBounds();
    const Rect b = PlaceControl(row, DesignedParentSize(design, row), ClientSize(), dpi);
    grid->Model().SetOuterSize(b.Extent(), Scale(kScrollBar, dpi));
  }
}

void HeadlessForm::Minimise() {
  if (minimised_) return;
  normal_ = rect_;
  rect_ = kMinimisedRect;
  minimised_ = true;
}

void HeadlessForm::SetStacking(Stacking stacking) {
  topmost_ = stacking == Stacking::kTopmost;
  system_->stacking_log.push_back({form_->Design().class_name, stacking});
}

ModalResult HeadlessForm::ShowModal() {
  if (!shown_before_) {
    const Size screen = system_->PrimaryScreenSize();
    rect_ = rect_.MovedTo({(screen.width - rect_.Width()) / 2, (screen.height - rect_.Height()) / 2});
    shown_before_ = true;
  }
  visible_ = true;
  ++showings_;
  form_->DoShow();
  if (system_->modal_user && form_->GetModalResult() == ModalResult::kNone) system_->modal_user(*form_);
  const ModalResult result =
      form_->GetModalResult() == ModalResult::kNone ? ModalResult::kCancel : form_->GetModalResult();
  visible_ = false;
  return result;
}

void HeadlessWindowSystem::CreateWindows(Form& form, Form* /*owner*/) {
  const FormDesign& design = form.Design();
  const Size client{Scale(design.client_width, options_.dpi), Scale(design.client_height, options_.dpi)};
  const Size size = WindowSizeFor(design, client);
  auto window = std::make_unique<HeadlessForm>(*this, form, Rect::At({0, 0}, size));
  const FontSpec font{Text(design.font_face), Scale(design.font_height, options_.dpi), 0};
  for (const auto& control : form.Controls()) {
    if (control->Design().kind != Kind::kDrawGrid) continue;
    GridModel& grid = control->Grid();
    grid.SetDpi(options_.dpi);
    window->grids_.emplace_back(control.get(), std::make_unique<HeadlessGrid>(grid, font));
    grid.AttachPeer(window->grids_.back().second.get());
  }
  window->LayOut();
  windows_.push_back(std::move(window));
  forms_.push_back(&form);
  form.AttachPeer(windows_.back().get());
}

void HeadlessWindowSystem::ShowMainWindow(Form& form) { WindowOf(form).visible_ = true; }

HeadlessForm& HeadlessWindowSystem::WindowOf(const Form& form) const {
  // Newest first: a form made after another one went may live at its address.
  const auto at = std::find(forms_.rbegin(), forms_.rend(), &form);
  if (at == forms_.rend()) throw Failure(u"no window for " + Text(form.Design().class_name));
  return *windows_[static_cast<std::size_t>(forms_.rend() - at - 1)];
}

Size HeadlessWindowSystem::FrameOf(const FormDesign& design) const noexcept {
  const Size frame = design.frame == Frame::kSizeableNoMaximise ? kSizeableFrame : kDialogFrame;
  return {Scale(frame.width, options_.dpi), Scale(frame.height, options_.dpi)};
}

Size HeadlessWindowSystem::WindowSizeFor(const FormDesign& design, Size client) const noexcept {
  const Size frame = FrameOf(design);
  return {client.width + frame.width, client.height + frame.height};
}

std::uint32_t HeadlessDrop::Count() { return static_cast<std::uint32_t>(names_.size()); }

Text HeadlessDrop::Name(std::uint32_t index, std::uint32_t capacity) {
  if (finished_) throw Failure(u"the drop was already released");
  if (index >= names_.size() || capacity == 0) return {};
  const Text& name = names_[index];
  return name.substr(0, std::min<std::size_t>(name.size(), capacity - 1));
}

}  // namespace plyscan::ui
