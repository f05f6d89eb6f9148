// The board's pictures on Windows: painted with GDI band by band through a
// DIB section of one band, put on the clipboard as a device-independent
// bitmap (CF_DIB) and the layer table as Unicode text, the save dialog of the system opened in the user's
// pictures folder, and PNG files written with the Windows Imaging Component.
#pragma once

#include <windows.h>

#include "shell/board_pictures.h"

namespace plyscan::win32 {

class Win32BoardPictures final : public ui::BoardPictures {
 public:
  // The window that owns what goes on the clipboard and the save dialog:
  // the main window, once it is made. A clipboard opened without an owner
  // is emptied to no owner, and Windows then refuses the data.
  void SetOwner(HWND owner) noexcept { owner_ = owner; }

  FileResult CopyToClipboard(const Bitmap& picture) override;
  FileResult CopyTextToClipboard(TextView text) override;
  std::optional<Text> AskSavePath(TextView file_name) override;
  FileResult SavePng(const Bitmap& picture, const Text& path) override;
  Bitmap Paint(std::int32_t width, std::int32_t height, std::int32_t band_height,
               const std::function<void(Canvas&, std::int32_t band_top)>& paint) override;

 private:
  HWND owner_ = nullptr;
};

}  // namespace plyscan::win32
