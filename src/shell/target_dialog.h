// The target dialog: the target list in a sorted list box, the selected
// entry's name and ProgID in two fields, add, delete and replace (each
// rewrites the list file at once), and OK, which makes the ProgID field the
// target and names it in the main window's caption.
#pragma once

#include "shell/controls.h"
#include "shell/shell_services.h"
#include "shell/target_list.h"

namespace plyscan {

class MainWindow;

class TargetDialog {
 public:
  TargetDialog(ShellServices& services, MainWindow& main);
  TargetDialog(const TargetDialog&) = delete;
  TargetDialog& operator=(const TargetDialog&) = delete;

  // Creates the window from its layout, hidden.
  void Create();
  ui::Form& Window() noexcept { return form_; }

  // As the dialog shows: the list from its file, the current target selected.
  void SelectCurrentTarget();
  // The selected entry's name and ProgID into the fields.
  void ShowSelectedEntry();
  void AddEntry();
  void DeleteEntry();
  void ReplaceEntry();
  // Enter in either field replaces the selected entry.
  void ReplaceOnEnter(char16_t& key);
  // OK: the ProgID field becomes the target.
  void TakeTarget();

 private:
  Text ListPath() const;
  void SaveList();

  ShellServices* services_;
  MainWindow* main_;
  ui::Form form_;
  TargetListStore store_;

 public:
  ui::Control& target_list;
  ui::Control& name_field;
  ui::Control& prog_id_field;
  ui::Control& add_button;
  ui::Control& delete_button;
  ui::Control& replace_button;
  ui::Control& ok_button;
  ui::Control& cancel_button;
};

}  // namespace plyscan
