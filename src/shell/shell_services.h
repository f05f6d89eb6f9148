// What the program's two windows are handed: the window system, the files
// beside the executable and the services that read and write them, the link
// to the target CAD application, and the target itself.
#pragma once

#include "base/ansi_codec.h"
#include "base/collation.h"
#include "base/files.h"
#include "base/stage_times.h"
#include "base/text.h"
#include "cadlink/cad_services.h"
#include "capture/capture_run.h"
#include "shell/board_pictures.h"
#include "shell/profile_store.h"
#include "shell/window_system.h"

namespace plyscan {

struct ShellServices {
  ui::WindowSystem& windows;
  ui::MessageFilterRegistry& message_filter;
  ProfileStore& profiles;
  FileSystem& files;
  AnsiCodec& ansi;
  const Collator& collator;
  Text exe_path;  // full path of the running executable
  CadServices& cad;
  ViewScreen& view_screen;
  ui::BoardPictures& pictures;
  // The ProgID of the target CAD application: from the settings at start-up,
  // chosen in the target dialog, read afresh by every CAD command.
  Text target_prog_id{};
  // Where a capture's own time goes, for a benchmark; null otherwise.
  StageTimes* stage_times = nullptr;
};

}  // namespace plyscan
