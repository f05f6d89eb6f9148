// plyscan.exe started in a folder of its own with neither a settings file nor
// a target list: it opens with its defaults, centred on the primary display,
// and a close ends it cleanly, leaving a settings file behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "driver.h"
#include "support/temp_dir.h"

namespace plyscan::testing {
namespace {

TEST(Launch, FirstStartUsesTheDefaultsAndClosesCleanly) {
  TempDir dir;
  RunningProgram program(dir.Root().wstring());
  ASSERT_TRUE(program.Started());

  HWND main = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (main = program.TopLevel(L"TForm60")) != nullptr; })) << "no main window";
  EXPECT_EQ(WindowText(main), L"PLYSCAN [ BricsCAD ]");
  RECT rect{};
  GetWindowRect(main, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
  EXPECT_EQ(rect.top, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);

  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitForExit(), 0);
  EXPECT_TRUE(std::filesystem::exists(dir.Root() / "plyscan.ini"));
  EXPECT_FALSE(std::filesystem::exists(dir.Root() / "TargetCAD_APIVersion.txt"));
}

}  // namespace
}  // namespace plyscan::testing
