// Port: the picture of the whole board, made and taken away: painted in
// horizontal bands onto a 24-bit bitmap, put on the clipboard, or saved as a
// PNG file at a place the user picks in the system's save dialog; and the
// board's layer table put on the clipboard as text.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "base/bitmap.h"
#include "base/canvas.h"
#include "base/files.h"

namespace plyscan::ui {

class BoardPictures {
 public:
  virtual ~BoardPictures() = default;
  // A 24-bit bitmap of width x height, painted band by band: `paint` gets a
  // canvas whose top is the picture's row `band_top`, `band_height` rows high
  // (the last band may be lower); the picture starts black.
  virtual Bitmap Paint(std::int32_t width, std::int32_t height, std::int32_t band_height,
                       const std::function<void(Canvas&, std::int32_t band_top)>& paint) = 0;
  virtual FileResult CopyToClipboard(const Bitmap& picture) = 0;
  // Text for other programs to paste, in place of what the clipboard held.
  virtual FileResult CopyTextToClipboard(TextView text) = 0;
  // The save dialog, with `file_name` in the user's pictures folder to start
  // with; nullopt when the user cancels it.
  virtual std::optional<Text> AskSavePath(TextView file_name) = 0;
  // The picture as a PNG file; on failure the system's text for the error.
  virtual FileResult SavePng(const Bitmap& picture, const Text& path) = 0;
};

}  // namespace plyscan::ui
