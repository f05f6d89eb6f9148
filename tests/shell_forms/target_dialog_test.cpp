// The target dialog's handlers: preselection, add, delete, change, Enter, OK
// and cancel, on the list file beside the executable.
#include <string>

#include "shell_fixture.h"

namespace plyscan::testing {
namespace {

class TargetDialog : public ShellTest {
 protected:
  // Starts with `target` as the saved target and `list` as the list file.
  void StartWith(const char* target, const char* list) {
    dir.Write(Ini(), std::string("[Target]\r\nProgID=") + target + "\r\n");
    if (list) WriteList(list);
    Start();
  }

  // Opens the dialog by the CAD button; `user` acts while it is shown.
  void OpenDialog(std::function<void()> user) {
    windows.modal_user = [user = std::move(user)](ui::Form&) { user(); };
    main->Window().Click(main->target_button);
  }

  void Click(ui::Control& control) { dialog->Window().Click(control); }

  std::vector<Text> Entries() const { return dialog->target_list.Items(); }
  std::int32_t Selected() const { return dialog->target_list.ItemIndex(); }
  Text Name() const { return dialog->name_field.GetText(); }
  Text ProgId() const { return dialog->prog_id_field.GetText(); }
  std::string ListFile() const { return dir.Read(kList); }
};

TEST_F(TargetDialog, WithoutAListOkClearsTheTargetAndNamesNothing) {
  StartWith("X.App", nullptr);
  OpenDialog([&] {
    EXPECT_TRUE(Entries().empty());
    EXPECT_EQ(Name(), u"");
    EXPECT_EQ(ProgId(), u"");
    Click(dialog->ok_button);
  });
  EXPECT_EQ(Services().target_prog_id, u"");
  EXPECT_EQ(main->Window().Caption(), u"PLYSCAN [  ]");
}

TEST_F(TargetDialog, PreselectsTheFirstMatchInListOrderAndOkTakesItsFields) {
  StartWith("X.App", "CAD B\tX.App\r\nCAD A\tX.App.2\r\n");
  EXPECT_EQ(main->Window().Caption(), u"PLYSCAN [ CAD B ]");  // start-up goes in file order
  OpenDialog([&] {
    EXPECT_EQ(Entries(), (std::vector<Text>{u"CAD A\tX.App.2", u"CAD B\tX.App"}));
    EXPECT_EQ(Selected(), 0);
    EXPECT_EQ(Name(), u"CAD A");
    EXPECT_EQ(ProgId(), u"X.App.2");
    Click(dialog->ok_button);
  });
  EXPECT_EQ(Services().target_prog_id, u"X.App.2");
  EXPECT_EQ(main->Window().Caption(), u"PLYSCAN [ CAD A ]");
}

TEST_F(TargetDialog, WithoutAMatchTheFieldsKeepTheirTextsAndOkAppliesThem) {
  StartWith("Y.App", "CAD A\tX.App\r\n");
  OpenDialog([&] {
    dialog->name_field.UserSetText(u"typed");
    dialog->prog_id_field.UserSetText(u"Typed.App");
    Click(dialog->cancel_button);  // cancel
  });
  EXPECT_EQ(Services().target_prog_id, u"Y.App");
  OpenDialog([&] {
    EXPECT_EQ(Selected(), -1);
    EXPECT_EQ(Name(), u"typed");
    EXPECT_EQ(ProgId(), u"Typed.App");
    Click(dialog->ok_button);
  });
  EXPECT_EQ(Services().target_prog_id, u"Typed.App");
  EXPECT_EQ(main->Window().Caption(), u"PLYSCAN [ typed ]");
}

TEST_F(TargetDialog, AddPutsTheEntryAtItsSortedPlaceSelectsItAndSaves) {
  StartWith("None", "b\tB.App\r\nd\tD.App\r\n");
  OpenDialog([&] {
    dialog->name_field.UserSetText(u"c");
    dialog->prog_id_field.UserSetText(u"C.App");
    Click(dialog->add_button);
    EXPECT_EQ(Entries(), (std::vector<Text>{u"b\tB.App", u"c\tC.App", u"d\tD.App"}));
    EXPECT_EQ(Selected(), 1);
    EXPECT_EQ(ListFile(), "b\tB.App\r\nc\tC.App\r\nd\tD.App\r\n");

    dialog->name_field.UserSetText(u"");
    dialog->prog_id_field.UserSetText(u"");
    Click(dialog->add_button);  // a lone TAB sorts first
    EXPECT_EQ(Selected(), 0);
    EXPECT_EQ(ListFile(), "\t\r\nb\tB.App\r\nc\tC.App\r\nd\tD.App\r\n");

    dialog->name_field.UserSetText(u"B");
    dialog->prog_id_field.UserSetText(u"b.app");
    Click(dialog->add_button);  // equal to "b\tB.App" apart from letter case
    EXPECT_EQ(Selected(), 1);
    EXPECT_EQ(Name(), u"b");
    EXPECT_EQ(ProgId(), u"B.App");
    Click(dialog->cancel_button);
  });
  EXPECT_EQ(ListFile(), "\t\r\nb\tB.App\r\nB\tb.app\r\nc\tC.App\r\nd\tD.App\r\n");
  EXPECT_EQ(Services().target_prog_id, u"None");  // cancel keeps the target, the file keeps the changes
  EXPECT_EQ(main->Window().Caption(), u"PLYSCAN [ BricsCAD ]");
}

TEST_F(TargetDialog, DeleteSelectsTheFollowingEntryOrElseTheOneBefore) {
  const struct {
    const char* list;
    std::int32_t deleted;
    std::int32_t selected;
    const char16_t* name;
    const char* saved;
  } cases[] = {
      {"a\t1\r\nb\t2\r\nc\t3\r\n", 0, 0, u"b", "b\t2\r\nc\t3\r\n"},
      {"a\t1\r\nb\t2\r\nc\t3\r\n", 1, 0, u"a", "a\t1\r\nc\t3\r\n"},
      {"a\t1\r\nb\t2\r\nc\t3\r\n", 2, 1, u"b", "a\t1\r\nb\t2\r\n"},
      {"a\t1\r\nb\t2\r\n", 0, -1, u"", "b\t2\r\n"},
      {"a\t1\r\n", 0, -1, u"", ""},
  };
  int n = 0;
  for (const auto& c : cases) {
    Rename(n++);
    StartWith("None", c.list);
    OpenDialog([&] {
      dialog->target_list.UserSetItemIndex(c.deleted);
      Click(dialog->target_list);
      Click(dialog->delete_button);
      EXPECT_EQ(Selected(), c.selected) << c.list << " deleting " << c.deleted;
      EXPECT_EQ(Name(), c.name) << c.list << " deleting " << c.deleted;
    });
    EXPECT_EQ(ListFile(), c.saved);
    EXPECT_TRUE(windows.errors.empty());
  }
}

TEST_F(TargetDialog, DeleteOrChangeWithNothingSelectedIsTheListIndexError) {
  StartWith("None", "a\t1\r\nb\t2\r\n");
  OpenDialog([&] {
    dialog->name_field.UserSetText(u"x");
    dialog->prog_id_field.UserSetText(u"X");
    Click(dialog->replace_button);
    EXPECT_EQ(Entries(), (std::vector<Text>{u"a\t1", u"b\t2"}));
    EXPECT_EQ(Name(), u"x");

    Click(dialog->delete_button);
    EXPECT_EQ(Entries().size(), 2u);
    EXPECT_EQ(Name(), u"");  // emptied before the failure
    EXPECT_EQ(ProgId(), u"");
  });
  const Text error = u"リストのインデックスが範囲を超えています (-1)";
  EXPECT_EQ(windows.errors, (std::vector<Text>{error, error}));
  EXPECT_EQ(ListFile(), "a\t1\r\nb\t2\r\n");
}

TEST_F(TargetDialog, DeleteWithNothingSelectedInAnEmptyListSavesTheEmptyList) {
  StartWith("None", "");
  OpenDialog([&] { Click(dialog->delete_button); });
  EXPECT_TRUE(windows.errors.empty());
  EXPECT_EQ(ListFile(), "");
}

TEST_F(TargetDialog, ChangeReplacesInPlaceAndTheNextShowingSorts) {
  StartWith("B.App", "a\t1\r\nb\tB.App\r\nc\t3\r\n");
  OpenDialog([&] {
    ASSERT_EQ(Selected(), 1);
    dialog->name_field.UserSetText(u"z");
    Click(dialog->replace_button);
    EXPECT_EQ(Entries(), (std::vector<Text>{u"a\t1", u"z\tB.App", u"c\t3"}));
    EXPECT_EQ(Selected(), 1);
  });
  EXPECT_EQ(ListFile(), "a\t1\r\nz\tB.App\r\nc\t3\r\n");
  OpenDialog([&] { EXPECT_EQ(Entries(), (std::vector<Text>{u"a\t1", u"c\t3", u"z\tB.App"})); });
}

TEST_F(TargetDialog, EnterInEitherFieldChangesTheEntryAndIsSwallowed) {
  StartWith("B.App", "a\t1\r\nb\tB.App\r\n");
  OpenDialog([&] {
    dialog->prog_id_field.UserSetText(u"B.App.25");
    char16_t key = 13;
    dialog->prog_id_field.OnKeyPress(key);
    EXPECT_EQ(key, 0);
    EXPECT_EQ(ListFile(), "a\t1\r\nb\tB.App.25\r\n");

    char16_t letter = u'q';
    dialog->name_field.OnKeyPress(letter);
    EXPECT_EQ(letter, u'q');
    EXPECT_EQ(dialog->Window().GetModalResult(), ui::ModalResult::kNone);  // the dialog stays open
  });
}

TEST_F(TargetDialog, AUtf8ListKeepsItsJapaneseNamesWhenRewritten) {
  StartWith("X.App", "\xEF\xBB\xBF図面CAD\tX.App\r\n");
  EXPECT_EQ(main->Window().Caption(), u"PLYSCAN [ 図面CAD ]");
  OpenDialog([&] {
    EXPECT_EQ(Name(), u"図面CAD");
    dialog->name_field.UserSetText(u"CAD別");
    dialog->prog_id_field.UserSetText(u"Y.App");
    Click(dialog->add_button);
  });
  EXPECT_EQ(ListFile(), "\xEF\xBB\xBF" "CAD別\tY.App\r\n図面CAD\tX.App\r\n");
}

TEST_F(TargetDialog, AListThatCannotBeOpenedIsReportedAndTheDialogStillOpens) {
  FailingFile unreadable(SystemFiles(), dir.PathOf(kList), FailingFile::Fails::kReading);
  files = &unreadable;
  StartWith("X.App", nullptr);
  windows.errors.clear();  // start-up reported it too
  bool shown = false;
  OpenDialog([&] {
    shown = true;
    EXPECT_TRUE(Entries().empty());
  });
  EXPECT_TRUE(shown);
  ASSERT_EQ(windows.errors.size(), 1u);
  EXPECT_EQ(windows.errors[0].find(u"ファイル " + dir.PathOf(kList) + u" は開けません。"), 0u);
}

TEST_F(TargetDialog, AListThatCannotBeWrittenKeepsItsOldContentWhileTheDialogShowsTheNew) {
  WriteList("a\t1\r\n");
  FailingFile unwritable(SystemFiles(), dir.PathOf(kList), FailingFile::Fails::kWriting);
  files = &unwritable;
  StartWith("None", nullptr);
  OpenDialog([&] {
    dialog->name_field.UserSetText(u"b");
    dialog->prog_id_field.UserSetText(u"2");
    Click(dialog->add_button);
    EXPECT_EQ(Entries(), (std::vector<Text>{u"a\t1", u"b\t2"}));
  });
  EXPECT_EQ(ListFile(), "a\t1\r\n");
  ASSERT_EQ(windows.errors.size(), 1u);
  EXPECT_EQ(windows.errors[0], u"ファイル \"" + dir.PathOf(kList) + u"\" を作成できません。ディスクがいっぱいです。.");
}

TEST_F(TargetDialog, IsCentredTheFirstTimeAndShownAgainWhereItWas) {
  StartWith("None", nullptr);
  Rect first;
  OpenDialog([&] { first = DialogWindow().WindowRect(); });
  const Size screen = windows.PrimaryScreenSize();
  EXPECT_EQ(first.left, (screen.width - first.Width()) / 2);
  EXPECT_EQ(first.top, (screen.height - first.Height()) / 2);
  DialogWindow().SetWindowRect(first.MovedTo({5, 6}));
  OpenDialog([&] { EXPECT_EQ(DialogWindow().WindowRect(), Rect::Sized(5, 6, first.Width(), first.Height())); });
}

}  // namespace
}  // namespace plyscan::testing
