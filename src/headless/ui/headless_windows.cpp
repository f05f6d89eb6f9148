#include "headless/ui/headless_windows.h"

#include <algorithm>

#include "base/failure.h"
#include "shell/placement.h"

namespace plyscan::ui {

namespace {

// Windows 10 frames at 96 dpi: a sizeable frame with a caption, and a fixed
// dialog frame.
constexpr PixelSize kSizeableFrame{16, 39};
constexpr PixelSize kDialogFrame{6, 29};

// The off-desktop place of a minimised window.
constexpr ScreenRect kMinimisedRect{-32000, -32000, 160, 28};

}  // namespace

HeadlessForm::HeadlessForm(HeadlessWindowSystem& system, Form& form, ScreenRect rect)
    : system_(&system), form_(&form), rect_(rect), normal_(rect), topmost_(form.Design().topmost) {}

void HeadlessForm::SetWindowRect(ScreenRect rect) {
  if (minimised_) {
    normal_ = rect;
    return;
  }
  rect_ = rect;
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
    const PixelSize screen = system_->PrimaryScreenSize();
    rect_.left = (screen.width - rect_.width) / 2;
    rect_.top = (screen.height - rect_.height) / 2;
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
  const PixelSize client{Scale(design.client_width, options_.dpi), Scale(design.client_height, options_.dpi)};
  const PixelSize size = WindowSizeFor(design, client);
  windows_.push_back(std::make_unique<HeadlessForm>(*this, form, ScreenRect{0, 0, size.width, size.height}));
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

PixelSize HeadlessWindowSystem::WindowSizeFor(const FormDesign& design, PixelSize client) const noexcept {
  const PixelSize frame = design.frame == Frame::kSizeableNoMaximise ? kSizeableFrame : kDialogFrame;
  return {client.width + Scale(frame.width, options_.dpi), client.height + Scale(frame.height, options_.dpi)};
}

std::uint32_t HeadlessDrop::Count() { return static_cast<std::uint32_t>(names_.size()); }

Text HeadlessDrop::Name(std::uint32_t index, std::uint32_t capacity) {
  if (finished_) throw Failure(u"the drop was already released");
  if (index >= names_.size() || capacity == 0) return {};
  const Text& name = names_[index];
  return name.substr(0, std::min<std::size_t>(name.size(), capacity - 1));
}

}  // namespace plyscan::ui
