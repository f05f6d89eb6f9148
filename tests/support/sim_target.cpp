#include "support/sim_target.h"

#include <fstream>
#include <iterator>

#include "base/failure.h"
#include "base/platform.h"
#include "capture/bmp_file.h"
#include "capture/pixel_copy.h"
#include "simcad/drawing/render.h"
#include "simcad/objects/sim_objects.h"

namespace plyscan::testing {

namespace {

using automation::Args;
using automation::ObjectRef;
using automation::Variant;

// An object of the session with its calls counted and, where a rule says,
// failed; objects in results are watched too.
class WatchedObject final : public automation::Object {
 public:
  WatchedObject(ObjectRef inner, CallFaults& faults) : inner_(std::move(inner)), faults_(&faults) {}

  Variant Get(TextView member, const Args& args) override {
    faults_->Before(member);
    return Watch(inner_->Get(member, args));
  }
  void Put(TextView member, const Variant& value) override {
    faults_->Before(member);
    inner_->Put(member, value);
  }
  Variant Call(TextView member, const Args& args) override {
    faults_->Before(member);
    return Watch(inner_->Call(member, args));
  }

 private:
  Variant Watch(Variant result) {
    if (result.GetKind() != automation::Kind::Object) return result;
    return Variant::Obj(std::make_shared<WatchedObject>(result.AsObject(), *faults_));
  }
  ObjectRef inner_;
  CallFaults* faults_;
};

}  // namespace

void CallFaults::Before(TextView member) {
  const Text key = AsciiUpper(member);
  const int n = ++counts_[key];
  for (const Rule& rule : rules_)
    if (AsciiUpper(rule.member) == key && (rule.nth == 0 || rule.nth == n))
      throw AutomationFailure(rule.hresult, Text(member), u"injected failure");
}

int CallFaults::Total() const noexcept {
  int total = 0;
  for (const auto& [member, count] : counts_) total += count;
  return total;
}

ObjectRef WatchedApplication(std::shared_ptr<simcad::SimCad> cad, CallFaults& faults) {
  return std::make_shared<WatchedObject>(std::make_shared<simcad::Application>(std::move(cad)), faults);
}

SimTarget::SimTarget(std::shared_ptr<simcad::SimCad> session, Text id) : cad(std::move(session)), progid(std::move(id)) {
  if (cad) cad->SetWindowHandles(kSimApplicationWindow, kSimDocumentWindow);
}

bool SimTarget::IsTargetRunning(TextView id) {
  if (id != progid) throw AutomationFailure(hr::kClassNotRegistered, Text(id), u"not registered");
  return running && cad;
}

automation::ObjectRef SimTarget::Attach(TextView id) {
  if (!IsTargetRunning(id)) throw AutomationFailure(hr::kUnavailable, Text(id), u"not running");
  ++attaches;
  return WatchedApplication(cad, faults);
}

bool RecordingDesktop::IsIconic(WindowHandle) {
  calls.push_back("IsIconic");
  return iconic;
}

void RecordingDesktop::OpenIcon(WindowHandle) {
  calls.push_back("OpenIcon");
  iconic = false;
}

void RecordingDesktop::Sleep(unsigned milliseconds) { calls.push_back("Sleep " + std::to_string(milliseconds)); }

void RecordingDesktop::SetForegroundWindow(WindowHandle) { calls.push_back("SetForegroundWindow"); }

Rect SimScreen::FirstChildBox(WindowHandle window) {
  // The document window's one child is the view.
  if (window != kSimDocumentWindow) return {};
  const simcad::View& view = cad_->GetDrawing().view;
  return Rect::Sized(kSimViewLeft, kSimViewTop, view.screen_width, view.screen_height);
}

void SimScreen::CopyWindow(WindowHandle window, std::int32_t x, std::int32_t y, Bitmap& into) {
  if (window != kSimDocumentWindow) throw Failure(u"no such window");
  copies.push_back(Rect::Sized(x, y, into.Width(), into.Height()));
  const simcad::Image view = simcad::RenderView(cad_->GetDrawing());
  for (std::int32_t row = 0; row < into.Height(); ++row)
    for (std::int32_t col = 0; col < into.Width(); ++col) {
      const std::int32_t sx = x + col, sy = y + row;
      // Outside the window the screen shows black here.
      Colour c = 0;
      if (sx >= 0 && sy >= 0 && sx < view.width && sy < view.height) {
        const simcad::Rgb p = view.At(sx, sy);
        c = p.r | (p.g << 8) | (p.b << 16);
      }
      into.SetPixel(col, row, c);
    }
}

void SimScreen::ShrinkOnto(const Bitmap& from, Bitmap& onto) { ShrinkOrScans(from, onto); }

Bitmap SimScreen::LoadBitmapFile(const Text& path) {
  ++loads;
  std::ifstream in(ToUtf8(path), std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  return ReadBmpFile(bytes, SystemSurfaces());
}

}  // namespace plyscan::testing
