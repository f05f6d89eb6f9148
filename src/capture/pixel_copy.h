// The two pixel copies of the view grab, on Bitmaps in memory: a rectangle
// taken out of a larger picture (a blit with SRCCOPY), and the shrink of the
// grabbed picture onto the thumbnail as GDI's StretchBlt does it in the
// stretch mode WHITEONBLACK (STRETCH_ORSCANS), the dropped pixels ORed into
// the kept ones, so that thin lines survive the shrink.
#pragma once

#include <cstdint>

#include "base/bitmap.h"

namespace plyscan {

// The pixels of `from` at (x, y) and on, into `to` from its top-left corner,
// as many as `to` holds; pixels of `to` that fall outside `from` stay as they were.
void CopyPixels(const Bitmap& from, std::int32_t x, std::int32_t y, Bitmap& to);

// The whole of `from` onto the whole of `onto`, width and height scaled on
// their own. Each pixel of `onto` is the OR of the pixels of `from` it
// covers (the one under it when `onto` is the larger).
void ShrinkOrScans(const Bitmap& from, Bitmap& onto);

}  // namespace plyscan
