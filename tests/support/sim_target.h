// The target CAD in-process, for tests of the CAD commands without COM:
// simcad's session behind a ProgID, a desktop that records what the prologue
// asked of it, and an injector that makes chosen calls fail as a CAD's
// server does.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cadlink/cad_services.h"
#include "capture/capture_run.h"
#include "simcad/objects/sim_cad.h"

namespace plyscan::testing {

// The session's windows, as the prologue and the view grab see them.
inline constexpr WindowHandle kSimApplicationWindow = 0x10010;
inline constexpr WindowHandle kSimDocumentWindow = 0x10020;
// Where the view lies on the screen.
inline constexpr std::int32_t kSimViewLeft = 120;
inline constexpr std::int32_t kSimViewTop = 90;

// Makes calls fail: the `nth` call (from 1) of `member` on any object, or
// every call when `nth` is 0. Members match without regard to case.
class CallFaults {
 public:
  struct Rule {
    Text member;
    int nth = 0;
    std::int32_t hresult = static_cast<std::int32_t>(0x80004005);  // E_FAIL
  };
  void Add(Rule rule) { rules_.push_back(std::move(rule)); }
  // Counts the call; throws AutomationFailure when a rule says so.
  void Before(TextView member);
  // Calls counted so far, by the upper-cased member name.
  const std::map<Text, int>& Counts() const noexcept { return counts_; }
  int Total() const noexcept;

 private:
  std::vector<Rule> rules_;
  std::map<Text, int> counts_;
};

// The application object of `cad`, every call counted by `faults` (and
// failed where it says); the objects it hands out are watched alike.
automation::ObjectRef WatchedApplication(std::shared_ptr<simcad::SimCad> cad, CallFaults& faults);

class SimTarget final : public AutomationRuntime {
 public:
  // Running under `progid` (the default ProgID unless given); every other
  // ProgID is not registered.
  explicit SimTarget(std::shared_ptr<simcad::SimCad> cad, Text progid = u"BricscadApp.AcadApplication");

  bool IsTargetRunning(TextView progid) override;
  automation::ObjectRef Attach(TextView progid) override;

  std::shared_ptr<simcad::SimCad> cad;
  Text progid;
  bool running = true;
  int attaches = 0;
  CallFaults faults;
};

// The desktop calls as a log ("IsIconic", "OpenIcon", "Sleep 500",
// "SetForegroundWindow", ...), with an iconic window when asked.
class RecordingDesktop final : public DesktopWindows {
 public:
  bool IsIconic(WindowHandle window) override;
  void OpenIcon(WindowHandle window) override;
  void Sleep(unsigned milliseconds) override;
  void SetForegroundWindow(WindowHandle window) override;

  bool iconic = false;
  std::vector<std::string> calls;
};

// The screen as the view grab sees it: the session's document window shows
// simcad's rendering of its view at (kSimViewLeft, kSimViewTop), the shrink
// and the file reader are the portable ones, and where the cursor was put
// and what was copied is kept.
class SimScreen final : public ViewScreen {
 public:
  explicit SimScreen(std::shared_ptr<simcad::SimCad> cad) : cad_(std::move(cad)) {}

  Rect FirstChildBox(WindowHandle window) override;
  void SetCursorPos(Point at) override { cursor.push_back(at); }

  void CopyWindow(WindowHandle window, std::int32_t x, std::int32_t y, Bitmap& into) override;
  void ShrinkOnto(const Bitmap& from, Bitmap& onto) override;
  Bitmap LoadBitmapFile(const Text& path) override;

  std::vector<Point> cursor;  // each SetCursorPos
  std::vector<Rect> copies;   // each copy's rectangle in the window
  int loads = 0;

 private:
  std::shared_ptr<simcad::SimCad> cad_;
};

// A target, a desktop and a screen, handed to the commands as their services.
struct SimCadServices {
  explicit SimCadServices(std::shared_ptr<simcad::SimCad> cad) : target(cad), screen(cad) {}
  SimTarget target;
  RecordingDesktop desktop;
  SimScreen screen;
  CadServices services{target, desktop, nullptr};
};

}  // namespace plyscan::testing
