// The program's UTF-16 text as the system's wide strings and back. On Windows
// wchar_t is UTF-16 too, so these change only the type.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "base/text.h"

namespace plyscan::win32 {

inline const wchar_t* Wide(const char16_t* text) noexcept { return reinterpret_cast<const wchar_t*>(text); }
inline const wchar_t* Wide(const Text& text) noexcept { return Wide(text.c_str()); }
inline std::wstring_view WideView(TextView text) noexcept {
  return {reinterpret_cast<const wchar_t*>(text.data()), text.size()};
}
// Room in the program's text for the system to write wide characters into.
inline wchar_t* WideBuffer(char16_t* room) noexcept { return reinterpret_cast<wchar_t*>(room); }
inline Text FromWide(std::wstring_view text) {
  return Text(reinterpret_cast<const char16_t*>(text.data()), text.size());
}

// The system's text for an error code without its closing line break and
// blanks; "Error N" where the system has none.
Text SystemErrorText(DWORD code);

}  // namespace plyscan::win32
