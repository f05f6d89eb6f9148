#include "simcad/objects/sim_cad.h"

namespace simcad {

SimCad::SimCad(Drawing drawing, SimOptions options, std::unique_ptr<FileWriter> files)
    : drawing_(std::move(drawing)),
      options_(options),
      files_(files ? std::move(files) : std::make_unique<DiskFileWriter>()),
      variables_(drawing_),
      input_(CommandServices{drawing_, variables_, *files_, options_, history_}) {}

void SimCad::SetWindowHandles(std::uint64_t application, std::uint64_t document) noexcept {
  application_window_ = application;
  document_window_ = document;
}

void SimCad::ViewChanged() const {
  if (view_changed_) view_changed_();
}

void SimCad::SendCommand(TextView text) {
  input_.Send(text);
  ViewChanged();
}

void SimCad::ZoomExtents() {
  drawing_.ZoomExtents();
  ++zoom_count_;
  ViewChanged();
}

void SimCad::Regen() {
  ++regen_count_;
  ViewChanged();
}

}  // namespace simcad
