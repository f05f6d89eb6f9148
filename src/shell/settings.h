// The settings file beside the executable (scan.exe -> scan.ini): the main
// window's size and position, the four toolbar options and the target ProgID.
// Every value is its own call to the profile store, so there is nothing to open
// or close. Reading never fails: a missing or unreadable value gives the
// default. A value that cannot be written raises Failure.
#pragma once

#include <cstdint>

#include "base/geometry.h"
#include "base/text.h"
#include "shell/profile_store.h"

namespace plyscan {

inline constexpr char16_t kMainSection[] = u"PLYSCAN";
inline constexpr char16_t kTargetSection[] = u"Target";
inline constexpr char16_t kDefaultProgID[] = u"BricscadApp.AcadApplication";
inline constexpr char16_t kTargetListFileName[] = u"TargetCAD_APIVersion.txt";

// The executable's path with the extension of its file name replaced by ".ini"
// (appended when the file name has no "."; a "." in a folder name does not count).
Text SettingsPathFor(TextView exe_path);

// The executable's folder followed by "TargetCAD_APIVersion.txt".
Text TargetListPathFor(TextView exe_path);

class Settings {
 public:
  Settings(ProfileStore& store, Text path) : store_(&store), path_(std::move(path)) {}

  const Text& Path() const noexcept { return path_; }

  std::int32_t ReadInteger(TextView section, TextView key, std::int32_t fallback) const;
  // Read as an integer with the default 1 or 0; anything but 0 is true.
  bool ReadBool(TextView section, TextView key, bool fallback) const;
  // The value as the profile store returns it (at most 2047 characters); an
  // empty value is a value, only a missing key gives the default.
  Text ReadText(TextView section, TextView key, TextView fallback) const;

  // Decimal digits, with "-" when negative.
  void WriteInteger(TextView section, TextView key, std::int32_t value);
  // "1" or "0".
  void WriteBool(TextView section, TextView key, bool value);
  // Unchanged.
  void WriteText(TextView section, TextView key, TextView value);

 private:
  ProfileStore* store_;
  Text path_;
};

// The whole window, frame included, in screen pixels, as the settings file
// keeps it: the corner and the size each on its own, so that any values a
// file holds can be held.
struct WindowPlacement {
  Point corner;
  Size size;
  friend bool operator==(const WindowPlacement&, const WindowPlacement&) = default;
};

// The toolbar options and the target, as the settings file keeps them.
struct WindowOptions {
  Text background;        // text of the background-colour field, not validated
  bool mono = false;      // "モノクロ" ticked
  bool zoom_extents = false;  // "ZOOM Ext" ticked
  Text target_prog_id;
  bool fit_layer = false;  // "フィット" ticked
};

// Start-up reads, in this order, each value applied by the caller before the next
// read:
//   1. ReadWindowSize: "Width", "Height"; defaults the window's current size.
//   2. ReadWindowPosition: "Left", "Top"; defaults centre the window, as applied,
//      on the primary display.
//   3. KeepOnPrimaryDisplay on the placement now applied.
//   4. ReadWindowOptions: "BkgColor", "Mono", "ZoomExt", "FitLayer", then
//      "ProgID" of section "Target"; defaults the current field text,
//      unticked, unticked, unticked, the current target.
Size ReadWindowSize(const Settings& settings, Size current);
Point ReadWindowPosition(const Settings& settings, Size applied, Size screen);
WindowOptions ReadWindowOptions(const Settings& settings, TextView current_background, TextView current_prog_id);

// Steps 1 and 2 when the window takes the size read unchanged.
WindowPlacement ReadWindowPlacement(const Settings& settings, Size current, Size screen);

// Moves the window back onto the primary display: its right and bottom edges no
// further than the display's, then its left and top edges no less than 0, so a
// window larger than the display ends at 0, 0.
WindowPlacement KeepOnPrimaryDisplay(WindowPlacement placement, Size screen);

// Shutdown writes, in this order: "Width", "Height", "Left", "Top", "ProgID"
// (section "Target"), "BkgColor", "Mono", "ZoomExt", "FitLayer". Stops at the first value
// that cannot be written by letting its Failure through.
void WriteWindowSettings(Settings& settings, const WindowPlacement& placement, const WindowOptions& options);

}  // namespace plyscan
