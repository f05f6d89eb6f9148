// The capture run through the main window's "キャプチャ" button, with
// simcad in-process as the target: what it reads and counts, the pictures it
// makes, what it leaves in the drawing, and what it puts back when a call
// fails, the window closes or input arrives while it runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "base/platform.h"
#include "capture_fixture.h"
#include "simcad/drawing/render.h"
#include "simcad/objects/sim_objects.h"
#include "support/shared_files.h"

namespace plyscan::testing {
namespace {

constexpr std::int32_t kScreenWidth = 320;
constexpr std::int32_t kScreenHeight = 240;

simcad::Entity LineOn(Text layer, double x0, double y0, double x1, double y1) {
  simcad::Entity e;
  e.kind = simcad::EntityKind::Line;
  e.layer = std::move(layer);
  e.points = {{x0, y0, 0}, {x1, y1, 0}};
  return e;
}

// Layers "0" (one line), "Walls" (two lines, locked), "Doors" (off, one
// line), "Notes" (frozen, a line far out), "Empty" (nothing).
simcad::Drawing SmallDrawing() {
  simcad::Drawing d;
  for (const char16_t* name : {u"0", u"Walls", u"Doors", u"Notes", u"Empty"}) d.layers.push_back(simcad::Layer{name});
  d.layers[1].locked = true;
  d.layers[2].on = false;
  d.layers[3].frozen = true;
  d.entities = {LineOn(u"0", 0, 0, 100, 0), LineOn(u"Walls", 0, 0, 0, 50), LineOn(u"Walls", 100, 0, 100, 50),
                LineOn(u"Doors", 40, 0, 60, 20), LineOn(u"Notes", -50, 80, 150, 80)};
  return d;
}

simcad::Drawing OnScreen(simcad::Drawing drawing) {
  drawing.view.screen_width = kScreenWidth;
  drawing.view.screen_height = kScreenHeight;
  return drawing;
}

class Capture : public MainWindowFixture {
 public:
  explicit Capture(simcad::Drawing drawing = SmallDrawing(), ui::HeadlessWindowSystem::Options options = {},
                   std::unique_ptr<simcad::FileWriter> files = nullptr)
      : MainWindowFixture(OnScreen(std::move(drawing)), options, {}, std::move(files)),
        original(session->GetDrawing()) {
    SetUserVariables(*session);
    before = StateOf(*session);
  }
  void Press() { main->Window().Click(main->capture_button); }
  // Every record has its layer's switches as they were before the run.
  void ExpectSwitchesRead() const {
    for (const LayerRecord& record : main->snapshot) {
      const simcad::Layer* layer = original.FindLayer(record.name);
      ASSERT_NE(layer, nullptr) << ToUtf8(record.name);
      EXPECT_EQ(record.on, layer->on) << ToUtf8(record.name);
      EXPECT_EQ(record.frozen, layer->frozen) << ToUtf8(record.name);
      EXPECT_EQ(record.locked, layer->locked) << ToUtf8(record.name);
    }
  }
  // The drawing as before, but "EXPERT" 0 and "CMDECHO" 1 (as before here).
  void ExpectPutBack() const {
    EXPECT_EQ(StateOf(*session), before) << Describe(StateOf(*session)) << "\nbefore: " << Describe(before);
    EXPECT_TRUE(session->Selection().empty());
    EXPECT_FALSE(session->GetCommandLine().Active());
    EXPECT_FALSE(main->progress_bar.Visible());
  }
  std::size_t IndexOf(TextView name) const {
    for (std::size_t i = 0; i < original.layers.size(); ++i)
      if (original.layers[i].name == name) return i;
    return original.layers.size();
  }

  simcad::Drawing original;
  DrawingState before;
};

// A whole run on a drawing: the records, the counts, the pictures, and the
// drawing left as it was.
void ExpectCompleteCapture(Capture& c, const std::string& what) {
  SCOPED_TRACE(what);
  const LayerSnapshot& records = c.main->snapshot;
  ASSERT_EQ(records.size(), c.original.layers.size());
  std::multiset<Text> names, expected_names;
  for (const auto& layer : c.original.layers) expected_names.insert(layer.name);
  for (const auto& record : records) names.insert(record.name);
  EXPECT_EQ(names, expected_names);
  for (std::size_t i = 1; i < records.size(); ++i)
    EXPECT_LE(UserCollator().Compare(records[i - 1].name, records[i].name), 0) << i;
  c.ExpectSwitchesRead();

  // What a crossing window over the extents can find: the entities with
  // geometry (an insert of an empty block has none).
  std::vector<std::int32_t> counts(c.original.layers.size());
  for (const simcad::Entity& e : c.original.entities)
    if (!simcad::Extents(e).Empty())
      if (const simcad::Layer* layer = c.original.FindLayer(e.layer))
        ++counts[static_cast<std::size_t>(layer - c.original.layers.data())];
  const auto rect = ExpectedRectangle(c.original);
  const Size size{200, 120};
  for (const LayerRecord& record : records) {
    const std::size_t layer = c.IndexOf(record.name);
    ASSERT_LT(layer, counts.size());
    EXPECT_EQ(record.object_count, counts[layer]) << ToUtf8(record.name);
    ASSERT_TRUE(record.thumbnail) << ToUtf8(record.name);
    if (rect) {
      const Bitmap expected = ExpectedThumbnail(c.original, layer, *rect, size.width, size.height);
      EXPECT_EQ(FirstDifference(*record.thumbnail, expected), "") << ToUtf8(record.name);
    }
  }
  if (rect) {
    for (const Rect& copy : c.cad.screen.copies) EXPECT_EQ(copy, *rect);
  }
  c.ExpectPutBack();
  EXPECT_EQ(c.session->Variables().Integer(u"EXPERT"), 0);
  EXPECT_EQ(c.session->Variables().Integer(u"CMDECHO"), 1);
  EXPECT_NE(c.session->GetDrawing().FindLayerState(u"PLYSCAN"), nullptr);
  EXPECT_EQ(c.main->grid.Row(), 0);
}

TEST(CaptureRun, EverySharedDrawingLayerByLayer) {
  PLYSCAN_REQUIRE_SHARED_DRAWINGS(folder);
  for (const auto& file : SharedDrawingFiles(folder)) {
    Capture c(simcad::LoadDxfFile(file));
    c.Press();
    ExpectCompleteCapture(c, file.filename().string());
  }
}

TEST(CaptureRun, ASmallDrawingWithALayerOffOneFrozenAndOneLocked) {
  Capture c;
  c.Press();
  ExpectCompleteCapture(c, "small drawing");
  // One grab per layer, the board repainted after each, every row shown.
  EXPECT_EQ(c.cad.screen.copies.size(), 5u);
  EXPECT_EQ(c.Board().Repaints(), 5);
  EXPECT_EQ(c.main->grid.ColCount(), 3);
  EXPECT_EQ(c.main->grid.RowCount(), 2);
}

TEST(CaptureRun, EachPictureRepaintsItsCellAndTheFirstTheWholeBoard) {
  Capture c;
  c.Press();
  // Cells of 200 x 140 at 96 dpi, a line of one pixel after each; three columns.
  const auto& painted = c.Board().PaintedAreas();
  ASSERT_EQ(painted.size(), 5u);
  const std::optional<Rect> whole;
  EXPECT_NE(std::find(painted[0].begin(), painted[0].end(), whole), painted[0].end());
  // The second and third pictures, in the first row with the current cell: their cells only.
  EXPECT_EQ(painted[1], (std::vector<std::optional<Rect>>{Rect{201, 0, 401, 140}}));
  EXPECT_EQ(painted[2], (std::vector<std::optional<Rect>>{Rect{402, 0, 602, 140}}));
  // The fifth, in the second row with the fourth: its cell, wherever the board has scrolled to.
  ASSERT_EQ(painted[4].size(), 1u);
  ASSERT_TRUE(painted[4][0]);
  EXPECT_EQ(painted[4][0]->left, 201);
  EXPECT_EQ(painted[4][0]->Width(), 200);
  EXPECT_EQ(painted[4][0]->Height(), 140);
}

TEST(CaptureRun, WithoutATargetNothingHappens) {
  Capture c;
  ResizeSnapshot(c.main->snapshot, 1);
  c.main->snapshot[0].name = u"kept";
  c.cad.target.running = false;
  c.Press();
  ASSERT_EQ(c.main->snapshot.size(), 1u);
  EXPECT_EQ(c.main->snapshot[0].name, u"kept");
  EXPECT_EQ(c.cad.target.attaches, 0);
  EXPECT_EQ(c.session->GetDrawing().FindLayerState(u"PLYSCAN"), nullptr);
}

TEST(CaptureRun, ADrawingWithoutLayersEmptiesTheBoardAndTouchesOnlyTheGridAndIcon) {
  Capture c(simcad::Drawing{});
  ASSERT_EQ(c.session->Variables().SetInteger(u"EXPERT", 3), simcad::VariableError::None);
  ASSERT_EQ(c.session->Variables().SetInteger(u"CMDECHO", 0), simcad::VariableError::None);
  c.before = StateOf(*c.session);
  ResizeSnapshot(c.main->snapshot, 2);
  c.main->snapshot[0].thumbnail = std::make_unique<Bitmap>(SystemSurfaces());
  c.Press();
  EXPECT_TRUE(c.main->snapshot.empty());
  c.ExpectPutBack();  // "EXPERT" 3 and "CMDECHO" 0 untouched
  EXPECT_EQ(c.session->RegenCount(), 0);
  EXPECT_NE(c.session->GetDrawing().FindLayerState(u"PLYSCAN"), nullptr);
  EXPECT_EQ(c.Calls(u"SendCommand"), 1);  // the save alone
}

TEST(CaptureRun, TheTargetKindDecidesZoomsAndTheCursor) {
  const struct {
    const char16_t* progid;
    int zooms;
    std::size_t parked;
  } cases[] = {
      {u"BricscadApp.AcadApplication", 1 + 5, 1 + 5},
      {u"Gcad.Application", 2 + 10, 1 + 5},
      {u"Vendor.AutoCAD.Application", 1 + 5, 0},
  };
  for (const auto& k : cases) {
    Capture c;
    c.cad.target.progid = k.progid;
    c.services.target_prog_id = k.progid;
    c.Press();
    EXPECT_EQ(c.session->ZoomCount(), k.zooms) << ToUtf8(k.progid);
    ASSERT_EQ(c.cad.screen.cursor.size(), k.parked) << ToUtf8(k.progid);
    for (const Point& at : c.cad.screen.cursor) EXPECT_EQ(at, (Point{kSimViewLeft, kSimViewTop}));
    EXPECT_EQ(c.main->snapshot.size(), 5u);
  }
}

TEST(CaptureRun, TheExportRouteReadsWhatTheCadWroteBesideTheExecutable) {
  // Beside the executable, also in a folder whose name holds blanks (the
  // command text quotes the path, or the CAD would take the blank for an Enter).
  for (const char* folder : {"", "Program Files (x86)/"}) {
    SCOPED_TRACE(folder);
    Capture c;
    std::filesystem::create_directories(c.dir.Root() / folder);
    c.services.exe_path = c.dir.PathOf(std::string(folder) + "plyscan.exe");
    c.cad.target.progid = u"AutoCAD.Application.24";
    c.services.target_prog_id = c.cad.target.progid;
    c.Press();
    ExpectCompleteCapture(c, "export route");
    EXPECT_TRUE(c.cad.screen.copies.empty());
    EXPECT_EQ(c.cad.screen.loads, 5);
    EXPECT_TRUE(SystemFiles().Exists(c.dir.PathOf(std::string(folder) + "plyscan.bmp")));  // left on disk
    EXPECT_EQ(c.session->Variables().Integer(u"FILEDIA"), 1);
  }
}

// A CAD whose export writes nothing.
class NoFiles final : public simcad::FileWriter {
 public:
  bool Write(const Text&, const std::string&) override { return false; }
};

TEST(CaptureRun, AnExportThatWritesNothingGivesWhiteNotAnOldPicture) {
  Capture c(SmallDrawing(), {}, std::make_unique<NoFiles>());
  c.cad.target.progid = u"AUTOCAD.Application";
  c.services.target_prog_id = c.cad.target.progid;
  // An earlier export's picture, all black.
  simcad::Image old{kScreenWidth, kScreenHeight, std::vector<std::uint8_t>(kScreenWidth * kScreenHeight * 3, 0)};
  const auto bytes = simcad::BmpBytes(old);
  c.dir.Write("plyscan.bmp", std::string(bytes.begin(), bytes.end()));
  c.Press();
  EXPECT_FALSE(SystemFiles().Exists(c.dir.PathOf("plyscan.bmp")));
  EXPECT_EQ(c.cad.screen.loads, 0);
  for (const LayerRecord& record : c.main->snapshot) {
    ASSERT_TRUE(record.thumbnail);
    EXPECT_EQ(record.thumbnail->Pixel(0, 0), 0xFFFFFF);
    EXPECT_EQ(record.thumbnail->Pixel(150, 100), 0xFFFFFF);
  }
  c.ExpectPutBack();
}

TEST(CaptureRun, ThumbnailsAreOneCellLessTheBar) {
  const struct {
    std::optional<std::int32_t> scale;
    std::int32_t dpi, width, height;
  } cases[] = {{100, 96, 200, 120}, {125, 96, 200, 115}, {125, 120, 250, 150}, {150, 144, 300, 180}};
  for (const auto& k : cases) {
    Capture c(SmallDrawing(), {{1920, 1080}, k.scale, k.dpi});
    c.Press();
    for (const LayerRecord& record : c.main->snapshot) {
      ASSERT_TRUE(record.thumbnail);
      EXPECT_EQ(record.thumbnail->Width(), k.width) << k.dpi;
      EXPECT_EQ(record.thumbnail->Height(), k.height) << k.dpi;
      EXPECT_EQ(record.thumbnail->BitsPerPixel(), 32);
    }
  }
}

TEST(CaptureRun, TheMonochromeBoxIsReadForEachPicture) {
  Capture c;
  int texts = 0;
  c.session->SetViewChangedHandler([&] {
    // From the third layer's picture on, "モノクロ" is ticked.
    if (c.Calls(u"SendCommand") != texts && (texts = c.Calls(u"SendCommand")) == 4)
      c.main->monochrome_box.UserSetChecked(true);
  });
  c.Press();
  std::vector<int> formats;
  for (const LayerRecord& record : c.main->snapshot) formats.push_back(record.thumbnail->BitsPerPixel());
  EXPECT_EQ(formats, (std::vector<int>{32, 32, 24, 24, 24}));
  // Every pixel is black, the background or white in a two-colour picture.
  const Bitmap& mono = *c.main->snapshot[4].thumbnail;
  for (int y = 0; y < mono.Height(); ++y)
    for (int x = 0; x < mono.Width(); ++x) {
      const Colour p = mono.Pixel(x, y);
      ASSERT_TRUE(p == 0 || p == 0x302821 || p == 0xFFFFFF) << x << "," << y << ": " << p;
    }
}

int LayerPixels(const Bitmap& b) {
  int n = 0;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) n += b.Pixel(x, y) != 0x302821;
  return n;
}

// "フィット" on both routes: the small layers' pictures grow, an empty
// layer keeps today's picture, the CAD gets the same calls as without it,
// and the monochrome filter still runs after the fit.
TEST(CaptureRun, FittedPicturesOnBothRoutesCostNoCadCall) {
  for (const char16_t* progid : {u"BricscadApp.AcadApplication", u"AutoCAD.Application.24"}) {
    SCOPED_TRACE(ToUtf8(progid));
    const auto run = [&](bool fit, bool mono, std::map<Text, int>& calls) {
      auto c = std::make_unique<Capture>();
      c->cad.target.progid = progid;
      c->services.target_prog_id = progid;
      c->main->fit_layer_box.UserSetChecked(fit);
      c->main->monochrome_box.UserSetChecked(mono);
      c->Press();
      calls = c->cad.target.faults.Counts();
      return c;
    };
    std::map<Text, int> whole_calls, fitted_calls, mono_calls;
    const auto whole = run(false, false, whole_calls);
    const auto fitted = run(true, false, fitted_calls);
    const auto mono = run(true, true, mono_calls);
    EXPECT_EQ(fitted_calls, whole_calls);
    EXPECT_EQ(mono_calls, whole_calls);
    fitted->ExpectPutBack();
    const auto rect = ExpectedRectangle(fitted->original);
    ASSERT_TRUE(rect);
    for (std::size_t i = 0; i < fitted->main->snapshot.size(); ++i) {
      const LayerRecord& a = whole->main->snapshot[i];
      const LayerRecord& b = fitted->main->snapshot[i];
      SCOPED_TRACE(ToUtf8(b.name));
      ASSERT_EQ(a.name, b.name);
      EXPECT_EQ(a.object_count, b.object_count);
      EXPECT_EQ(a.fit_scale, 0);
      if (b.name == u"Empty" || b.name == u"0") {
        // Nothing in the copy ("0" lies on the sheet's bottom edge, below the
        // copied rows): today's picture.
        EXPECT_EQ(LayerPixels(*a.thumbnail), 0);
        EXPECT_EQ(b.fit_scale, 0);
        EXPECT_EQ(FirstDifference(*b.thumbnail, *a.thumbnail), "");
        continue;
      }
      if (b.name == u"Notes") {
        EXPECT_EQ(b.fit_scale, 200.0 / 320);  // across the copy's whole width
      }
      if (b.name == u"Doors") {  // a short line in a corner of the sheet
        EXPECT_GT(b.fit_scale, 1.0);
        EXPECT_GE(LayerPixels(*b.thumbnail), 4 * LayerPixels(*a.thumbnail));
      }
      EXPECT_GT(b.fit_scale, 0);
      EXPECT_LE(b.fit_scale, 8.0);
      const LayerRecord& m = mono->main->snapshot[i];
      EXPECT_EQ(m.fit_scale, b.fit_scale);
      for (int y = 0; y < m.thumbnail->Height(); ++y)
        for (int x = 0; x < m.thumbnail->Width(); ++x) {
          const Colour p = m.thumbnail->Pixel(x, y);
          ASSERT_TRUE(p == 0 || p == 0x302821 || p == 0xFFFFFF) << x << "," << y << ": " << p;
          ASSERT_EQ(p == 0x302821, b.thumbnail->Pixel(x, y) == 0x302821) << x << "," << y;
        }
    }
  }
}

TEST(CaptureRun, HostileNamesAreCapturedWithOnlyTheirOwnObjects) {
  simcad::Drawing d;
  const std::vector<Text> names{u"0",     u"E.LIGHT", u"E-LIGHT", u"A#1",     u"A11",      u"*",  u"Say \"hi\"",
                                u"C:\\x", u"~NOT",    u"Old[2]",  u"Old2",    u"a,b",      u"a",  u"`tick",
                                u"tick",  u" lead",   u"電気-照明", u"Two  Words", u"Two Words"};
  double y = 0;
  for (const Text& name : names) {
    d.layers.push_back(simcad::Layer{name});
    // Each layer one line more than the one before: a count shows whose they are.
    for (std::size_t k = 0; k < d.layers.size(); ++k, y += 1) d.entities.push_back(LineOn(name, 0, y, 10, y));
  }
  Capture c(d);
  c.Press();
  ASSERT_EQ(c.main->snapshot.size(), names.size());
  for (const LayerRecord& record : c.main->snapshot)
    EXPECT_EQ(record.object_count, static_cast<std::int32_t>(c.IndexOf(record.name) + 1)) << ToUtf8(record.name);
  c.ExpectPutBack();
}

// Every member the run calls fails once, at its first, a middle and its last
// call, on both routes (the screen copy, and the export of a target whose
// ProgID begins with "AUTOCAD"): the drawing comes back as it was ("FILEDIA"
// included), the window comes back to its place or into the screen's copies,
// and the next run works. The end's "EXPERT" 0 and "CMDECHO" 1 fail too: a
// refused "EXPERT" still lets "CMDECHO" come back.
TEST(CaptureRun, AFailedCallAnywherePutsTheDrawingBack) {
  int cases = 0;
  for (const TextView progid : {TextView(u"BricscadApp.AcadApplication"), TextView(u"AutoCAD.Application.24")}) {
    std::map<Text, int> calls;
    {
      Capture clean;
      clean.cad.target.progid = clean.services.target_prog_id = Text(progid);
      clean.Press();
      calls = clean.cad.target.faults.Counts();
    }
    ASSERT_GT(calls.size(), 10u);
    for (const auto& [member, count] : calls) {
      std::set<int> nths{1, (count + 1) / 2, count};
      // "EXPERT" 0 and "CMDECHO" 1 at the end, before "GRIDMODE" and "UCSICON".
      if (member == u"SETVARIABLE") nths.insert({count - 3, count - 2});
      for (const int nth : nths) {
        const std::string what =
            ToUtf8(progid) + ": " + ToUtf8(member) + "@" + std::to_string(nth) + " of " + std::to_string(count);
        SCOPED_TRACE(what);
        ui::HeadlessWindowSystem::Options options;
        options.capture_exclusion = ++cases % 2 == 0;
        Capture c(SmallDrawing(), options);
        c.cad.target.progid = c.services.target_prog_id = Text(progid);
        const Rect over_view = Rect::Sized(kSimViewLeft + 20, kSimViewTop + 20, 681, 362);
        c.Window().SetWindowRect(over_view);
        c.cad.target.faults.Add({member, nth});
        c.Press();
        if (member == u"SETVARIABLE" && (nth == count - 3 || nth == count - 2)) {
          // The failed one stays as the run set it; the other came back.
          const char16_t* failed = nth == count - 3 ? u"EXPERT" : u"CMDECHO";
          EXPECT_EQ(c.session->Variables().Integer(failed), nth == count - 3 ? 5 : 0);
          ASSERT_EQ(c.session->Variables().SetInteger(failed, nth == count - 3 ? 0 : 1), simcad::VariableError::None);
        }
        c.ExpectPutBack();
        EXPECT_EQ(c.Window().WindowRect(), over_view);
        EXPECT_FALSE(c.Window().ExcludedFromCapture());
        EXPECT_TRUE(c.windows.errors.empty());
        // Usable again: the next run captures every layer.
        c.cad.target.faults = CallFaults{};
        c.Press();
        ExpectCompleteCapture(c, what + ", then again");
      }
    }
  }
}

TEST(CaptureRun, AFailureInTheFourthPictureKeepsTheFirstThree) {
  Capture c;
  c.cad.target.faults.Add({u"Select", 4});
  c.Press();
  ASSERT_EQ(c.main->snapshot.size(), 5u);
  for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(c.main->snapshot[i].thumbnail != nullptr, i < 3) << i;
  EXPECT_FALSE(c.main->snapshot[4].name.empty());
  c.ExpectPutBack();
}

TEST(CaptureRun, AServerThatHasGoneIsNotCalledAgain) {
  Capture c;
  c.cad.target.faults.Add({u"ZoomExtents", 3, hr::kDisconnected});
  c.Press();
  // Nothing after the failed zoom: the put-back knows the server is gone.
  EXPECT_EQ(c.cad.target.attaches, 2);  // the run's and the save's, no restore
  EXPECT_EQ(c.Calls(u"SendCommand"), 3);
  EXPECT_EQ(c.Calls(u"SetVariable"), 4);
  EXPECT_EQ(c.Calls(u"ZoomExtents"), 3);
  EXPECT_EQ(c.Calls(u"Clear"), 1);  // the first picture's; none to clear the selection after
  EXPECT_FALSE(c.main->progress_bar.Visible());
}

TEST(CaptureRun, ACadThatRefusesCallsForAWhileIsWaitedFor) {
  Capture c;
  for (int nth = 1; nth <= 3; ++nth) c.cad.target.faults.Add({u"SendCommand", nth, hr::kCallRejected});
  c.cad.target.faults.Add({u"Item", 4, hr::kRetryLater});
  c.Press();
  ExpectCompleteCapture(c, "refused calls");
  // Each wait painted the windows; none slept.
  EXPECT_EQ(c.windows.paint_waits, 4);
  const auto& calls = c.cad.desktop.calls;
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "Sleep 250"), 0);
}

// A CAD that refuses every text from the run's first layer text on, for far
// longer than a minute.
void RefuseTextsFromTheSecond(Capture& c) {
  for (int nth = 2; nth <= 2000; ++nth) c.cad.target.faults.Add({u"SendCommand", nth, hr::kCallRejected});
}

TEST(CaptureRun, ACloseOrEscWhileACallIsRefusedEndsTheWaitAtOnce) {
  for (const bool close : {true, false}) {
    SCOPED_TRACE(close ? "close" : "Esc");
    Capture c;
    RefuseTextsFromTheSecond(c);
    const std::uint64_t start = c.windows.now_ms;
    // The user asks during the third wait.
    c.windows.on_paint_wait = [&] {
      if (c.windows.paint_waits != 3) return;
      if (close)
        c.windows.queued_stop.close = true;
      else
        c.windows.queued_stop.escape = true;
    };
    c.Press();
    // The refused layer text failed at once; the restore text, refused too,
    // was asked patiently, but for no more than ten seconds; the switches
    // read were then put back one by one.
    const std::uint64_t waited = c.windows.now_ms - start;
    EXPECT_GE(waited, 3 * 250u);
    EXPECT_LE(waited, 3 * 250u + ui::kPutBackPatience);
    EXPECT_EQ(c.main->snapshot[0].thumbnail, nullptr);
    c.ExpectPutBack();
    EXPECT_EQ(c.Window().Closed(), close);
    EXPECT_TRUE(c.windows.errors.empty());
  }
}

TEST(CaptureRun, ACloseInTheQueueStopsTheRunAtOnceAndEscAfterTheLayerInHand) {
  for (const bool close : {true, false}) {
    SCOPED_TRACE(close ? "close" : "Esc");
    Capture c;
    int texts = 0;
    c.session->SetViewChangedHandler([&] {
      // While the second layer's text runs, the user asks.
      if (c.Calls(u"SendCommand") != texts && (texts = c.Calls(u"SendCommand")) == 3) {
        if (close)
          c.windows.queued_stop.close = true;
        else
          c.windows.queued_stop.escape = true;
      }
    });
    c.Press();
    std::size_t pictures = 0;
    for (const LayerRecord& record : c.main->snapshot) pictures += record.thumbnail ? 1 : 0;
    // A close stops before the second picture; Esc lets the second one finish.
    EXPECT_EQ(pictures, close ? 1u : 2u);
    EXPECT_EQ(c.Window().Closed(), close);
    c.ExpectPutBack();
    EXPECT_EQ(c.session->RegenCount(), close ? 1 : 2);  // the restore's; and the end's after Esc
    EXPECT_EQ(c.main->grid.Row(), 0);
  }
}

TEST(CaptureRun, EscOnTheBoardDuringTheFirstPassEndsTheRunBeforeThePictures) {
  Capture c;
  c.windows.on_process_messages = [&] {
    if (c.windows.message_passes == 2) c.main->grid.KeyDown(ui::keys::kEscape, {});
  };
  c.Press();
  ASSERT_EQ(c.main->snapshot.size(), 5u);
  for (const LayerRecord& record : c.main->snapshot) {
    EXPECT_FALSE(record.name.empty());  // the names were all read
    EXPECT_FALSE(record.thumbnail);
  }
  c.ExpectPutBack();
  EXPECT_TRUE(c.Board().HasFocus());
  // The next run is not stopped by the Esc of the last one.
  c.windows.on_process_messages = nullptr;
  c.Press();
  ExpectCompleteCapture(c, "after Esc");
}

TEST(CaptureRun, InputDuringTheFirstPassIsIgnoredAndACloseWaitsForThePutBack) {
  Capture c;
  int attaches_seen = -1;
  c.windows.on_process_messages = [&] {
    if (c.windows.message_passes != 2) return;
    attaches_seen = c.cad.target.attaches;
    c.main->Window().Click(c.main->capture_button);        // a second capture
    c.main->Window().Click(c.main->restore_state_button);  // the restore
    c.main->grid.MouseDown(ui::MouseButton::kLeft, {}, 10, 10);
    c.main->Window().Click(c.main->target_button);  // the CAD button
    c.Window().Close();
  };
  c.Press();
  EXPECT_EQ(c.cad.target.attaches, attaches_seen);  // none of the commands ran
  // The close stopped the run in its first pass; the window closed once the drawing was back.
  EXPECT_TRUE(c.Window().Closed());
  c.ExpectPutBack();
  EXPECT_EQ(c.cad.screen.copies.size(), 0u);
}

TEST(CaptureRun, TheWindowKeepsOutOfTheCopiedArea) {
  for (const bool exclusion : {false, true}) {
    SCOPED_TRACE(exclusion ? "excluded from capture" : "moved aside");
    ui::HeadlessWindowSystem::Options options;
    options.capture_exclusion = exclusion;
    Capture c(SmallDrawing(), options);
    const Rect over_view = Rect::Sized(kSimViewLeft + 20, kSimViewTop + 20, 681, 362);
    c.Window().SetWindowRect(over_view);
    const auto rect = *ExpectedRectangle(c.original);
    const Rect copied = rect.Offset(kSimViewLeft, kSimViewTop);
    std::vector<Rect> at_copy;
    std::vector<bool> excluded;
    c.session->SetViewChangedHandler([&] {
      at_copy.push_back(c.Window().WindowRect());
      excluded.push_back(c.Window().ExcludedFromCapture());
    });
    c.Press();
    ASSERT_FALSE(at_copy.empty());
    const Rect during = at_copy[at_copy.size() / 2];
    if (exclusion) {
      EXPECT_EQ(during, over_view);
      EXPECT_TRUE(excluded[excluded.size() / 2]);
    } else {
      EXPECT_TRUE(during.left >= copied.right || during.right <= copied.left || during.top >= copied.bottom ||
                  during.bottom <= copied.top);
    }
    EXPECT_EQ(c.Window().WindowRect(), over_view);  // back where it was
    EXPECT_FALSE(c.Window().ExcludedFromCapture());
  }
}

}  // namespace
}  // namespace plyscan::testing
