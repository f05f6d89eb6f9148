#include "shell/target_cad_unit.h"

#include "shell/error_report.h"
#include "shell/layouts.h"
#include "shell/plyscan_unit.h"
#include "shell/settings.h"

namespace plyscan {

namespace {

constexpr char16_t kEnter = 13;

}  // namespace

TTargetCADForm::TTargetCADForm(ShellServices& services, TForm60& main)
    : services_(&services),
      main_(&main),
      form_(ui::TargetCADFormDesign()),
      store_(services.files, services.ansi),
      ListBox1(form_[u"ListBox1"]),
      Button1(form_[u"Button1"]),
      Button2(form_[u"Button2"]),
      GroupBox1(form_[u"GroupBox1"]),
      Label1(form_[u"Label1"]),
      Edit1(form_[u"Edit1"]),
      Label2(form_[u"Label2"]),
      Edit2(form_[u"Edit2"]),
      SpeedButton1(form_[u"SpeedButton1"]),
      SpeedButton2(form_[u"SpeedButton2"]),
      SpeedButton3(form_[u"SpeedButton3"]) {
  ui::WindowSystem& windows = services.windows;
  auto reported = [&windows](void (TTargetCADForm::*handler)(), TTargetCADForm* self) {
    return [&windows, handler, self] { ui::RunReported(windows, [&] { (self->*handler)(); }); };
  };
  form_.OnShow = reported(&TTargetCADForm::FormShow, this);
  ListBox1.OnClick = reported(&TTargetCADForm::ListBox1Click, this);
  SpeedButton1.OnClick = reported(&TTargetCADForm::SpeedButton1Click, this);
  SpeedButton2.OnClick = reported(&TTargetCADForm::SpeedButton2Click, this);
  SpeedButton3.OnClick = reported(&TTargetCADForm::SpeedButton3Click, this);
  Button1.OnClick = reported(&TTargetCADForm::Button1Click, this);
  // One key handler serves both fields.
  auto key_press = [&windows, this](char16_t& key) { ui::RunReported(windows, [&] { Edit1KeyPress(key); }); };
  Edit1.OnKeyPress = key_press;
  Edit2.OnKeyPress = key_press;
}

void TTargetCADForm::Create() { services_->windows.CreateWindows(form_, &main_->Window()); }

Text TTargetCADForm::ListPath() const { return TargetListPathFor(services_->exe_path); }

void TTargetCADForm::SaveList() { store_.Save(ListPath(), ListBox1.Items()); }

void TTargetCADForm::FormShow() {
  const Text path = ListPath();
  if (!store_.Exists(path)) return;
  ListBox1.LoadSorted(store_.Load(path), services_->collator);
  const auto& entries = ListBox1.Items();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (EntryMatches(entries[i], TargetProgID)) {
      ListBox1.SetItemIndex(static_cast<std::int32_t>(i));
      ListBox1Click();
      return;
    }
  }
}

void TTargetCADForm::ListBox1Click() {
  const EntryFields fields = SplitEntry(ListBox1.Item(ListBox1.ItemIndex()));
  Edit1.SetText(fields.name);
  Edit2.SetText(fields.prog_id);
}

void TTargetCADForm::SpeedButton1Click() {
  const Text entry = JoinEntry(Edit1.GetText(), Edit2.GetText());
  ListBox1.AddSorted(entry, services_->collator);
  const auto& entries = ListBox1.Items();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (services_->collator.Compare(entries[i], entry) == 0) {
      ListBox1.SetItemIndex(static_cast<std::int32_t>(i));
      break;
    }
  }
  ListBox1Click();
  SaveList();
}

void TTargetCADForm::SpeedButton2Click() {
  const std::int32_t i = ListBox1.ItemIndex();
  if (i != -1) ListBox1.Delete(i);
  Edit1.SetText({});
  Edit2.SetText({});
  const auto n = static_cast<std::int32_t>(ListBox1.Items().size());
  if (i + 1 < n) {
    // With nothing selected and entries left this selects nothing, and the
    // click below fails with the list index error before anything is saved.
    ListBox1.SetItemIndex(i);
    ListBox1Click();
  } else if (i - 1 >= 0) {
    ListBox1.SetItemIndex(i - 1);
    ListBox1Click();
  } else {
    ListBox1.SetItemIndex(-1);
  }
  SaveList();
}

void TTargetCADForm::SpeedButton3Click() {
  const std::int32_t i = ListBox1.ItemIndex();
  ListBox1.Replace(i, JoinEntry(Edit1.GetText(), Edit2.GetText()));
  ListBox1.SetItemIndex(i);
  SaveList();
}

void TTargetCADForm::Edit1KeyPress(char16_t& key) {
  if (key != kEnter) return;
  key = 0;
  SpeedButton3Click();
}

void TTargetCADForm::Button1Click() {
  TargetProgID = Edit2.GetText();
  main_->Window().SetCaption(Text(ui::kApplicationTitle) + u" [ " + Edit1.GetText() + u" ]");
}

}  // namespace plyscan
