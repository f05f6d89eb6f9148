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

WindowSize ReadWindowSize(const Settings& settings, WindowSize current) {
  WindowSize size;
  size.width = settings.ReadInteger(kMainSection, u"Width", current.width);
  size.height = settings.ReadInteger(kMainSection, u"Height", current.height);
  return size;
}

WindowPosition ReadWindowPosition(const Settings& settings, WindowSize applied, WindowSize screen) {
  WindowPosition position;
  position.left = settings.ReadInteger(kMainSection, u"Left", Centre(screen.width, applied.width));
  position.top = settings.ReadInteger(kMainSection, u"Top", Centre(screen.height, applied.height));
  return position;
}

WindowBounds ReadWindowBounds(const Settings& settings, WindowSize current, WindowSize screen) {
  const WindowSize size = ReadWindowSize(settings, current);
  const WindowPosition position = ReadWindowPosition(settings, size, screen);
  return {position.left, position.top, size.width, size.height};
}

WindowBounds KeepOnPrimaryDisplay(WindowBounds b, WindowSize screen) {
  // 64-bit sums: saved values may be anything a 32-bit integer holds.
  if (static_cast<std::int64_t>(b.left) + b.width > screen.width)
    b.left = Saturate(static_cast<std::int64_t>(screen.width) - b.width);
  if (static_cast<std::int64_t>(b.top) + b.height > screen.height)
    b.top = Saturate(static_cast<std::int64_t>(screen.height) - b.height);
  if (b.left < 0) b.left = 0;
  if (b.top < 0) b.top = 0;
  return b;
}

WindowOptions ReadWindowOptions(const Settings& settings, TextView current_background, TextView current_prog_id) {
  WindowOptions options;
  options.background = settings.ReadText(kMainSection, u"BkgColor", current_background);
  options.mono = settings.ReadBool(kMainSection, u"Mono", false);
  options.zoom_extents = settings.ReadBool(kMainSection, u"ZoomExt", false);
  options.target_prog_id = settings.ReadText(kTargetSection, u"ProgID", current_prog_id);
  return options;
}

void WriteWindowSettings(Settings& settings, const WindowBounds& bounds, const WindowOptions& options) {
  settings.WriteInteger(kMainSection, u"Width", bounds.width);
  settings.WriteInteger(kMainSection, u"Height", bounds.height);
  settings.WriteInteger(kMainSection, u"Left", bounds.left);
  settings.WriteInteger(kMainSection, u"Top", bounds.top);
  settings.WriteText(kTargetSection, u"ProgID", options.target_prog_id);
  settings.WriteText(kMainSection, u"BkgColor", options.background);
  settings.WriteBool(kMainSection, u"Mono", options.mono);
  settings.WriteBool(kMainSection, u"ZoomExt", options.zoom_extents);
}

}  // namespace plyscan
