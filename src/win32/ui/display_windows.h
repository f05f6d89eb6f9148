// The controls that only show something: a STATIC label that grows to its
// text, the comctl32 progress bar in the style's colours, and the group box,
// the program's own "TGroupBox", a frame with a caption around other controls.
#pragma once

#include "win32/ui/control_window.h"

namespace plyscan::win32 {

class Label final : public ControlWindow {
 public:
  using ControlWindow::ControlWindow;

  // At least as wide as its text in `font`: the designed width may not hold
  // it in every font.
  std::int32_t FittedWidth(std::int32_t width, HFONT font) const override;

 private:
  void Describe(CreateArgs& args) const override;
  void OnChanged(ui::Property what) override;
};

class ProgressBar final : public ControlWindow {
 public:
  using ControlWindow::ControlWindow;

 private:
  void Describe(CreateArgs& args) const override;
  void OnCreated() override;
  void OnChanged(ui::Property what) override;
};

// Only a frame: the notifications of the controls inside are the form's.
class GroupFrame final : public OwnClassControl {
 public:
  using OwnClassControl::OwnClassControl;

 private:
  void Paint(HDC dc, const RECT& client) override;
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void Describe(CreateArgs& args) const override;
};

}  // namespace plyscan::win32
