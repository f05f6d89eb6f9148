// The board's pictures without a system: painted into a bitmap with the
// headless canvas band by band, and the clipboard, the save dialog and the
// files kept for tests to look at (or refused when they say so).
#pragma once

#include <map>
#include <optional>

#include "shell/board_pictures.h"

namespace plyscan::ui {

class HeadlessPictures final : public BoardPictures {
 public:
  Bitmap Paint(std::int32_t width, std::int32_t height, std::int32_t band_height,
               const std::function<void(Canvas&, std::int32_t band_top)>& paint) override;
  FileResult CopyToClipboard(const Bitmap& picture) override;
  FileResult CopyTextToClipboard(TextView text) override;
  std::optional<Text> AskSavePath(TextView file_name) override;
  FileResult SavePng(const Bitmap& picture, const Text& path) override;

  std::optional<Bitmap> clipboard;
  std::optional<Text> clipboard_text;
  std::optional<Text> save_answer;  // what the user picks in the dialog; nullopt cancels it
  Text asked_for;                   // the name the dialog was opened with
  std::map<Text, Bitmap> saved;
  std::optional<Text> refuse_with;  // the system's error for every clipboard and file
  int bands = 0;
};

}  // namespace plyscan::ui
