// Text helpers shared by every subsystem. The program's texts are UTF-16, as
// Windows and the CAD automation servers hand them over.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace plyscan {

using Text = std::u16string;
using TextView = std::u16string_view;

// UTF-8 <-> UTF-16. Invalid input becomes U+FFFD; never throws.
Text FromUtf8(std::string_view utf8);
std::string ToUtf8(TextView text);

// UTF-16 code units from raw bytes (little- or big-endian) and back. A lone
// last byte is not a character and is dropped.
Text FromUtf16Bytes(std::string_view bytes, bool big_endian);
std::string ToUtf16Bytes(TextView text, bool big_endian);

// Upper-cases the ASCII letters a to z only; every other code unit stays.
Text AsciiUpper(TextView text);

// 1-based position of `needle` in `haystack`, 0 when absent (as the target
// kind tests and the list matching rule count).
std::size_t Pos(TextView needle, TextView haystack);

// Replaces each "%s" (or "%d") in `pattern`, left to right, by the next argument.
Text Format(TextView pattern, std::initializer_list<TextView> args);

// Decimal text of a signed integer.
Text DecimalText(std::int64_t value);

}  // namespace plyscan
