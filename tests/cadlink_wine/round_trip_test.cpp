// Every argument and result kind of the CAD's automation interface, sent
// through the CAD link's own calls across processes to simcad.exe, whose
// members accept exactly the kinds an AutoCAD-compatible server does. The
// call log shows the VARTYPE each argument travelled as.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "cadlink/cad_calls.h"
#include "link_fixture.h"
#include "simcad_process.h"
#include "support/temp_dir.h"
#include "win32/com_activation.h"

namespace {

using cadlink_wine::AsHwnd;
using cadlink_wine::LiveObjects;
using cadlink_wine::RecordingDesktop;
using plyscan::automation::Kind;
using plyscan::automation::ObjectRef;
using plyscan::automation::Variant;
using simcad::testing::SimcadProcess;
using simcad::testing::UniqueProgId;

// The arguments' "vt" values of each logged call of `member`, e.g. "8,2".
std::vector<std::string> LoggedArgumentTypes(const std::string& log, const std::string& member) {
  std::vector<std::string> calls;
  const std::regex line_pattern("\"member\":\"" + member + "\",\"invoke\":\"[^\"]*\",\"args\":\\[([^\\n]*)");
  const std::regex vt_pattern("\\{\"vt\":(\\d+)");
  for (auto line = std::sregex_iterator(log.begin(), log.end(), line_pattern); line != std::sregex_iterator();
       ++line) {
    const std::string args = (*line)[1];
    std::string types;
    for (auto vt = std::sregex_iterator(args.begin(), args.end(), vt_pattern); vt != std::sregex_iterator(); ++vt)
      types += (types.empty() ? "" : ",") + (*vt)[1].str();
    calls.push_back(types);
  }
  return calls;
}

TEST(CadLinkRoundTrip, EveryKindOfTheAutomationTableCrossesToAStrictServer) {
  plyscan::win32::OleApartment ole;
  plyscan::testing::TempDir temp;
  const std::u16string progid = UniqueProgId(u"CadLinkTest.RoundTrip");
  SimcadProcess process({u"--progid", progid, u"--demo", u"--screen", u"800x600", u"--log", temp.PathOf("calls.jsonl")});
  ASSERT_TRUE(process.Running()) << process.Problem();

  plyscan::win32::Win32AutomationRuntime runtime;
  RecordingDesktop desktop;
  long live_at_start = -1;
  {
    const auto cad = plyscan::ConnectToTarget(runtime, desktop, progid, plyscan::Unminimize::kNo);
    ASSERT_TRUE(cad.has_value());
    live_at_start = LiveObjects(*cad->application);
    // Application: HWND as an unsigned 64-bit window handle, the process's own window.
    EXPECT_EQ(AsHwnd(cad->window), process.MainWindow());
    ASSERT_EQ(desktop.windows, std::vector<plyscan::WindowHandle>{cad->window});

    const ObjectRef document = plyscan::ActiveDocument(*cad->application);
    EXPECT_EQ(GetAncestor(AsHwnd(document->Get(u"HWND").AsWindowHandle()), GA_ROOTOWNER), AsHwnd(cad->window));
    plyscan::cad::ZoomExtents(*cad->application, progid);

    // System variables: array elements as integers and doubles, a double, 16-bit integers.
    const Variant screen = plyscan::cad::GetVariable(*document, u"SCREENSIZE");
    EXPECT_EQ(screen.ElementAsInt32(0), 800);
    EXPECT_EQ(screen.ElementAsInt32(1), 600);
    EXPECT_GT(plyscan::cad::GetVariable(*document, u"VIEWSIZE").AsDouble(), 0.0);
    const Variant extmin = plyscan::cad::GetVariable(*document, u"EXTMIN");
    const Variant extmax = plyscan::cad::GetVariable(*document, u"EXTMAX");
    EXPECT_LT(extmin.ElementAsDouble(0), extmax.ElementAsDouble(0));
    EXPECT_LT(extmin.ElementAsDouble(1), extmax.ElementAsDouble(1));
    struct Setting {
      const char16_t* name;
      int value;
    };
    for (const Setting& s : {Setting{u"EXPERT", 5}, Setting{u"CMDECHO", 0}, Setting{u"GRIDMODE", 0},
                             Setting{u"UCSICON", 0}, Setting{u"FILEDIA", 0}}) {
      SCOPED_TRACE(plyscan::ToUtf8(s.name));
      plyscan::cad::SetVariable(*document, s.name, s.value);
      EXPECT_EQ(plyscan::cad::GetVariable(*document, s.name).AsInt32(), s.value);
    }

    // Command texts by reference and by value take effect before the call returns.
    plyscan::cad::SendCommand(*document, u"(setvar \"GRIDMODE\" 1)(princ)\r");
    EXPECT_EQ(plyscan::cad::GetVariable(*document, u"GRIDMODE").AsInt32(), 1);
    plyscan::cad::SendCommandByValue(*document, u"(setvar \"UCSICON\" 3)(princ)\r");
    EXPECT_EQ(plyscan::cad::GetVariable(*document, u"UCSICON").AsInt32(), 3);
    plyscan::cad::Regen(*document);

    // Layers by 0-based 32-bit index: names as texts, switches as Booleans written as -1/0.
    const ObjectRef layers = document->Get(u"Layers").AsObject();
    const std::int32_t count = layers->Get(u"Count").AsInt32();
    ASSERT_GT(count, 1);
    std::vector<plyscan::Text> names;
    for (std::int32_t i = 0; i < count; ++i) names.push_back(layers->Get(u"Item", {Variant::Int32(i)}).AsObject()->Get(u"Name").AsText());
    EXPECT_NE(names.front(), names.back());
    const ObjectRef layer = layers->Get(u"Item", {Variant::Int32(count - 1)}).AsObject();
    for (const char16_t* member : {u"Lock", u"Freeze", u"LayerOn"}) {
      SCOPED_TRACE(plyscan::ToUtf8(member));
      const bool was = layer->Get(member).AsBool();
      layer->Put(member, Variant::Bool(!was));
      EXPECT_EQ(layer->Get(member).AsBool(), !was);
      layer->Put(member, Variant::Bool(was));
      EXPECT_EQ(layer->Get(member).AsBool(), was);
    }

    // The selection set: a crossing window over the extents finds the drawing.
    const ObjectRef selection = document->Get(u"ActiveSelectionSet").AsObject();
    selection->Call(u"Clear");
    plyscan::cad::SelectCrossing(*selection, extmin, extmax);
    EXPECT_GT(selection->Get(u"Count").AsInt32(), 0);
  }

  // Every reference the client took was released with it.
  const auto observer = plyscan::win32::AttachByProgId(progid);
  EXPECT_EQ(LiveObjects(*observer), live_at_start);

  const std::string log = temp.Read("calls.jsonl");
  using Types = std::vector<std::string>;
  // VT_BSTR name, VT_I2 value (the server refuses VT_I4).
  EXPECT_EQ(LoggedArgumentTypes(log, "SetVariable"), Types(5, "8,2"));
  // VT_BYREF|VT_BSTR, then VT_BSTR.
  EXPECT_EQ(LoggedArgumentTypes(log, "SendCommand"), (Types{"16392", "8"}));
  EXPECT_EQ(LoggedArgumentTypes(log, "Regen"), Types{"3"});
  EXPECT_EQ(LoggedArgumentTypes(log, "ZoomExtents"), Types{""});
  // VT_I4 mode, VT_BYREF|VT_ARRAY|VT_R8 corners, two VT_ERROR omitted arguments.
  EXPECT_EQ(LoggedArgumentTypes(log, "Select"), Types{"3,24581,24581,10,10"});
  // Reads carry no argument; each switch was written twice, as VT_BOOL.
  for (const char* member : {"Lock", "Freeze", "LayerOn"}) {
    const Types calls = LoggedArgumentTypes(log, member);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "11"), 2) << member;
    EXPECT_EQ(std::count(calls.begin(), calls.end(), ""), 3) << member;
  }
  EXPECT_NE(log.find(R"("member":"Item","invoke":"method|get","args":[{"vt":3,"value":0}])"), std::string::npos);
}

}  // namespace
