// Reading a Windows bitmap file into a 32-bit Bitmap, as the export route
// reads what the CAD's _BMPOUT wrote: BITMAPINFOHEADER and its V4/V5
// successors and the old BITMAPCOREHEADER; 1, 4 and 8 bits with a palette,
// 16 bits (5-5-5, or bit fields), 24 and 32 bits (plain or bit fields); rows
// bottom-up or top-down. Compressed files (RLE, JPEG, PNG inside) and files
// whose pixels run past their end are failures. The Windows build reads the
// file with the system's own reader; this one is the headless build's, and
// fuzzed.
#pragma once

#include <string_view>

#include "base/bitmap.h"

namespace plyscan {

// Throws Failure when the bytes are not a bitmap file this reader takes.
[[nodiscard]] Bitmap ReadBmpFile(std::string_view bytes, SurfaceFactory& surfaces);

}  // namespace plyscan
