#include "headless/ui/headless_pictures.h"

#include <algorithm>
#include <cstring>

#include "base/platform.h"
#include "headless/ui/bitmap_canvas.h"

namespace plyscan::ui {

namespace {

Bitmap Black(std::int32_t width, std::int32_t height) {
  Bitmap b(SystemSurfaces());
  b.SetPixelFormat(24);
  b.SetSize(width, height);
  for (std::int32_t y = 0; y < b.Height(); ++y) std::memset(b.Row(y), 0, b.Stride());
  return b;
}

}  // namespace

Bitmap HeadlessPictures::Paint(std::int32_t width, std::int32_t height, std::int32_t band_height,
                               const std::function<void(Canvas&, std::int32_t band_top)>& paint) {
  Bitmap picture = Black(width, height);
  band_height = std::max(1, band_height);
  for (std::int32_t top = 0; top < height; top += band_height) {
    ++bands;
    Bitmap band = Black(width, std::min(band_height, height - top));
    BitmapCanvas canvas(band);
    paint(canvas, top);
    for (std::int32_t y = 0; y < band.Height(); ++y) std::memcpy(picture.Row(top + y), band.Row(y), band.Stride());
  }
  return picture;
}

FileResult HeadlessPictures::CopyToClipboard(const Bitmap& picture) {
  if (refuse_with) return {false, *refuse_with};
  clipboard = picture.Copy();
  return {};
}

FileResult HeadlessPictures::CopyTextToClipboard(TextView text) {
  if (refuse_with) return {false, *refuse_with};
  clipboard_text = Text(text);
  return {};
}

std::optional<Text> HeadlessPictures::AskSavePath(TextView file_name) {
  asked_for = Text(file_name);
  return save_answer;
}

FileResult HeadlessPictures::SavePng(const Bitmap& picture, const Text& path) {
  if (refuse_with) return {false, *refuse_with};
  saved.insert_or_assign(path, picture.Copy());
  return {};
}

}  // namespace plyscan::ui
