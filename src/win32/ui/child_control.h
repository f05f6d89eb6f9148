// The real window of one control of a designed layout: a BUTTON (push button
// or check box, drawn by the style), an EDIT, a LISTBOX (entries drawn by the
// style), a STATIC label, the comctl32 progress bar, or one of the program's
// own classes: "TGroupBox", "TSpeedButton" (a flat button that takes no
// focus) and "TDrawGrid" (the board's host). It mirrors the control's model
// and reports what the user does back to it.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "shell/controls.h"
#include "win32/ui/dark_style.h"
#include "win32/ui/draw_grid_peer.h"

namespace plyscan::win32 {

class FormWindow;

class ChildControl final : public ui::ControlPeer {
 public:
  ChildControl(FormWindow& form, ui::Control& model, int id);
  ChildControl(const ChildControl&) = delete;
  ChildControl& operator=(const ChildControl&) = delete;
  ~ChildControl() override;

  // Creates the window inside `parent` (the form or a group box), hidden or
  // visible as the model is, at `rect` pixels.
  [[nodiscard]] bool Create(HWND parent, const RECT& rect);
  HWND Hwnd() const noexcept { return hwnd_; }
  ui::Control& Model() const noexcept { return *model_; }
  ui::Kind Kind() const noexcept { return model_->Design().kind; }
  int Id() const noexcept { return id_; }

  void SetFont(HFONT font) noexcept;
  // The window's DPI changed: a grid's cells follow it.
  void SetDpi(UINT dpi);
  // Entry height of the list, from its font's height.
  void SetItemHeight(int height) noexcept;

  void Changed(ui::Property what) override;

  // A notification from WM_COMMAND of the parent.
  void OnCommand(WORD code);
  // WM_DRAWITEM of the parent, for the owner-drawn buttons and list entries.
  void Draw(const DRAWITEMSTRUCT& item);

  // The window classes of the program's own controls.
  static void RegisterClasses();

 private:
  void SyncText();
  void SyncItems();
  ButtonState StateFor(bool pressed) const;
  void Click();
  LRESULT Subclassed(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Custom(UINT msg, WPARAM wp, LPARAM lp);
  void TrackHot();
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data);
  static LRESULT CALLBACK CustomProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

  FormWindow* form_;
  ui::Control* model_;
  int id_;
  HWND hwnd_ = nullptr;
  std::unique_ptr<DrawGridPeer> grid_;  // a draw grid's own peer
  HFONT font_ = nullptr;
  bool syncing_ = false;  // a change made from the model: not the user's
  bool hot_ = false;
  bool pressed_ = false;  // the flat button, while the mouse is held on it
  bool focused_ = false;
};

}  // namespace plyscan::win32
