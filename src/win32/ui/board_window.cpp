#include "win32/ui/board_window.h"

#include "shell/grid_model.h"
#include "shell/window_class_names.h"
#include "win32/ui/form_window.h"
#include "win32/wide_text.h"

namespace plyscan::win32 {

void BoardWindow::Describe(CreateArgs& args) const {
  args.class_name = Wide(ui::kBoardClass);
  args.class_style = CS_DBLCLKS;
}

void BoardWindow::OnCreated() {
  StyleScrollBars(Hwnd());
  const ui::FormDesign& form = Form().Model().Design();
  grid_ = std::make_unique<DrawGridPeer>(Hwnd(), Model().Grid(), FontSpec{form.font_face, form.font_height, 0}, Dpi());
  grid_->on_hover_changed = [&form = Form()] { form.RefreshHint(); };
}

void BoardWindow::OnDpiChanged(UINT dpi) {
  if (grid_) grid_->SetDpi(dpi);
}

bool BoardWindow::TakesOwnKeys() const noexcept { return true; }  // Enter, Esc, letters, Ctrl+C...

bool BoardWindow::HintFollowsPointer() const noexcept { return true; }

Text BoardWindow::PointerHint() const {
  POINT at{};
  GetCursorPos(&at);
  ScreenToClient(Hwnd(), &at);
  return Model().Grid().HintAt(at.x, at.y, Model().Design().hint);
}

LRESULT BoardWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (grid_)
    if (const auto handled = grid_->Handle(msg, wp, lp)) return *handled;
  return OwnClassControl::OnMessage(msg, wp, lp);
}

}  // namespace plyscan::win32
