#include "shell/settings.h"

#include <algorithm>
#include <limits>

#include "base/failure.h"
#include "base/file_paths.h"
#include "base/int_text.h"

namespace plyscan {

namespace {

constexpr char16_t kCannotWrite[] = u"%s に書き込めません";

std::int32_t Saturate(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                            std::numeric_limits<std::int32_t>::max()));
}

// (screen - window) div 2, truncating toward zero; never overflows.
std::int32_t Centre(std::int32_t screen, std::int32_t window) {
  return Saturate((static_cast<std::int64_t>(screen) - window) / 2);
}

}  // namespace

Text SettingsPathFor(TextView exe_path) { return WithExtension(exe_path, u".ini"); }

Text TargetListPathFor(TextView exe_path) { return Text(FolderOf(exe_path)) + kTargetListFileName; }

std::int32_t Settings::ReadInteger(TextView section, TextView key, std::int32_t fallback) const {
  const auto value = store_->Read(path_, section, key);
  return value ? ParseProfileInt32(*value, fallback) : fallback;
}

bool Settings::ReadBool(TextView section, TextView key, bool fallback) const {
  return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

Text Settings::ReadText(TextView section, TextView key, TextView fallback) const {
  auto value = store_->Read(path_, section, key);
  if (!value) return Text(fallback);
  if (value->size() > ProfileStore::kMaxValueLength) value->resize(ProfileStore::kMaxValueLength);
  return std::move(*value);
}

void Settings::WriteInteger(TextView section, TextView key, std::int32_t value) {
  WriteText(section, key, DecimalText(value));
}

void Settings::WriteBool(TextView section, TextView key, bool value) { WriteText(section, key, value ? u"1" : u"0"); }

void Settings::WriteText(TextView section, TextView key, TextView value) {
  if (!store_->Write(path_, section, key, value)) throw Failure(Format(kCannotWrite, {path_}));
}

Size ReadWindowSize(const Settings& settings, Size current) {
  Size size;
  size.width = settings.ReadInteger(kMainSection, u"Width", current.width);
  size.height = settings.ReadInteger(kMainSection, u"Height", current.height);
  return size;
}

Point ReadWindowPosition(const Settings& settings, Size applied, Size screen) {
  Point position;
  position.x = settings.ReadInteger(kMainSection, u"Left", Centre(screen.width, applied.width));
  position.y = settings.ReadInteger(kMainSection, u"Top", Centre(screen.height, applied.height));
  return position;
}

WindowPlacement ReadWindowPlacement(const Settings& settings, Size current, Size screen) {
  const Size size = ReadWindowSize(settings, current);
  return {ReadWindowPosition(settings, size, screen), size};
}

WindowPlacement KeepOnPrimaryDisplay(WindowPlacement placement, Size screen) {
  // 64-bit sums: saved values may be anything a 32-bit integer holds.
  Point& at = placement.corner;
  const Size& size = placement.size;
  if (static_cast<std::int64_t>(at.x) + size.width > screen.width)
    at.x = Saturate(static_cast<std::int64_t>(screen.width) - size.width);
  if (static_cast<std::int64_t>(at.y) + size.height > screen.height)
    at.y = Saturate(static_cast<std::int64_t>(screen.height) - size.height);
  if (at.x < 0) at.x = 0;
  if (at.y < 0) at.y = 0;
  return placement;
}

WindowOptions ReadWindowOptions(const Settings& settings, TextView current_background, TextView current_prog_id) {
  WindowOptions options;
  options.background = settings.ReadText(kMainSection, u"BkgColor", current_background);
  options.mono = settings.ReadBool(kMainSection, u"Mono", false);
  options.zoom_extents = settings.ReadBool(kMainSection, u"ZoomExt", false);
  options.fit_layer = settings.ReadBool(kMainSection, u"FitLayer", false);
  options.target_prog_id = settings.ReadText(kTargetSection, u"ProgID", current_prog_id);
  return options;
}

void WriteWindowSettings(Settings& settings, const WindowPlacement& placement, const WindowOptions& options) {
  settings.WriteInteger(kMainSection, u"Width", placement.size.width);
  settings.WriteInteger(kMainSection, u"Height", placement.size.height);
  settings.WriteInteger(kMainSection, u"Left", placement.corner.x);
  settings.WriteInteger(kMainSection, u"Top", placement.corner.y);
  settings.WriteText(kTargetSection, u"ProgID", options.target_prog_id);
  settings.WriteText(kMainSection, u"BkgColor", options.background);
  settings.WriteBool(kMainSection, u"Mono", options.mono);
  settings.WriteBool(kMainSection, u"ZoomExt", options.zoom_extents);
  settings.WriteBool(kMainSection, u"FitLayer", options.fit_layer);
}

}  // namespace plyscan
