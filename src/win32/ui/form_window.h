// The real window of a form: its frame and stacking from the design, a child
// window for every control, the designed positions, sizes and fonts scaled
// to the window's DPI (again on WM_DPICHANGED), the anchors kept on resize,
// tool-tip hints, the style's colours, dropped files, and the modal loop.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <commctrl.h>

#include <functional>
#include <map>
#include <string>
#include <memory>
#include <vector>

#include "shell/controls.h"
#include "win32/gdi.h"
#include "win32/scoped_handles.h"
#include "win32/ui/control_window.h"
#include "win32/ui/wnd.h"

namespace plyscan::win32 {

class Win32WindowSystem;

class FormWindow final : public Wnd, public ui::FormPeer {
 public:
  // `owner` is the main window for a dialog: disabled while the dialog is modal.
  FormWindow(Win32WindowSystem& system, ui::Form& form, FormWindow* owner);
  ~FormWindow() override;

  // Creates the window, hidden, and its controls.
  [[nodiscard]] bool Create();
  void ShowNormal();

  ui::Form& Model() const noexcept { return *form_; }
  bool IsMainWindow() const noexcept { return owner_ == nullptr; }

  // Keyboard handling of the forms: Tab and the arrows move the focus, Enter
  // presses the focused push button or goes to a field's key handler, Esc does
  // nothing. True when the message was handled here.
  bool PreTranslate(MSG& msg);

  // Puts the control where its bounds and the anchors say, at the current DPI.
  void PlaceChild(ControlWindow& child);
  // The tip shown now asks for its text again (a tip that follows the pointer:
  // the place under the pointer changed).
  void RefreshHint();

  std::function<void(HDROP)> on_drop;

  // ui::FormPeer
  void CaptionChanged() override;
  Rect WindowRect() override;
  Rect NormalRect() override;
  void SetWindowRect(Rect rect) override;
  void SetStacking(ui::Stacking stacking) override;
  ui::ModalResult ShowModal() override;
  void AcceptDroppedFiles(bool accept) override;
  bool ExcludeFromCapture(bool exclude) override;
  void Close() override;
  void Activate() override;

 private:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnDpiChanged(UINT dpi) override;

  DWORD Style() const noexcept;
  DWORD ExStyle() const noexcept;
  // The window rectangle around the designed client area at `dpi`.
  SIZE WindowSizeAt(UINT dpi) const noexcept;
  void CreateChildren();
  void BuildFonts();
  void ApplyFonts();
  void LayOut();
  void AddHints();
  void CentreOnWorkArea();
  HFONT FontFor(const ui::ControlDesign& design) const;
  int ItemHeightFor(const ui::ControlDesign& design) const;
  ControlWindow* ChildById(int id) const;
  ControlWindow* ChildOf(HWND hwnd) const;
  LRESULT ColourControl(HDC dc, HWND control, UINT msg);
  LRESULT HintText(NMTTDISPINFOW& info);

  Win32WindowSystem* system_;
  ui::Form* form_;
  FormWindow* owner_;
  std::vector<std::unique_ptr<ControlWindow>> children_;
  std::map<int, Font> fonts_;  // by designed character height
  UniqueWindow tips_;
  std::wstring hint_text_;  // a tip that follows the pointer, while it shows
  bool shown_before_ = false;
  bool in_modal_ = false;
};

}  // namespace plyscan::win32
