// The board's pictures on Windows: painted with GDI band by band through a
// DIB section of one band, put on the clipboard as a device-independent
// bitmap (CF_DIB), the save dialog of the system opened in the user's
// pictures folder, and PNG files written with the Windows Imaging Component.
#pragma once

#include "shell/board_pictures.h"

namespace plyscan::win32 {

class Win32BoardPictures final : public ui::BoardPictures {
 public:
  FileResult CopyToClipboard(const Bitmap& picture) override;
  std::optional<Text> AskSavePath(TextView file_name) override;
  FileResult SavePng(const Bitmap& picture, const Text& path) override;
  Bitmap Paint(std::int32_t width, std::int32_t height, std::int32_t band_height,
               const std::function<void(Canvas&, std::int32_t band_top)>& paint) override;
};

}  // namespace plyscan::win32
