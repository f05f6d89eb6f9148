// The scoped handles release what they hold at the end of their scope, once
// (a move hands the handle on, Release gives it up), and an empty one releases
// nothing.
#include "win32/scoped_handles.h"

#include <gtest/gtest.h>

#include <optional>
#include <utility>

#include "support/temp_dir.h"
#include "win32/wide_text.h"

namespace plyscan::win32 {
namespace {

HWND MakeWindow() {
  return CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, GetModuleHandleW(nullptr),
                         nullptr);
}

TEST(UniqueWindow, DestroysItsWindowAtTheEndOfItsScope) {
  const HWND hwnd = MakeWindow();
  ASSERT_TRUE(IsWindow(hwnd));
  {
    const UniqueWindow window(hwnd);
    EXPECT_TRUE(IsWindow(hwnd));
  }
  EXPECT_FALSE(IsWindow(hwnd));
}

TEST(UniqueWindow, AMoveHandsTheWindowOnAndReleaseGivesItUp) {
  const HWND hwnd = MakeWindow();
  ASSERT_TRUE(IsWindow(hwnd));
  std::optional<UniqueWindow> second;
  {
    UniqueWindow first(hwnd);
    second.emplace(std::move(first));
    EXPECT_FALSE(first);
  }
  EXPECT_TRUE(IsWindow(hwnd));  // the moved-from one destroyed nothing
  EXPECT_EQ(second->Get(), hwnd);
  const HWND released = second->Release();
  second.reset();
  EXPECT_EQ(released, hwnd);
  EXPECT_TRUE(IsWindow(hwnd));
  DestroyWindow(hwnd);
}

TEST(UniqueWindow, ResetDestroysTheWindowHeldBefore) {
  const HWND a = MakeWindow();
  const HWND b = MakeWindow();
  ASSERT_TRUE(IsWindow(a) && IsWindow(b));
  UniqueWindow window(a);
  window.Reset(b);
  EXPECT_FALSE(IsWindow(a));
  EXPECT_TRUE(IsWindow(b));
  EXPECT_TRUE(window.Close());
  EXPECT_FALSE(IsWindow(b));
  EXPECT_FALSE(window);
}

TEST(UniqueFile, ClosesItsFileAtTheEndOfItsScope) {
  const testing::TempDir dir;
  const Text path = dir.PathOf("held.bin");
  {
    const UniqueFile file(
        CreateFileW(Wide(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file);
    // Opened without sharing: no other open while it is held.
    const UniqueFile other(CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_FALSE(other);
  }
  UniqueFile again(CreateFileW(Wide(path), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  EXPECT_TRUE(again);
  EXPECT_TRUE(again.Close());
  EXPECT_FALSE(again);
  EXPECT_NE(DeleteFileW(Wide(path)), FALSE);  // closed: the file can go
}

TEST(UniqueFile, AFailedOpenHoldsNothing) {
  const testing::TempDir dir;
  UniqueFile file(CreateFileW(Wide(dir.PathOf("missing.bin")), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  EXPECT_FALSE(file);
  EXPECT_EQ(file.Get(), INVALID_HANDLE_VALUE);
  EXPECT_TRUE(file.Close());  // nothing to close
}

TEST(UniqueGlobal, TheLockEndsWithItsScopeAndTheMemoryWithItsOwner) {
  UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, 16));
  ASSERT_TRUE(memory);
  {
    const GlobalLocked locked(memory.Get());
    ASSERT_NE(locked.Data(), nullptr);
    EXPECT_EQ(GlobalFlags(memory.Get()) & GMEM_LOCKCOUNT, 1u);
  }
  EXPECT_EQ(GlobalFlags(memory.Get()) & GMEM_LOCKCOUNT, 0u);
  const HGLOBAL handle = memory.Get();
  memory.Reset();
  EXPECT_EQ(GlobalFlags(handle), static_cast<UINT>(GMEM_INVALID_HANDLE));
}

TEST(OpenedClipboard, StaysOpenForItsWindowUntilTheEndOfItsScope) {
  const UniqueWindow owner(MakeWindow());
  ASSERT_TRUE(owner);
  std::optional<OpenedClipboard> moved;
  {
    OpenedClipboard clipboard(owner.Get());
    ASSERT_TRUE(clipboard.Open());
    EXPECT_EQ(GetOpenClipboardWindow(), owner.Get());
    moved.emplace(std::move(clipboard));
    EXPECT_FALSE(clipboard.Open());
  }
  EXPECT_EQ(GetOpenClipboardWindow(), owner.Get());  // the moved-from one closed nothing
  moved.reset();
  EXPECT_EQ(GetOpenClipboardWindow(), nullptr);
}

}  // namespace
}  // namespace plyscan::win32
