// Reading integers from text the way the settings file and the colour field
// are read: optional leading blanks, a sign, then decimal digits, or
// hexadecimal digits after "$", "x", "X" or "0x"/"0X". Anything else, trailing
// characters, or a value outside the signed 32-bit range gives the default.
#pragma once

#include <cstdint>

#include "base/text.h"

namespace plyscan {

std::int32_t ParseInt32(TextView text, std::int32_t fallback) noexcept;

// The settings reader's variant: a value longer than two characters that
// begins with "0x" or "0X" is hexadecimal as a whole; otherwise ParseInt32.
std::int32_t ParseProfileInt32(TextView text, std::int32_t fallback) noexcept;

}  // namespace plyscan
