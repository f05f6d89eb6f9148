#include "shell/target_dialog.h"

#include "shell/error_report.h"
#include "shell/layouts.h"
#include "shell/main_window.h"
#include "shell/settings.h"

namespace plyscan {

namespace {

constexpr char16_t kEnter = 13;

}  // namespace

TargetDialog::TargetDialog(ShellServices& services, MainWindow& main)
    : services_(&services),
      main_(&main),
      form_(ui::TargetDialogDesign()),
      store_(services.files, services.ansi),
      target_list(form_[ui::dialog_controls::kTargetList]),
      name_field(form_[ui::dialog_controls::kNameField]),
      prog_id_field(form_[ui::dialog_controls::kProgIdField]),
      add_button(form_[ui::dialog_controls::kAddButton]),
      delete_button(form_[ui::dialog_controls::kDeleteButton]),
      replace_button(form_[ui::dialog_controls::kReplaceButton]),
      ok_button(form_[ui::dialog_controls::kOkButton]),
      cancel_button(form_[ui::dialog_controls::kCancelButton]) {
  ui::WindowSystem& windows = services.windows;
  auto reported = [&windows](void (TargetDialog::*handler)(), TargetDialog* self) {
    return [&windows, handler, self] { ui::RunReported(windows, [&] { (self->*handler)(); }); };
  };
  form_.OnShow = reported(&TargetDialog::SelectCurrentTarget, this);
  target_list.OnClick = reported(&TargetDialog::ShowSelectedEntry, this);
  add_button.OnClick = reported(&TargetDialog::AddEntry, this);
  delete_button.OnClick = reported(&TargetDialog::DeleteEntry, this);
  replace_button.OnClick = reported(&TargetDialog::ReplaceEntry, this);
  ok_button.OnClick = reported(&TargetDialog::TakeTarget, this);
  // One key handler serves both fields.
  auto key_press = [&windows, this](char16_t& key) { ui::RunReported(windows, [&] { ReplaceOnEnter(key); }); };
  name_field.OnKeyPress = key_press;
  prog_id_field.OnKeyPress = key_press;
}

void TargetDialog::Create() { services_->windows.CreateWindows(form_, &main_->Window()); }

Text TargetDialog::ListPath() const { return TargetListPathFor(services_->exe_path); }

void TargetDialog::SaveList() { store_.Save(ListPath(), target_list.Items()); }

void TargetDialog::SelectCurrentTarget() {
  const Text path = ListPath();
  if (!store_.Exists(path)) return;
  target_list.LoadSorted(store_.Load(path), services_->collator);
  const auto& entries = target_list.Items();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (EntryMatches(entries[i], services_->target_prog_id)) {
      target_list.SetItemIndex(static_cast<std::int32_t>(i));
      ShowSelectedEntry();
      return;
    }
  }
}

void TargetDialog::ShowSelectedEntry() {
  const EntryFields fields = SplitEntry(target_list.Item(target_list.ItemIndex()));
  name_field.SetText(fields.name);
  prog_id_field.SetText(fields.prog_id);
}

void TargetDialog::AddEntry() {
  const Text entry = JoinEntry(name_field.GetText(), prog_id_field.GetText());
  target_list.AddSorted(entry, services_->collator);
  const auto& entries = target_list.Items();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (services_->collator.Compare(entries[i], entry) == 0) {
      target_list.SetItemIndex(static_cast<std::int32_t>(i));
      break;
    }
  }
  ShowSelectedEntry();
  SaveList();
}

void TargetDialog::DeleteEntry() {
  const std::int32_t i = target_list.ItemIndex();
  if (i != -1) target_list.Delete(i);
  name_field.SetText({});
  prog_id_field.SetText({});
  const auto n = static_cast<std::int32_t>(target_list.Items().size());
  if (i + 1 < n) {
    // With nothing selected and entries left this selects nothing, and the
    // click below fails with the list index error before anything is saved.
    target_list.SetItemIndex(i);
    ShowSelectedEntry();
  } else if (i - 1 >= 0) {
    target_list.SetItemIndex(i - 1);
    ShowSelectedEntry();
  } else {
    target_list.SetItemIndex(-1);
  }
  SaveList();
}

void TargetDialog::ReplaceEntry() {
  const std::int32_t i = target_list.ItemIndex();
  target_list.Replace(i, JoinEntry(name_field.GetText(), prog_id_field.GetText()));
  target_list.SetItemIndex(i);
  SaveList();
}

void TargetDialog::ReplaceOnEnter(char16_t& key) {
  if (key != kEnter) return;
  key = 0;
  ReplaceEntry();
}

void TargetDialog::TakeTarget() {
  services_->target_prog_id = prog_id_field.GetText();
  main_->Window().SetCaption(Text(ui::kApplicationTitle) + u" [ " + name_field.GetText() + u" ]");
}

}  // namespace plyscan
