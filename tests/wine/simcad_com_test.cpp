// simcad.exe driven across processes through the IDispatch client, the way
// the program drives a CAD: found by ProgID in the running object table,
// late-bound calls with the CAD's argument kinds, failures that reach the
// client, references released, and a view window that can be copied.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <regex>

#include "base/failure.h"
#include "base/platform.h"
#include "simcad_process.h"
#include "support/temp_dir.h"
#include "win32/com_activation.h"
#include "win32/dispatch_client.h"
#include "win32/gdi_view_capture.h"

namespace {

using plyscan::AutomationFailure;
using plyscan::automation::Object;
using plyscan::automation::ObjectRef;
using plyscan::automation::Variant;
using plyscan::win32::AttachByProgId;
using simcad::testing::SimcadProcess;
using simcad::testing::UniqueProgId;

std::string State(Object& application) { return plyscan::ToUtf8(application.Get(u"SimState").AsText()); }

long LiveObjects(Object& application) {
  std::smatch m;
  const std::string state = State(application);
  if (!std::regex_search(state, m, std::regex("\"live_objects\":(\\d+)"))) return -1;
  return std::stol(m[1]);
}

std::int32_t FailureCode(const std::function<void()>& call, plyscan::Text* detail = nullptr) {
  try {
    call();
  } catch (const AutomationFailure& failure) {
    if (detail) *detail = failure.Detail();
    return failure.HResult();
  }
  ADD_FAILURE() << "the call did not fail";
  return 0;
}

HWND AsHwnd(const Variant& v) { return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(v.AsWindowHandle())); }

// One simcad.exe with the demo drawing and a call log, shared by the tests
// that do not need an instance of their own.
class SimcadCom : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ole_ = std::make_unique<plyscan::win32::OleApartment>();
    temp_ = std::make_unique<plyscan::testing::TempDir>();
    progid_ = std::make_unique<std::u16string>(UniqueProgId(u"SimCadTest.Demo"));
    process_ = std::make_unique<SimcadProcess>(
        std::vector<std::u16string>{u"--progid", *progid_, u"--demo", u"--log", temp_->PathOf("calls.jsonl")});
  }
  static void TearDownTestSuite() {
    process_.reset();
    progid_.reset();
    temp_.reset();
    ole_.reset();
  }
  void SetUp() override { ASSERT_TRUE(process_->Running()) << process_->Problem(); }

  static ObjectRef Attach() { return AttachByProgId(*progid_); }

  static inline std::unique_ptr<plyscan::win32::OleApartment> ole_;
  static inline std::unique_ptr<plyscan::testing::TempDir> temp_;
  static inline std::unique_ptr<std::u16string> progid_;
  static inline std::unique_ptr<SimcadProcess> process_;
};

TEST_F(SimcadCom, WindowHandlesAre64BitIntegersOfTheServersWindows) {
  ObjectRef app = Attach();
  const Variant app_hwnd = app->Get(u"HWND");
  EXPECT_EQ(app_hwnd.GetKind(), plyscan::automation::Kind::Int64);
  HWND main = AsHwnd(app_hwnd);
  ASSERT_TRUE(IsWindow(main));
  DWORD owner = 0;
  GetWindowThreadProcessId(main, &owner);
  EXPECT_EQ(owner, process_->ProcessId());
  EXPECT_EQ(main, process_->MainWindow());

  HWND document = AsHwnd(app->Get(u"ActiveDocument").AsObject()->Get(u"HWND"));
  ASSERT_TRUE(IsWindow(document));
  EXPECT_EQ(GetAncestor(document, GA_ROOTOWNER), main);
  RECT client{};
  GetClientRect(document, &client);
  EXPECT_EQ(client.right, 1024);
  EXPECT_EQ(client.bottom, 768);
  HWND view = GetWindow(document, GW_CHILD);
  ASSERT_NE(view, nullptr);
  GetClientRect(view, &client);
  EXPECT_EQ(client.right, 1024);
  EXPECT_EQ(client.bottom, 768);
}

TEST_F(SimcadCom, TheCadsArgumentKindsCrossTheProcessBoundary) {
  ObjectRef app = Attach();
  ObjectRef doc = app->Get(u"ActiveDocument").AsObject();

  // Command text by reference.
  doc->Call(u"SendCommand", {Variant::String(u"(layerstate-save \"PLYSCAN\" 255 nil)(princ)\r").ByRef()});
  EXPECT_NE(State(*app).find("\"name\":\"PLYSCAN\""), std::string::npos);

  // A crossing window over the extents, the corners by reference, two arguments omitted.
  app->Call(u"ZoomExtents");
  const Variant extmin = doc->Call(u"GetVariable", {Variant::String(u"EXTMIN")});
  const Variant extmax = doc->Call(u"GetVariable", {Variant::String(u"EXTMAX")});
  ASSERT_EQ(extmin.AsDoubles().size(), 3u);
  EXPECT_LT(extmin.ElementAsDouble(0), extmax.ElementAsDouble(0));
  ObjectRef selection = doc->Get(u"ActiveSelectionSet").AsObject();
  selection->Call(u"Clear");
  selection->Call(u"Select",
                  {Variant::Int32(1), extmin.ByRef(), extmax.ByRef(), Variant::Omitted(), Variant::Omitted()});
  EXPECT_GT(selection->Get(u"Count").AsInt32(), 0);

  // A 16-bit integer is taken, a 32-bit one refused.
  doc->Call(u"SetVariable", {Variant::String(u"GRIDMODE"), Variant::Int16(0)});
  EXPECT_EQ(doc->Call(u"GetVariable", {Variant::String(u"GRIDMODE")}).AsInt32(), 0);
  EXPECT_EQ(FailureCode([&] { doc->Call(u"SetVariable", {Variant::String(u"GRIDMODE"), Variant::Int32(1)}); }),
            plyscan::hr::kTypeMismatch);

  // Layers by 0-based index; switches read as Booleans and written as -1/0.
  ObjectRef layers = doc->Get(u"Layers").AsObject();
  const std::int32_t count = layers->Get(u"Count").AsInt32();
  ASSERT_GT(count, 1);
  ObjectRef last = layers->Get(u"Item", {Variant::Int32(count - 1)}).AsObject();
  const plyscan::Text name = last->Get(u"Name").AsText();
  EXPECT_FALSE(name.empty());
  for (const char16_t* member : {u"Lock", u"Freeze", u"LayerOn"}) EXPECT_NO_THROW(last->Get(member).AsBool());
  const bool was_on = last->Get(u"LayerOn").AsBool();
  last->Put(u"LayerOn", Variant::Bool(!was_on));
  EXPECT_EQ(last->Get(u"LayerOn").AsBool(), !was_on);
  const std::string switched = "{\"name\":\"" + plyscan::ToUtf8(name) + "\",\"on\":" + (was_on ? "false" : "true");
  EXPECT_NE(State(*app).find(switched), std::string::npos) << State(*app);
  last->Put(u"LayerOn", Variant::Bool(was_on));

  // The log saw the Boolean travel as VT_BOOL and the command text by reference.
  const std::string log = temp_->Read("calls.jsonl");
  EXPECT_NE(log.find(R"("member":"LayerOn","invoke":"put","args":[{"vt":11,"value":)"), std::string::npos);
  EXPECT_NE(log.find(R"("member":"SendCommand","invoke":"method","args":[{"vt":16392,)"), std::string::npos);
  EXPECT_NE(log.find(R"("member":"Select","invoke":"method","args":[{"vt":3,"value":1},{"vt":24581,)"),
            std::string::npos);
}

TEST_F(SimcadCom, ReleasingEveryReferenceBringsTheLiveObjectCountBack) {
  ObjectRef app = Attach();
  const long before = LiveObjects(*app);
  ASSERT_GT(before, 0);
  {
    ObjectRef doc = app->Get(u"ActiveDocument").AsObject();
    ObjectRef layers = doc->Get(u"Layers").AsObject();
    std::vector<ObjectRef> kept;
    for (std::int32_t i = 0; i < layers->Get(u"Count").AsInt32(); ++i)
      kept.push_back(layers->Get(u"Item", {Variant::Int32(i)}).AsObject());
    ObjectRef selection = doc->Get(u"ActiveSelectionSet").AsObject();
    EXPECT_EQ(LiveObjects(*app), before + 3 + static_cast<long>(kept.size()));
  }
  EXPECT_EQ(LiveObjects(*app), before);
}

TEST_F(SimcadCom, AnUnknownMemberFailsWithUnknownName) {
  ObjectRef app = Attach();
  EXPECT_EQ(FailureCode([&] { app->Get(u"NoSuchMember"); }), plyscan::hr::kUnknownName);
  EXPECT_EQ(FailureCode([&] { app->Call(u"NoSuchMethod", {Variant::Int32(1)}); }), plyscan::hr::kUnknownName);
}

// The document window is a child of the application window, as in an MDI
// CAD, and the program's copy of it shows the drawing: under Wine its own
// device context cannot be copied from another process, and the copy falls
// back to the screen.
TEST_F(SimcadCom, TheDocumentWindowIsAChildAndItsCopyShowsTheDrawing) {
  ObjectRef app = Attach();
  HWND main = AsHwnd(app->Get(u"HWND"));
  HWND document = AsHwnd(app->Get(u"ActiveDocument").AsObject()->Get(u"HWND"));
  EXPECT_EQ(GetParent(document), main);
  EXPECT_TRUE(GetWindowLongPtrW(document, GWL_STYLE) & WS_CHILD);
  ASSERT_NE(GetWindow(document, GW_CHILD), nullptr);
  app->Call(u"ZoomExtents");
  SetForegroundWindow(main);

  plyscan::win32::GdiViewScreen copier;
  plyscan::Bitmap copy(plyscan::SystemSurfaces());
  copy.SetSize(1024, 768);
  std::size_t background = 0, drawn = 0;
  // Until the X server shows the window, the copy is of whatever was there.
  for (const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
       background <= 1024u * 768 / 4 && std::chrono::steady_clock::now() < end;) {
    copier.CopyWindow(reinterpret_cast<UINT_PTR>(document), 0, 0, copy);
    background = drawn = 0;
    for (int y = 0; y < copy.Height(); ++y)
      for (int x = 0; x < copy.Width(); ++x) (copy.Pixel(x, y) == 0x302821 ? background : drawn) += 1;
    if (background <= 1024u * 768 / 4) Sleep(100);
  }
  EXPECT_GT(background, 1024u * 768 / 4) << "background pixels";
  EXPECT_GT(drawn, 500u) << "drawing pixels";
}

// Across processes the type information of every layer comes back as one
// proxy: its attributes are asked once, and each name once for all layers;
// a server without type information has each layer look its names up.
TEST(SimcadTypes, LayersShareTheirDispIdsOnlyWhereTheServerNamesTheirClass) {
  plyscan::win32::OleApartment ole;
  struct Case {
    bool typed;
    int name_lookups, type_infos, type_attrs;
  };
  for (const Case c : {Case{true, 1, 3, 1}, Case{false, 3, 0, 0}}) {
    SCOPED_TRACE(c.typed ? "typed" : "untyped");
    plyscan::testing::TempDir temp;
    const std::u16string progid = UniqueProgId(u"SimCadTest.Types");
    std::vector<std::u16string> args{u"--progid", progid, u"--demo", u"--log", temp.PathOf("calls.jsonl")};
    if (!c.typed) args.push_back(u"--no-type-info");
    SimcadProcess process(args);
    ASSERT_TRUE(process.Running()) << process.Problem();
    {
      const ObjectRef layers =
          AttachByProgId(progid, true)->Get(u"ActiveDocument").AsObject()->Get(u"Layers").AsObject();
      ASSERT_GE(layers->Get(u"Count").AsInt32(), 3);
      std::vector<std::u16string> names;
      for (int i = 0; i < 3; ++i) {
        const ObjectRef layer = layers->Get(u"Item", {Variant::Int32(i)}).AsObject();
        names.push_back(layer->Get(u"Name").AsText());
        EXPECT_EQ(layer->Get(u"name").AsText(), names.back());
      }
      EXPECT_NE(names[0], names[1]);
      EXPECT_NE(names[1], names[2]);
    }
    const std::string log = temp.Read("calls.jsonl");
    const auto count = [&log](const std::string& what) {
      int n = 0;
      for (auto at = log.find(what); at != std::string::npos; at = log.find(what, at + 1)) ++n;
      return n;
    };
    EXPECT_EQ(count(R"({"object":"Layer","lookup":"Name"})"), c.name_lookups);
    EXPECT_EQ(count(R"({"object":"Layer","typeinfo":"GetTypeInfo"})"), c.type_infos);
    EXPECT_EQ(count(R"({"object":"Layer","typeinfo":"GetTypeAttr"})"), c.type_attrs);
  }
}

// Not a timed assertion: the figure goes to the test's output.
TEST_F(SimcadCom, NameReadRoundTripTime) {
  for (bool cached : {false, true}) {
    ObjectRef layer = AttachByProgId(*progid_, cached)
                          ->Get(u"ActiveDocument")
                          .AsObject()
                          ->Get(u"Layers")
                          .AsObject()
                          ->Get(u"Item", {Variant::Int32(0)})
                          .AsObject();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 1000; ++i) ASSERT_FALSE(layer->Get(u"Name").AsText().empty());
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    std::printf("[ bench ] 1000 Name reads across processes (%s DISPIDs): %.1f ms, %.1f us per read\n",
                cached ? "cached" : "resolved each call", took.count(), took.count());
  }
}

TEST(SimcadInstances, TwoProgIdsReachTheirOwnInstanceAndLeaveNothingRegistered) {
  plyscan::win32::OleApartment ole;
  const std::u16string first_id = UniqueProgId(u"SimCadTest.First");
  const std::u16string second_id = UniqueProgId(u"SimCadTest.Second");
  {
    SimcadProcess first({u"--progid", first_id, u"--demo"});
    SimcadProcess second({u"--progid", second_id, u"--screen", u"640x480", u"--minimized"});
    ASSERT_TRUE(first.Running()) << first.Problem();
    ASSERT_TRUE(second.Running()) << second.Problem();

    for (auto* instance : {&first, &second}) {
      const std::u16string& id = instance == &first ? first_id : second_id;
      HWND main = AsHwnd(AttachByProgId(id)->Get(u"HWND"));
      DWORD owner = 0;
      GetWindowThreadProcessId(main, &owner);
      EXPECT_EQ(owner, instance->ProcessId());
    }
    const std::int32_t demo_layers = AttachByProgId(first_id)
                                         ->Get(u"ActiveDocument").AsObject()
                                         ->Get(u"Layers").AsObject()
                                         ->Get(u"Count").AsInt32();
    const std::int32_t empty_layers = AttachByProgId(second_id)
                                          ->Get(u"ActiveDocument").AsObject()
                                          ->Get(u"Layers").AsObject()
                                          ->Get(u"Count").AsInt32();
    EXPECT_GT(demo_layers, 1);
    EXPECT_EQ(empty_layers, 1);

    // --minimized starts iconic, the document window inside it off the
    // screen with it; --screen sizes the document.
    ObjectRef second_app = AttachByProgId(second_id);
    const HWND second_main = AsHwnd(second_app->Get(u"HWND"));
    EXPECT_TRUE(IsIconic(second_main));
    HWND second_document = AsHwnd(second_app->Get(u"ActiveDocument").AsObject()->Get(u"HWND"));
    EXPECT_EQ(GetAncestor(second_document, GA_ROOT), second_main);
    RECT client{};
    GetClientRect(second_document, &client);
    EXPECT_EQ(client.right, 640);
    EXPECT_EQ(client.bottom, 480);
    second_app.reset();

    EXPECT_EQ(first.Stop(), 0u);
    EXPECT_EQ(second.Stop(), 0u);
  }
  // The ProgIDs went with their instances.
  for (const auto& id : {first_id, second_id})
    EXPECT_EQ(FailureCode([&] { (void)plyscan::win32::ClassIdOfProgId(id); }), plyscan::hr::kClassNotRegistered);
}

TEST(SimcadInstances, RejectedAndInjectedFailuresReachTheClient) {
  plyscan::win32::OleApartment ole;
  plyscan::testing::TempDir temp;
  const std::u16string id = UniqueProgId(u"SimCadTest.Faults");
  SimcadProcess process({u"--progid", id, u"--demo", u"--reject-calls", u"1", u"--fail", u"Regen@1", u"--log",
                         temp.PathOf("calls.jsonl")});
  ASSERT_TRUE(process.Running()) << process.Problem();
  ObjectRef app = AttachByProgId(id);

  EXPECT_EQ(FailureCode([&] { app->Get(u"HWND"); }), plyscan::hr::kCallRejected);
  EXPECT_TRUE(IsWindow(AsHwnd(app->Get(u"HWND"))));  // only the first call was refused

  ObjectRef doc = app->Get(u"ActiveDocument").AsObject();
  plyscan::Text detail;
  EXPECT_EQ(FailureCode([&] { doc->Call(u"Regen", {Variant::Int32(0)}); }, &detail), plyscan::hr::kFail);
  EXPECT_EQ(detail, u"simulated failure (call 1)");
  EXPECT_NO_THROW(doc->Call(u"Regen", {Variant::Int32(0)}));

  const std::string log = temp.Read("calls.jsonl");
  EXPECT_NE(log.find(R"("member":"Regen","invoke":"method","args":[{"vt":3,"value":0}],"hresult":"0x80004005")"),
            std::string::npos)
      << log;
}

}  // namespace
