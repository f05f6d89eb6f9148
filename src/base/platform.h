// The system services of this build: the Win32 adapters in the Windows build,
// the headless adapters elsewhere. Each is created once and lives for the
// process. Portable code never calls these: it is handed the services it
// uses, so that tests can hand it fakes. The program entry and the test
// fixtures pick them here.
#pragma once

namespace plyscan {

class FileSystem;
class AnsiCodec;
class Collator;
class ProfileStore;
class SurfaceFactory;

FileSystem& SystemFiles();
AnsiCodec& SystemAnsiCodec();
const Collator& UserCollator();
ProfileStore& SystemProfileStore();
// Plain memory in both builds (base/memory_surface.cpp).
SurfaceFactory& SystemSurfaces();

}  // namespace plyscan
