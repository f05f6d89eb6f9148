// Two CADs running at once under a GCAD-like and an AutoCAD-prefixed ProgID:
// each command reaches the instance its ProgID names, and the target kinds
// of those ProgIDs change what is sent (a GCAD target zooms twice).
#include <gtest/gtest.h>

#include <algorithm>

#include "cadlink/cad_calls.h"
#include "cadlink/target_kind.h"
#include "link_fixture.h"
#include "simcad_process.h"
#include "support/temp_dir.h"
#include "win32/com_activation.h"

namespace {

using cadlink_wine::AsHwnd;
using cadlink_wine::RecordingDesktop;
using simcad::testing::SimcadProcess;
using simcad::testing::UniqueProgId;

std::ptrdiff_t Occurrences(const std::string& text, const std::string& part) {
  std::ptrdiff_t n = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST(TwoTargets, EachProgIdReachesItsOwnInstance) {
  plyscan::win32::OleApartment ole;
  plyscan::testing::TempDir temp;
  // Unique per test process, keeping the names' kinds: "Gcad.Application.P…" and "AutoCAD.Application.Sim.P…".
  const std::u16string gcad = UniqueProgId(u"Gcad.Application");
  const std::u16string autocad = UniqueProgId(u"AutoCAD.Application.Sim");
  ASSERT_TRUE(plyscan::ZoomsTwice(gcad) && plyscan::ParksCursorOnView(gcad));
  ASSERT_TRUE(plyscan::ExportsView(autocad) && !plyscan::ZoomsTwice(autocad));

  SimcadProcess gcad_process(
      {u"--progid", gcad, u"--demo", u"--screen", u"640x480", u"--log", temp.PathOf("gcad.jsonl")});
  SimcadProcess autocad_process({u"--progid", autocad, u"--screen", u"800x600", u"--log", temp.PathOf("autocad.jsonl")});
  ASSERT_TRUE(gcad_process.Running()) << gcad_process.Problem();
  ASSERT_TRUE(autocad_process.Running()) << autocad_process.Problem();

  plyscan::win32::Win32AutomationRuntime runtime;
  struct Target {
    const std::u16string& progid;
    SimcadProcess& process;
    int screen_width;
    bool demo_drawing;
  };
  for (const Target& target : {Target{gcad, gcad_process, 640, true}, Target{autocad, autocad_process, 800, false}}) {
    SCOPED_TRACE(plyscan::ToUtf8(target.progid));
    RecordingDesktop desktop;
    const auto cad = plyscan::ConnectToTarget(runtime, desktop, target.progid, plyscan::Unminimize::kNo);
    ASSERT_TRUE(cad.has_value());
    DWORD owner = 0;
    GetWindowThreadProcessId(AsHwnd(cad->window), &owner);
    EXPECT_EQ(owner, target.process.ProcessId());
    const auto document = plyscan::ActiveDocument(*cad->application);
    EXPECT_EQ(plyscan::cad::GetVariable(*document, u"SCREENSIZE").ElementAsInt32(0), target.screen_width);
    EXPECT_EQ(document->Get(u"Layers").AsObject()->Get(u"Count").AsInt32() > 1, target.demo_drawing);
    plyscan::cad::ZoomExtents(*cad->application, target.progid);
  }

  const std::string zoom = "\"member\":\"ZoomExtents\"";
  EXPECT_EQ(Occurrences(temp.Read("gcad.jsonl"), zoom), 2);
  EXPECT_EQ(Occurrences(temp.Read("autocad.jsonl"), zoom), 1);
}

}  // namespace
