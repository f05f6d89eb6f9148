// The main window's start-up and exit: the settings file and the target list
// read into the window, kept on the primary display, written back at exit;
// the message filter, dropped files, the scale factor and the CAD button's
// stacking around the dialog.
#include <string>

#include "shell/error_report.h"
#include "shell_fixture.h"

namespace plyscan::testing {
namespace {

// The headless window of the designed main window at 96 dpi: 665 x 323 client
// pixels inside a Windows 10 frame.
constexpr std::int32_t kDesignedWidth = 681;
constexpr std::int32_t kDesignedHeight = 362;

class StartUp : public ShellTest {};

TEST_F(StartUp, WithoutFilesTheWindowHasItsDesignAndIsCentred) {
  Start();
  EXPECT_EQ(MainForm().WindowRect(),
            Rect::Sized((1920 - kDesignedWidth) / 2, (1080 - kDesignedHeight) / 2, kDesignedWidth, kDesignedHeight));
  EXPECT_EQ(main->background_field.GetText(), u"33,40,48");
  EXPECT_FALSE(main->monochrome_box.Checked());
  EXPECT_FALSE(main->zoom_extents_box.Checked());
  EXPECT_EQ(Services().target_prog_id, u"BricscadApp.AcadApplication");
  EXPECT_EQ(main->Window().Caption(), u"PLYSCAN [ BricsCAD ]");
  EXPECT_DOUBLE_EQ(main->display_scale, 1.0);
  EXPECT_TRUE(filter.Registered());
  EXPECT_TRUE(MainForm().AcceptsDrops());
  EXPECT_TRUE(MainForm().Topmost());
  EXPECT_FALSE(DialogWindow().Visible());
  EXPECT_TRUE(windows.errors.empty());
}

TEST_F(StartUp, PlacesTheWindowFromTheSettingsAndKeepsItOnThePrimaryDisplay) {
  const struct {
    const char* values;
    Rect expected;  // left, top, width, height
  } cases[] = {
      {"Width=0x300\r\nHeight=400\r\nLeft=10\r\nTop=20\r\n", Rect::Sized(10, 20, 768, 400)},
      {"Width=$300\r\nHeight=400\r\nLeft=10\r\nTop=20\r\n", Rect::Sized(10, 20, 768, 400)},
      {"Width=768px\r\nHeight=400\r\nLeft=10\r\nTop=20\r\n", Rect::Sized(10, 20, kDesignedWidth, 400)},
      {"Width=700\r\nHeight=400\r\nLeft=1800\r\nTop=900\r\n",
       Rect::Sized(1220, 680, 700, 400)},                                                   // monitor to the right
      {"Width=700\r\nHeight=400\r\nLeft=-900\r\nTop=-5\r\n", Rect::Sized(0, 0, 700, 400)},  // monitor to the left
      {"Width=2500\r\nHeight=1200\r\nLeft=100\r\nTop=100\r\n",
       Rect::Sized(0, 0, 2500, 1200)},                                   // larger than the display
      {"Width=800\r\nHeight=600\r\n", Rect::Sized(560, 240, 800, 600)},  // centred with its size
      {"Width=abc\r\nHeight=\r\nLeft=99999999999\r\nTop=x\r\n",
       Rect::Sized((1920 - kDesignedWidth) / 2, (1080 - kDesignedHeight) / 2, kDesignedWidth, kDesignedHeight)},
  };
  int n = 0;
  for (const auto& c : cases) {
    Rename(n++);
    dir.Write(Ini(), std::string("[PLYSCAN]\r\n") + c.values);
    Start();
    EXPECT_EQ(MainForm().WindowRect(), c.expected) << c.values;
  }
}

TEST_F(StartUp, ReadsTheOptionsAndTheTarget) {
  const struct {
    const char* values;
    bool mono, zoom, fit;
    const char16_t* background;
    const char16_t* target;
  } cases[] = {
      {"[PLYSCAN]\r\nMono=1\r\nZoomExt=0\r\n", true, false, false, u"33,40,48", u"BricscadApp.AcadApplication"},
      {"[PLYSCAN]\r\nMono=2\r\nZoomExt=-1\r\nBkgColor=abc\r\nFitLayer=1\r\n", true, true, true, u"abc",
       u"BricscadApp.AcadApplication"},
      {"[PLYSCAN]\r\nMono=yes\r\nZoomExt=\r\nFitLayer=0\r\n[Target]\r\nProgID=X.Application\r\n", false, false, false,
       u"33,40,48", u"X.Application"},
  };
  int n = 0;
  for (const auto& c : cases) {
    Rename(n++);
    dir.Write(Ini(), c.values);
    Start();
    EXPECT_EQ(main->monochrome_box.Checked(), c.mono) << c.values;
    EXPECT_EQ(main->zoom_extents_box.Checked(), c.zoom) << c.values;
    EXPECT_EQ(main->fit_layer_box.Checked(), c.fit) << c.values;
    EXPECT_EQ(main->background_field.GetText(), c.background) << c.values;
    EXPECT_EQ(Services().target_prog_id, c.target) << c.values;
  }
}

TEST_F(StartUp, NamesTheTargetFromTheFirstMatchingLineOfTheList) {
  const struct {
    const char* target;
    const char* list;
    const char16_t* caption;
  } cases[] = {
      {"Vendor.Application", "Other\tX.App\r\nVendor CAD 24\tVendor.Application.24\r\nLater\tVendor.Application\r\n",
       u"PLYSCAN [ Vendor CAD 24 ]"},
      {"x.application", "CAD A\tX.Application.24\r\n", u"PLYSCAN [ BricsCAD ]"},  // letter case counts
      {"X.App", "no tab X.App\r\n", u"PLYSCAN [ BricsCAD ]"},
      {"X.App", "A\tB\tX.App\n", u"PLYSCAN [ A\tB ]"},  // the text before the TAB that precedes it
  };
  int n = 0;
  for (const auto& c : cases) {
    Rename(n++);
    dir.Write(Ini(), std::string("[Target]\r\nProgID=") + c.target + "\r\n");
    WriteList(c.list);
    Start();
    EXPECT_EQ(main->Window().Caption(), c.caption) << c.list;
  }
}

TEST_F(StartUp, AnUnreadableTargetListIsReportedAndStartUpGoesOn) {
  FailingFile unreadable(SystemFiles(), dir.PathOf(kList), FailingFile::Fails::kReading);
  files = &unreadable;
  dir.Write(Ini(), "[PLYSCAN]\r\nMono=1\r\n");
  Start();
  ASSERT_EQ(windows.errors.size(), 1u);
  EXPECT_EQ(windows.errors[0], u"ファイル " + dir.PathOf(kList) + u" は開けません。 アクセスが拒否されました。 ");
  EXPECT_EQ(main->Window().Caption(), u"PLYSCAN [ BricsCAD ]");
  EXPECT_TRUE(main->monochrome_box.Checked());
  EXPECT_TRUE(filter.Registered());
  EXPECT_TRUE(MainForm().AcceptsDrops());
}

TEST(ScaleFactor, ComesFromTheFirstMonitorOrElseFromThePrimaryResolution) {
  const struct {
    std::optional<std::int32_t> factor;
    std::int32_t dpi;
    double expected;
  } cases[] = {{100, 96, 1.0}, {150, 96, 1.5}, {125, 120, 1.25}, {std::nullopt, 144, 1.5}, {std::nullopt, 96, 1.0}};
  for (const auto& c : cases) {
    ui::HeadlessWindowSystem windows({{1920, 1080}, c.factor, c.dpi});
    ui::HeadlessMessageFilter filter;
    TempDir dir;
    SimCadServices cad(nullptr);
    ui::HeadlessPictures pictures;
    ShellServices services{windows,           filter,         SystemProfileStore(),      SystemFiles(),
                           SystemAnsiCodec(), UserCollator(), dir.PathOf("plyscan.exe"), cad.services,
                           cad.screen,        pictures};
    MainWindow main(services);
    main.Create();
    EXPECT_DOUBLE_EQ(main.display_scale, c.expected) << c.dpi;
  }
}

class Exit : public ShellTest {};

TEST_F(Exit, WritesTheNineValuesInOrderToAFreshFile) {
  dir.Write(Ini(), "[Target]\r\nProgID=X.Application\r\n");
  Start();
  main->background_field.UserSetText(u"1,2,3");
  main->zoom_extents_box.UserSetChecked(true);
  main->fit_layer_box.UserSetChecked(true);
  MainForm().SetWindowRect(Rect::Sized(-40, 70, 700, 500));
  ASSERT_TRUE(SystemFiles().Remove(dir.PathOf(Ini())).ok);
  main->ShutDown();
  EXPECT_EQ(dir.Read(Ini()),
            "[PLYSCAN]\r\nWidth=700\r\nHeight=500\r\nLeft=-40\r\nTop=70\r\nBkgColor=1,2,3\r\nMono=0\r\nZoomExt=1\r\n"
            "FitLayer=1\r\n[Target]\r\nProgID=X.Application\r\n");
  EXPECT_FALSE(filter.Registered());
  EXPECT_TRUE(windows.errors.empty());
}

TEST_F(Exit, AMinimisedWindowSavesItsNormalPlaceAndTheNextStartRestoresIt) {
  Start();
  MainForm().SetWindowRect(Rect::Sized(30, 40, 900, 500));
  MainForm().Minimise();
  main->ShutDown();

  Start();
  EXPECT_EQ(MainForm().WindowRect(), Rect::Sized(30, 40, 900, 500));
}

TEST_F(Exit, ReleasesEveryThumbnail) {
  Start();
  ResizeSnapshot(main->snapshot, 2);
  main->snapshot[0].thumbnail = std::make_unique<Bitmap>(SystemSurfaces());
  main->snapshot[1].thumbnail = std::make_unique<Bitmap>(SystemSurfaces());
  main->ShutDown();
  EXPECT_FALSE(main->snapshot[0].thumbnail);
  EXPECT_FALSE(main->snapshot[1].thumbnail);
}

TEST(ExitFailure, AnUnwritableSettingsFileIsReportedWithAFullStop) {
  ui::HeadlessWindowSystem windows;
  ui::HeadlessMessageFilter filter;
  TempDir dir;
  const Text exe = dir.PathOf("missing-folder") + u"/plyscan.exe";
  SimCadServices cad(nullptr);
  ui::HeadlessPictures pictures;
  ShellServices services{windows,        filter, SystemProfileStore(), SystemFiles(), SystemAnsiCodec(),
                         UserCollator(), exe,    cad.services,         cad.screen,    pictures};
  MainWindow main(services);
  main.Create();
  main.ShutDown();
  ASSERT_EQ(windows.errors.size(), 1u);
  EXPECT_EQ(windows.errors[0], SettingsPathFor(exe) + u" に書き込めません.");
}

TEST_F(StartUp, DroppedFilesAreReadAndReleasedAndChangeNothing) {
  Start();
  const Text caption = main->Window().Caption();
  ui::HeadlessDrop drop({u"a.dwg", Text(300, u'x')});
  main->TakeDroppedFiles(drop);
  EXPECT_TRUE(drop.Finished());
  EXPECT_EQ(main->Window().Caption(), caption);
  EXPECT_TRUE(windows.errors.empty());
}

TEST_F(StartUp, TheCadButtonLiftsTheDialogAboveTheMainWindowWhileItIsOpen) {
  Start();
  bool main_topmost_while_open = true;
  bool dialog_topmost_while_open = false;
  windows.modal_user = [&](ui::Form&) {
    main_topmost_while_open = MainForm().Topmost();
    dialog_topmost_while_open = DialogWindow().Topmost();
  };
  main->Window().Click(main->target_button);
  using Change = ui::HeadlessWindowSystem::StackingChange;
  const std::vector<Change> expected{{u"TForm60", ui::Stacking::kNotTopmost},
                                     {u"TTargetCADForm", ui::Stacking::kTopmost},
                                     {u"TTargetCADForm", ui::Stacking::kNotTopmost},
                                     {u"TForm60", ui::Stacking::kTopmost}};
  EXPECT_EQ(windows.stacking_log, expected);
  EXPECT_FALSE(main_topmost_while_open);
  EXPECT_TRUE(dialog_topmost_while_open);
  EXPECT_EQ(DialogWindow().Showings(), 1);
  EXPECT_FALSE(DialogWindow().Visible());
}

TEST(ErrorReport, AppendsAFullStopAfterACharacterAboveIt) {
  const struct {
    const char16_t* message;
    const char16_t* shown;
  } cases[] = {{u"abc", u"abc."},   {u"ません", u"ません."}, {u"a/", u"a/."}, {u"done.", u"done."},
               {u"a-", u"a-"},      {u"(-1)", u"(-1)"},     {u"x ", u"x "}, {u"", u""}};
  for (const auto& c : cases) EXPECT_EQ(ui::ErrorReportText(c.message), c.shown);
}

}  // namespace
}  // namespace plyscan::testing
