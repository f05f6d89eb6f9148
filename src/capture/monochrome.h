// The two-colour filter on a thumbnail.
#pragma once

#include "base/bitmap.h"

namespace plyscan {

// Leaves the bitmap at 24 bits per pixel (the picture kept) and gives every
// pixel that is neither exactly `background` nor black the colour
// `replacement`. A background outside 0..0xFFFFFF matches no pixel. The
// filler bytes at the end of each row are never touched.
void ApplyMonochrome(Bitmap& bitmap, Colour background, Colour replacement);

}  // namespace plyscan
