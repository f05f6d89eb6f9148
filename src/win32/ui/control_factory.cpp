#include "win32/ui/board_window.h"
#include "win32/ui/button_windows.h"
#include "win32/ui/control_window.h"
#include "win32/ui/display_windows.h"
#include "win32/ui/field_windows.h"

namespace plyscan::win32 {

std::unique_ptr<ControlWindow> MakeControlWindow(FormWindow& form, ui::Control& model) {
  switch (model.Design().kind) {
    case ui::Kind::kPushButton:
      return std::make_unique<PushButton>(form, model);
    case ui::Kind::kCheckBox:
      return std::make_unique<CheckBox>(form, model);
    case ui::Kind::kEdit:
      return std::make_unique<EditField>(form, model);
    case ui::Kind::kListBox:
      return std::make_unique<ListField>(form, model);
    case ui::Kind::kGroupBox:
      return std::make_unique<GroupFrame>(form, model);
    case ui::Kind::kLabel:
      return std::make_unique<Label>(form, model);
    case ui::Kind::kSpeedButton:
      return std::make_unique<FlatButton>(form, model);
    case ui::Kind::kProgressBar:
      return std::make_unique<ProgressBar>(form, model);
    case ui::Kind::kDrawGrid:
      return std::make_unique<BoardWindow>(form, model);
  }
  return nullptr;  // not a kind of this build
}

}  // namespace plyscan::win32
