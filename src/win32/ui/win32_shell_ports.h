// The shell's ports on Windows: a WM_DROPFILES drop, and the registry that
// owns the thread's COM message filter.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include "shell/window_system.h"
#include "win32/com_ptr.h"
#include "win32/message_filter.h"

namespace plyscan::win32 {

class Win32DroppedFiles final : public ui::DroppedFiles {
 public:
  explicit Win32DroppedFiles(HDROP drop) noexcept : drop_(drop) {}
  Win32DroppedFiles(const Win32DroppedFiles&) = delete;
  Win32DroppedFiles& operator=(const Win32DroppedFiles&) = delete;
  // A drop the handler did not finish is released here.
  ~Win32DroppedFiles() override { Finish(); }

  std::uint32_t Count() override;
  Text Name(std::uint32_t index, std::uint32_t capacity) override;
  void Finish() override;

 private:
  HDROP drop_;
};

class Win32MessageFilterRegistry final : public ui::MessageFilterRegistry {
 public:
  Win32MessageFilterRegistry() = default;
  Win32MessageFilterRegistry(const Win32MessageFilterRegistry&) = delete;
  Win32MessageFilterRegistry& operator=(const Win32MessageFilterRegistry&) = delete;
  // A filter still registered stays registered: COM holds its own reference
  // until the apartment goes.
  ~Win32MessageFilterRegistry() override = default;

  void CreateAndRegister() override;
  void Revoke() override;

 private:
  // Our own reference keeps the filter alive whether or not COM took one.
  ComPtr<BusyCallFilter> filter_;
};

}  // namespace plyscan::win32
