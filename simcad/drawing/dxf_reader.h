// The group-code/value pairs of an ASCII DXF file and the decoding of its
// texts. Faults raise DxfError with the line where they were found.
#pragma once

#include <string_view>
#include <vector>

#include "simcad/drawing/drawing.h"

namespace simcad {

struct DxfPair {
  int code = 0;
  std::string_view value;  // the raw bytes of the value line, without its line end
  std::size_t line = 0;    // 1-based line of the group code; the value is on the next line
};

// Splits the file into pairs up to "0 EOF" (or the end of the file). Accepts
// CR, LF and CRLF line ends and a UTF-8 byte order mark. Throws DxfError for
// binary DXF, a group code that is not an integer, or a code without a value.
std::vector<DxfPair> ReadDxfPairs(std::string_view bytes);

// The numeric value of a pair; throws DxfError (at the value's line) when the
// value is not a finite number or integer.
double PairDouble(const DxfPair& pair);
int PairInt(const DxfPair& pair);

// How the strings of a file are encoded: files up to AC1018 in their ANSI
// code page, later ones in UTF-8.
enum class DxfEncoding { Cp1252, Utf8 };

// The encoding of a file from its $ACADVER and $DWGCODEPAGE (either may be empty).
DxfEncoding EncodingFor(std::string_view acadver, std::string_view codepage);

// Decodes a string value, including the \U+XXXX escapes of DXF.
Text DecodeDxfString(std::string_view raw, DxfEncoding encoding);

}  // namespace simcad
