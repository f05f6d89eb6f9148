// The buttons: push buttons and check boxes are BUTTONs that the style draws
// (BS_OWNERDRAW), the flat button is the program's own "TSpeedButton".
#pragma once

#include "win32/ui/control_window.h"

namespace plyscan::win32 {

// A BUTTON drawn by the style: hot under the pointer, and a double click is a
// second click.
class OwnerDrawnButton : public ControlWindow {
 protected:
  using ControlWindow::ControlWindow;

  void Describe(CreateArgs& args) const override;
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};

class PushButton final : public OwnerDrawnButton {
 public:
  using OwnerDrawnButton::OwnerDrawnButton;

  bool TakeReturnKey() override;
  void OnCommand(WORD code) override;
  void Draw(const DRAWITEMSTRUCT& item) override;
};

// Its tick is the model's: BM_GETCHECK and BM_SETCHECK answer from it.
class CheckBox final : public OwnerDrawnButton {
 public:
  using OwnerDrawnButton::OwnerDrawnButton;

  void OnCommand(WORD code) override;
  void Draw(const DRAWITEMSTRUCT& item) override;

 private:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnChanged(ui::Property what) override;
};

// Flat: only the face under the pointer stands out. It never takes the focus;
// a press holds the mouse until the button is let go, and clicks when let go
// over the button.
class FlatButton final : public OwnClassControl {
 public:
  using OwnClassControl::OwnClassControl;

 private:
  void Describe(CreateArgs& args) const override;
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void Paint(HDC dc, const RECT& client) override;

  bool pressed_ = false;  // while the mouse is held on it
};

}  // namespace plyscan::win32
