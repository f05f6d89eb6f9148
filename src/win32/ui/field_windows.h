// The fields: an EDIT, and a LISTBOX whose entries the style draws and that
// mirrors the model's entries in the model's order (the model sorts them with
// the user's collation, so the list itself does not sort). Both have a thin
// frame in the focus colour while they hold the focus.
#pragma once

#include "win32/ui/control_window.h"

namespace plyscan::win32 {

class FramedField : public ControlWindow {
 protected:
  using ControlWindow::ControlWindow;

  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  // The field's set-focus or kill-focus notification: the frame follows.
  void FocusChanged(bool focused);

 private:
  bool focused_ = false;
};

// A key handler on the model (OnKeyPress) sees each character first, and then
// also gets Enter, which would otherwise go to the form.
class EditField final : public FramedField {
 public:
  using FramedField::FramedField;

  bool TakeReturnKey() override;
  void OnCommand(WORD code) override;

 private:
  void Describe(CreateArgs& args) const override;
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};

class ListField final : public FramedField {
 public:
  using FramedField::FramedField;

  void SetLineHeight(int height) noexcept override;
  void OnCommand(WORD code) override;
  void Draw(const DRAWITEMSTRUCT& item) override;

 private:
  void Describe(CreateArgs& args) const override;
  void OnCreated() override;
  void OnChanged(ui::Property what) override;
  void SyncItems();
};

}  // namespace plyscan::win32
