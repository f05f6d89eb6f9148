#include "win32/ui/win32_shell_ports.h"

#include <string>

#include "win32/wide_text.h"

namespace plyscan::win32 {

std::uint32_t Win32DroppedFiles::Count() { return drop_ ? DragQueryFileW(drop_, 0xFFFFFFFF, nullptr, 0) : 0; }

Text Win32DroppedFiles::Name(std::uint32_t index, std::uint32_t capacity) {
  if (!drop_ || capacity == 0) return {};
  std::wstring buffer(capacity, L'\0');
  const UINT length = DragQueryFileW(drop_, index, buffer.data(), capacity);
  return FromWide({buffer.data(), length});
}

void Win32DroppedFiles::Finish() {
  if (drop_) DragFinish(drop_);
  drop_ = nullptr;
}

void Win32MessageFilterRegistry::CreateAndRegister() {
  filter_ = BusyCallFilter::Create();
  filter_->RegisterFilter();
}

void Win32MessageFilterRegistry::Revoke() {
  if (!filter_) return;
  filter_->RevokeFilter();
  filter_.Reset();
}

}  // namespace plyscan::win32
