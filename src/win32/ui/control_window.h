// The real window of one control of a designed layout. ControlWindow is what
// every control's window shares: it mirrors the control's model (told of each
// change through ui::ControlPeer::Changed), takes its font and its form's
// DPI, and keeps the hot state of a button under the pointer. A class per kind
// of control adds its window class and its own messages; MakeControlWindow
// picks the class for a kind.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "shell/controls.h"
#include "win32/ui/dark_style.h"
#include "win32/ui/wnd.h"

namespace plyscan::win32 {

class FormWindow;

class ControlWindow : public Wnd, public ui::ControlPeer {
 public:
  ControlWindow(FormWindow& form, ui::Control& model);
  ~ControlWindow() override;

  // Creates the window inside `parent` (the form or a group box), hidden or
  // visible as the model is; the form places it afterwards.
  [[nodiscard]] bool Create(HWND parent);

  ui::Control& Model() const noexcept { return *model_; }
  ui::ControlId Id() const noexcept { return model_->Id(); }

  void SetFont(HFONT font) noexcept;
  // The height of one line in the control's font, for a control of lines.
  virtual void SetLineHeight(int height) noexcept;
  // The form's DPI changed, and the control's with it.
  void FormDpiChanged(UINT dpi);
  // The width the control takes where the layout gives it `width` pixels.
  virtual std::int32_t FittedWidth(std::int32_t width, HFONT font) const;

  // The form's keyboard handling asks these. A control that takes its own
  // keys gets every key but Tab as it comes.
  virtual bool TakesOwnKeys() const noexcept;
  // Enter while the control has the focus; false lets the control have it as
  // a character.
  virtual bool TakeReturnKey();
  // A tip that tells about the place under the pointer is asked for each
  // time it shows; any other control's tip is its designed hint.
  virtual bool HintFollowsPointer() const noexcept;
  virtual Text PointerHint() const;

  // A notification from WM_COMMAND of the parent.
  virtual void OnCommand(WORD code);
  // WM_DRAWITEM of the parent, for an owner-drawn control.
  virtual void Draw(const DRAWITEMSTRUCT& item);

  void Changed(ui::Property what) final;

 protected:
  FormWindow& Form() const noexcept { return *form_; }

  // The window class and styles of the kind, over the common ones in `args`.
  virtual void Describe(CreateArgs& args) const = 0;
  // What the kind sets up once its window exists.
  virtual void OnCreated();
  // A change of the model, with the window there. Here: the text, the
  // visibility, the enabled state and the bounds.
  virtual void OnChanged(ui::Property what);

  // Runs the model's click, and the form's modal result.
  void Click();
  // True while the window's text is being set from the model, not by the user.
  bool Syncing() const noexcept { return syncing_; }

  // A button drawn hot while the pointer is over it.
  bool Hot() const noexcept { return hot_; }
  // The pointer came over the button: hot until WM_MOUSELEAVE.
  void TrackHot();
  void SetHot(bool hot);
  ButtonState FaceState(bool pressed) const;

 private:
  void SyncText();

  FormWindow* form_;
  ui::Control* model_;
  bool syncing_ = false;
  bool hot_ = false;
};

// An owner-drawn item to be drawn with its focus frame.
inline bool ShowsFocus(const DRAWITEMSTRUCT& item) noexcept {
  return (item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0;
}

// The window for the kind of `model`, not created yet.
[[nodiscard]] std::unique_ptr<ControlWindow> MakeControlWindow(FormWindow& form, ui::Control& model);

// A control of one of the program's own window classes: it keeps the font it
// is given, paints itself on a background it fills, and repaints when its
// text or enabled state changes.
class OwnClassControl : public ControlWindow {
 protected:
  using ControlWindow::ControlWindow;

  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  // WM_PAINT, with the control's font selected.
  virtual void Paint(HDC dc, const RECT& client);

 private:
  HFONT font_ = nullptr;
};

}  // namespace plyscan::win32
