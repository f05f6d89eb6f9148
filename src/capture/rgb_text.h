// The background colour field's text ("33,40,48") as a colour value.
#pragma once

#include <vector>

#include "base/bitmap.h"
#include "base/text.h"

namespace plyscan {

// Spaces are dropped, the rest is read as comma text; the first three items
// are red, green and blue (decimal, or hexadecimal after "$", "x" or "0x"),
// each cut to its low 8 bits, an unreadable item counting as 0. Fewer than
// three items give 0 (black). Never fails.
[[nodiscard]] Colour ParseRgbText(TextView text);

// The items of comma text: separated by commas; control characters (1 to 31)
// also end an item and runs of them around an item are skipped; an item that
// begins with a double quote runs to the closing quote ("" inside stands for
// one, an unclosed quote runs to the end); a comma at the very end adds an
// empty item; a NUL ends the text.
[[nodiscard]] std::vector<Text> SplitCommaText(TextView text);

}  // namespace plyscan
