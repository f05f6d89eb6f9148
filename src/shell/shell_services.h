// What the program's two windows are handed: the window system, the files
// beside the executable and the services that read and write them, and the
// link to the target CAD application.
#pragma once

#include "base/ansi_codec.h"
#include "base/collation.h"
#include "base/files.h"
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
  CaptureDevices& capture;
  ui::BoardPictures& pictures;
};

}  // namespace plyscan
