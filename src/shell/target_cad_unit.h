// The target CAD dialog TTargetCADForm: the target list in a sorted list, the
// selected entry's name and ProgID in two fields, add, delete and change
// (each rewrites the list file at once), and OK, which makes the ProgID field
// the target and names it in the main window's caption.
#pragma once

#include "shell/controls.h"
#include "shell/shell_services.h"
#include "shell/target_list.h"

namespace plyscan {

class TForm60;

class TTargetCADForm {
 public:
  TTargetCADForm(ShellServices& services, TForm60& main);
  TTargetCADForm(const TTargetCADForm&) = delete;
  TTargetCADForm& operator=(const TTargetCADForm&) = delete;

  // Creates the window from its layout, hidden.
  void Create();
  ui::Form& Window() noexcept { return form_; }

  void FormShow();
  void ListBox1Click();
  void SpeedButton1Click();
  void SpeedButton2Click();
  void SpeedButton3Click();
  void Edit1KeyPress(char16_t& key);
  void Button1Click();

 private:
  Text ListPath() const;
  void SaveList();

  ShellServices* services_;
  TForm60* main_;
  ui::Form form_;
  TargetListStore store_;

 public:
  ui::Control& ListBox1;
  ui::Control& Button1;
  ui::Control& Button2;
  ui::Control& GroupBox1;
  ui::Control& Label1;
  ui::Control& Edit1;
  ui::Control& Label2;
  ui::Control& Edit2;
  ui::Control& SpeedButton1;
  ui::Control& SpeedButton2;
  ui::Control& SpeedButton3;
};

}  // namespace plyscan
