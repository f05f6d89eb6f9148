// cadprobe.exe PROGID: for people diagnosing a CAD application's automation
// server (and for the CAD link's tests). Prints what ProbeTarget finds on
// standard output and why it stopped on standard error. Exit code 0 when the
// active document could be read, 1 otherwise.
#include <windows.h>

#include <cstdio>
#include <string_view>

#include "base/text.h"
#include "win32/cadprobe/probe.h"
#include "win32/com_activation.h"
#include "win32/win32_automation_runtime.h"
#include "win32/wide_text.h"

namespace {

class StandardErrorTrace final : public plyscan::FailureTrace {
 public:
  void Discarded(const plyscan::Text& what) noexcept override {
    try {
      std::fprintf(stderr, "cadprobe: %s\n", plyscan::ToUtf8(what).c_str());
    } catch (...) {
    }
  }
};

void PrintLine(std::string_view line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

int Probe(const wchar_t* progid_argument) {
  const plyscan::win32::OleApartment ole;
  if (!ole.Ok()) {
    std::fputs("cadprobe: OLE could not be initialised\n", stderr);
    return 1;
  }
  const plyscan::Text progid = plyscan::win32::FromWide(progid_argument);
  plyscan::win32::Win32AutomationRuntime runtime;
  StandardErrorTrace trace;
  return plyscan::cadprobe::ProbeTarget(runtime, progid, PrintLine, &trace) ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fputs("usage: cadprobe PROGID\n", stderr);
    return 1;
  }
  try {
    return Probe(argv[1]);
  } catch (...) {
    return 1;  // nothing above raises; this keeps a surprise from ending in abort()
  }
}
