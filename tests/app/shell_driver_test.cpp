// plyscan.exe driven from outside under Wine, at the resolution of the test
// prefix (96 dpi, or 144 dpi for 150 %): the window restored from a prepared
// settings file and named from a prepared target list, its controls where the
// layout puts them at that resolution, the target chosen in the dialog opened
// by "CAD", and the settings file written at exit, byte for byte.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "driver.h"
#include "shell/layouts.h"
#include "shell/placement.h"
#include "support/temp_dir.h"
#include "win32/wide_text.h"

namespace plyscan::testing {
namespace {

std::wstring FolderOf(const TempDir& dir) { return dir.Root().wstring(); }

std::string ReadFile(const std::filesystem::path& path) {
  std::string bytes;
  if (FILE* f = _wfopen(path.c_str(), L"rb")) {
    char buffer[4096];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, f)) > 0;) bytes.append(buffer, n);
    fclose(f);
  }
  return bytes;
}

// Where the screenshots go: the build folder's "screenshots", named by the
// resolution of the run ("main-100.bmp", "dialog-150.bmp").
std::wstring ScreenshotPath(const wchar_t* what, UINT dpi) {
  std::filesystem::create_directories(PLYSCAN_SCREENSHOT_DIR);
  return std::wstring(PLYSCAN_SCREENSHOT_DIR) + L"/" + what + L"-" + std::to_wstring(dpi * 100 / 96) + L".bmp";
}

// Clicks a point of a window as the mouse would.
void ClickAt(HWND hwnd, int x, int y) {
  PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  PostMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

// Checks every control of a form against the layout at `dpi`.
void ExpectLaidOut(HWND form_window, const ui::FormDesign& form, UINT dpi) {
  const auto scaled = static_cast<std::int32_t>(dpi);
  for (const ui::ControlDesign& row : form.controls) {
    SCOPED_TRACE("control " + std::to_string(row.id));
    const HWND control = ChildById(form_window, row.id);
    ASSERT_NE(control, nullptr);
    RECT parent{};
    GetClientRect(GetParent(control), &parent);
    const Rect b = ui::PlaceControl(row, ui::DesignedParentSize(form, row), {parent.right, parent.bottom}, scaled);
    const RECT r = RectInParent(control);
    EXPECT_EQ(r.left, b.left);
    EXPECT_EQ(r.top, b.top);
    if (row.kind == ui::Kind::kLabel)
      EXPECT_GE(r.right - r.left, b.Width());  // labels grow to their text
    else
      EXPECT_EQ(r.right - r.left, b.Width());
    EXPECT_EQ(r.bottom - r.top, b.Height());
    EXPECT_EQ(IsWindowVisible(control) != FALSE, (row.flags & ui::kHidden) == 0 && IsWindowVisible(form_window));
    const std::wstring caption = win32::Wide(row.caption);
    if (row.kind == ui::Kind::kPushButton || row.kind == ui::Kind::kCheckBox || row.kind == ui::Kind::kLabel ||
        row.kind == ui::Kind::kSpeedButton) {
      EXPECT_EQ(WindowText(control), caption);
    }
  }
}

class Driver : public ::testing::Test {
 protected:
  void SetUp() override {
    // Frames drawn by Wine itself, so that screenshots show them on a display
    // without a window manager; for this program only.
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\plyscan.exe\\X11 Driver", 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
      RegSetValueExW(key, L"Decorated", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"N"), 2 * sizeof(wchar_t));
      RegCloseKey(key);
    }
    dpi = GetDpiForSystem();
  }

  TempDir dir;
  UINT dpi = 96;
};

constexpr char kPreparedSettings[] =
    "[PLYSCAN]\r\nWidth=800\r\nHeight=420\r\nLeft=120\r\nTop=80\r\nBkgColor=10,20,30\r\nMono=1\r\nZoomExt=0\r\n"
    "[Target]\r\nProgID=X.App.A\r\n";
// In code page 932: "CAD A<TAB>X.App.A" and "図面 CAD B<TAB>X.App.B".
constexpr char kPreparedList[] = "\x90\x7D\x96\xCA CAD B\tX.App.B\r\nCAD A\tX.App.A\r\n";

TEST_F(Driver, RestoresTheWindowChoosesATargetInTheDialogAndSavesTheSettings) {
  dir.Write("plyscan.ini", kPreparedSettings);
  dir.Write("TargetCAD_APIVersion.txt", kPreparedList);
  RunningProgram program(FolderOf(dir));
  ASSERT_TRUE(program.Started());

  HWND main = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (main = program.TopLevel(L"TForm60")) != nullptr; })) << "no main window";
  EXPECT_EQ(WindowText(main), L"PLYSCAN [ CAD A ]");
  RECT rect{};
  GetWindowRect(main, &rect);
  EXPECT_EQ(rect.left, 120);
  EXPECT_EQ(rect.top, 80);
  EXPECT_EQ(rect.right - rect.left, 800);
  EXPECT_EQ(rect.bottom - rect.top, 420);
  EXPECT_TRUE(GetWindowLongPtrW(main, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_TRUE(GetWindowLongPtrW(main, GWL_EXSTYLE) & WS_EX_APPWINDOW);
  EXPECT_TRUE(GetWindowLongPtrW(main, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  EXPECT_FALSE(GetWindowLongPtrW(main, GWL_STYLE) & WS_MAXIMIZEBOX);
  EXPECT_TRUE(GetWindowLongPtrW(main, GWL_STYLE) & WS_THICKFRAME);

  const ui::FormDesign& main_design = ui::MainWindowDesign();
  ExpectLaidOut(main, main_design, dpi);
  const HWND edit = ChildById(main, ui::main_controls::kBackgroundField);
  EXPECT_EQ(WindowText(edit), L"10,20,30");
  EXPECT_TRUE(GetWindowLongPtrW(edit, GWL_STYLE) & ES_CENTER);
  EXPECT_FALSE(GetWindowLongPtrW(edit, GWL_STYLE) & WS_TABSTOP);
  EXPECT_EQ(SendMessageW(ChildById(main, ui::main_controls::kMonochromeBox), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageW(ChildById(main, ui::main_controls::kZoomExtentsBox), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(ClassOf(ChildById(main, ui::main_controls::kBoard)), L"TDrawGrid");
  ASSERT_TRUE(WaitShown(main));
  EXPECT_TRUE(SaveScreenshot(main, ScreenshotPath(L"main", dpi)));

  // "CAD" opens the dialog above the main window, preselecting the target.
  PostMessageW(ChildById(main, ui::main_controls::kTargetButton), BM_CLICK, 0, 0);
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (dialog = program.TopLevel(L"TTargetCADForm")) != nullptr; })) << "no dialog";
  const ui::FormDesign& dialog_design = ui::TargetDialogDesign();
  const HWND list = ChildById(dialog, ui::dialog_controls::kTargetList);
  const HWND name = ChildById(dialog, ui::dialog_controls::kNameField);
  const HWND prog_id = ChildById(dialog, ui::dialog_controls::kProgIdField);
  ASSERT_TRUE(WaitUntil([&] { return WindowText(prog_id) == L"X.App.A"; })) << "no preselection";
  EXPECT_EQ(WindowText(dialog), L"ターゲット CAD");
  ASSERT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(ListEntry(list, 0), L"CAD A\tX.App.A");
  EXPECT_EQ(ListEntry(list, 1), L"図面 CAD B\tX.App.B");
  EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(WindowText(name), L"CAD A");
  EXPECT_TRUE(GetWindowLongPtrW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_FALSE(GetWindowLongPtrW(main, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_FALSE(IsWindowEnabled(main));
  ExpectLaidOut(dialog, dialog_design, dpi);
  ASSERT_TRUE(WaitShown(dialog));
  EXPECT_TRUE(SaveScreenshot(dialog, ScreenshotPath(L"dialog", dpi)));

  // Enter in the ProgID field changes the selected entry and saves the list
  // in the order shown; Esc does nothing.
  SendMessageW(prog_id, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"X.App.A2"));
  PostMessageW(prog_id, WM_KEYDOWN, VK_RETURN, 1);
  PostMessageW(prog_id, WM_KEYUP, VK_RETURN, 0xC0000001);
  ASSERT_TRUE(WaitUntil([&] { return ListEntry(list, 0) == L"CAD A\tX.App.A2"; })) << "Enter did not change";
  EXPECT_EQ(ReadFile(dir.Root() / "TargetCAD_APIVersion.txt"), "CAD A\tX.App.A2\r\n\x90\x7D\x96\xCA CAD B\tX.App.B\r\n");
  PostMessageW(list, WM_KEYDOWN, VK_ESCAPE, 1);
  PostMessageW(list, WM_KEYUP, VK_ESCAPE, 0xC0000001);
  // A key posted after Esc: once the list has moved for it, Esc has been handled.
  PostMessageW(list, WM_KEYDOWN, VK_DOWN, 1);
  PostMessageW(list, WM_KEYUP, VK_DOWN, 0xC0000001);
  ASSERT_TRUE(WaitUntil([&] { return SendMessageW(list, LB_GETCURSEL, 0, 0) == 1; })) << "the list did not move";
  EXPECT_TRUE(IsWindowVisible(dialog)) << "Esc closed the dialog";

  // Pick the second entry with the mouse, then OK.
  RECT item{};
  SendMessageW(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
  ClickAt(list, item.left + 5, (item.top + item.bottom) / 2);
  ASSERT_TRUE(WaitUntil([&] { return WindowText(prog_id) == L"X.App.B"; })) << "the click did not select";
  EXPECT_EQ(WindowText(name), L"図面 CAD B");
  PostMessageW(ChildById(dialog, ui::dialog_controls::kOkButton), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); })) << "OK did not close the dialog";
  ASSERT_TRUE(WaitUntil([&] { return WindowText(main) == L"PLYSCAN [ 図面 CAD B ]"; })) << WindowText(main);
  // The stacking goes back once the dialog's loop has returned.
  EXPECT_TRUE(WaitUntil([&] { return (GetWindowLongPtrW(main, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }));
  EXPECT_FALSE(GetWindowLongPtrW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_TRUE(IsWindowEnabled(main));

  PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_EQ(program.WaitForExit(), 0);
  EXPECT_EQ(ReadFile(dir.Root() / "plyscan.ini"),
            "[PLYSCAN]\r\nWidth=800\r\nHeight=420\r\nLeft=120\r\nTop=80\r\nBkgColor=10,20,30\r\nMono=1\r\nZoomExt=0\r\n"
            "FitLayer=0\r\n[Target]\r\nProgID=X.App.B\r\n");  // a file from before "FitLayer" gains it
}

TEST_F(Driver, AnUnreadableTargetListIsReportedAndTheWindowStillTakesDroppedFiles) {
  dir.Write("TargetCAD_APIVersion.txt", "CAD A\tX.App.A\r\n");
  const std::filesystem::path list = dir.Root() / "TargetCAD_APIVersion.txt";
  // Opened without sharing: the program cannot open it.
  const win32::UniqueFile lock(CreateFileW(list.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(lock);
  RunningProgram program(FolderOf(dir));
  ASSERT_TRUE(program.Started());

  HWND report = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (report = program.TopLevel(L"#32770")) != nullptr; })) << "no error report";
  EXPECT_EQ(WindowText(report), L"PLYSCAN");
  std::wstring message;
  EnumChildWindows(
      report,
      [](HWND child, LPARAM lp) -> BOOL {
        const std::wstring text = WindowText(child);
        if (text.find(L"は開けません") != std::wstring::npos) *reinterpret_cast<std::wstring*>(lp) = text;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&message));
  EXPECT_EQ(message.rfind(L"ファイル " + list.wstring() + L" は開けません。 ", 0), 0u)
      << ToUtf8(win32::FromWide(message));
  PostMessageW(report, WM_COMMAND, IDOK, 0);

  HWND main = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (main = program.TopLevel(L"TForm60")) != nullptr; })) << "no main window";
  EXPECT_EQ(WindowText(main), L"PLYSCAN [ BricsCAD ]");
  EXPECT_TRUE(GetWindowLongPtrW(main, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitForExit(), 0);
}

}  // namespace
}  // namespace plyscan::testing
