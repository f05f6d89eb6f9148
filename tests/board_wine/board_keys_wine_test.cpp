// The board from the real keyboard under Wine, against simcad.exe: Enter and
// Shift+Enter change the drawing, Esc in the middle of a capture leaves it
// as it was, Ctrl+S writes a PNG of the whole board through the system's
// save dialog, and Ctrl+Shift+C puts the layer table on the clipboard.
#include <windows.h>
#include <wincodec.h>

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <thread>

#include "base/platform.h"
#include "board/cell_painter.h"
#include "live_window_test.h"
#include "support/top_level_windows.h"
#include "win32/com_ptr.h"

namespace plyscan::testing {
namespace {

class BoardKeysWine : public LiveWindowTest {
 protected:
  // The board filled as after a capture, in front with the keyboard.
  void FocusedBoard() {
    FillBoard();
    SetForegroundWindow(live->Form());
    Main().grid.Focus();
    const HWND grid = live->Control(ui::main_controls::kBoard);
    ASSERT_TRUE(Pump([&] { return GetFocus() == grid && GetForegroundWindow() == live->Form(); }));
    ASSERT_TRUE(PumpUntilPainted());
  }
};

TEST_F(BoardKeysWine, EnterAndShiftEnterChangeTheDrawing) {
  Start({u"--demo"});
  FocusedBoard();
  PressKey(VK_RIGHT);
  PressKey(VK_RETURN);
  const Text first = Main().snapshot[1].name;
  ASSERT_TRUE(Pump([&] { return ShownLayers() == std::vector<Text>{first}; })) << "Enter";
  PressKey(VK_DOWN);  // row 1, column 1: record 4
  PressKey(VK_RETURN, true);
  const Text second = Main().snapshot[4].name;
  EXPECT_TRUE(Pump([&] {
    const auto on = ShownLayers();
    return on.size() == 2 && std::find(on.begin(), on.end(), first) != on.end() &&
           std::find(on.begin(), on.end(), second) != on.end();
  })) << "Shift+Enter";
}

TEST_F(BoardKeysWine, CtrlCPutsThePictureOnTheClipboardOwnedByTheWindow) {
  Start({u"--demo"});
  FocusedBoard();
  ASSERT_TRUE(OpenClipboard(nullptr) && EmptyClipboard() && CloseClipboard());
  PressKey('C', false, true);
  // Owned by the main window: a clipboard emptied to no owner refuses the data on Windows.
  EXPECT_TRUE(Pump([&] { return IsClipboardFormatAvailable(CF_DIB) && GetClipboardOwner() == live->Form(); },
                   std::chrono::seconds(20)))
      << "owner " << GetClipboardOwner();
  EXPECT_EQ(MessageBoxes(), 0u);
}

// The clipboard's Unicode text, or nothing when it holds none.
std::optional<std::wstring> ClipboardText() {
  if (!OpenClipboard(nullptr)) return std::nullopt;
  std::optional<std::wstring> text;
  if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = std::wstring(chars);
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

TEST_F(BoardKeysWine, CtrlShiftCPutsTheLayerTableOnTheClipboardAsText) {
  Start({u"--demo"});
  FocusedBoard();
  // Two records whose table lines are known.
  ResizeSnapshot(Main().snapshot, 2);
  LayerRecord& first = Main().snapshot[0];
  first.name = u"壁 \"A\"\t1";
  first.object_count = 1234;
  first.on = true;
  first.frozen = true;
  LayerRecord& second = Main().snapshot[1];
  second.name = u"DIM";
  second.object_count = 0;
  second.locked = true;
  Main().LayOutBoard();
  ASSERT_TRUE(OpenClipboard(nullptr) && EmptyClipboard() && CloseClipboard());
  PressKey('C', true, true);
  ASSERT_TRUE(Pump([&] { return IsClipboardFormatAvailable(CF_UNICODETEXT) && GetClipboardOwner() == live->Form(); },
                   std::chrono::seconds(20)))
      << "owner " << GetClipboardOwner();
  EXPECT_EQ(ClipboardText(), std::wstring(L"画層名\tオブジェクト数\t表示\t凍結\tロック\r\n"
                                          L"\"壁 \"\"A\"\"\t1\"\t1234\tオン\t凍結\tロック解除\r\n"
                                          L"DIM\t0\tオフ\t解凍\tロック\r\n"));
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_DIB));  // the table, not the picture
  EXPECT_EQ(MessageBoxes(), 0u);
}

TEST_F(BoardKeysWine, AClipboardAnotherProgramHoldsIsReportedInJapanese) {
  Start({u"--demo"});
  FocusedBoard();
  std::atomic<bool> held{false}, answered{false};
  std::wstring shown;
  std::thread other([&] {
    // Another program's window opens the clipboard and keeps it.
    if (!OpenClipboard(nullptr)) return;
    held = true;
    for (const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
         !answered && std::chrono::steady_clock::now() < end;) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      const std::vector<HWND> boxes = TopLevelWindows(GetCurrentProcessId(), L"#32770", true);
      if (boxes.empty()) continue;
      wchar_t text[512] = {};
      GetDlgItemTextW(boxes.front(), 0xFFFF, text, 512);
      shown = text;
      PostMessageW(boxes.front(), WM_COMMAND, IDOK, 0);
      answered = true;
    }
    CloseClipboard();
  });
  ASSERT_TRUE(Pump([&] { return held.load(); }, std::chrono::seconds(10)));
  PressKey('C', false, true);
  const bool reported = Pump([&] { return answered.load(); }, std::chrono::seconds(40));
  other.join();
  ASSERT_TRUE(reported) << "no message box";
  // As the other failures are reported: the default error report adds its full stop.
  EXPECT_EQ(shown, L"クリップボードに画像をコピーできません。ほかのプログラムがクリップボードを使用しています.");
}

TEST_F(BoardKeysWine, EscDuringACaptureLeavesTheDrawingAsItWas) {
  Start({u"--demo", u"--screen", u"640x400", u"--delay", u"SendCommand=300"});
  const std::vector<Text> before = ShownLayers();
  std::thread user([&] {
    // The save and the first layer's text are through: the CAD is in front
    // (the capture brought it there). Esc there, held until the run has
    // put the drawing back.
    while (live->LogLines("\"member\":\"SendCommand\"") < 2) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    HoldKeyUntil(VK_ESCAPE, [&] { return live->LogLines("layerstate-restore") > 0; });
  });
  SetForegroundWindow(live->Form());
  const bool ended = CaptureAndWait(std::chrono::seconds(60));
  user.join();
  ASSERT_TRUE(ended);
  EXPECT_EQ(ShownLayers(), before);
  EXPECT_GT(Pictures(), 0u);
  EXPECT_LT(Pictures(), Main().snapshot.size());
  EXPECT_FALSE(Main().progress_bar.Visible());
}

// The PNG's size and its pixels as 24-bit BGR rows, read with the system's decoder.
struct Png {
  UINT width = 0, height = 0;
  std::vector<BYTE> bgr;
  COLORREF At(UINT x, UINT y) const {
    const BYTE* p = bgr.data() + (static_cast<std::size_t>(y) * width + x) * 3;
    return RGB(p[2], p[1], p[0]);
  }
};

Png ReadPng(const std::wstring& path) {
  Png png;
  win32::ComPtr<IWICImagingFactory> factory;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              reinterpret_cast<void**>(factory.Put()))))
    return png;
  win32::ComPtr<IWICBitmapDecoder> decoder;
  win32::ComPtr<IWICBitmapFrameDecode> frame;
  win32::ComPtr<IWICFormatConverter> converter;
  if (FAILED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                decoder.Put())) ||
      FAILED(decoder->GetFrame(0, frame.Put())) || FAILED(factory->CreateFormatConverter(converter.Put())) ||
      FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat24bppBGR, WICBitmapDitherTypeNone, nullptr, 0,
                                   WICBitmapPaletteTypeCustom)))
    return png;
  converter->GetSize(&png.width, &png.height);
  png.bgr.resize(static_cast<std::size_t>(png.width) * png.height * 3);
  converter->CopyPixels(nullptr, png.width * 3, static_cast<UINT>(png.bgr.size()), png.bgr.data());
  return png;
}

TEST_F(BoardKeysWine, CtrlSWritesAPngOfTheWholeBoard) {
  Start({u"--demo"});
  FocusedBoard();
  const std::wstring path = live->dir.Root().wstring() + L"\\\\board.png";
  std::atomic<bool> answered{false};
  std::thread user([&] {
    // The save dialog: the file's name typed in, then Save.
    // The save dialog is the one the main window owns, not any dialog on the desktop.
    HWND dialog = nullptr;
    for (const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
         !dialog && std::chrono::steady_clock::now() < end;) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      for (HWND found = FindWindowW(L"#32770", nullptr); found && !dialog;
           found = FindWindowExW(nullptr, found, L"#32770", nullptr))
        if (IsWindowVisible(found) && GetWindow(found, GW_OWNER) == live->Form()) dialog = found;
    }
    if (!dialog) return;
    for (const int field : {1148, 1152}) SetDlgItemTextW(dialog, field, path.c_str());  // cmb13, edt1
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    answered = true;
  });
  PressKey('S', false, true);
  const bool saved = Pump([&] { return answered && GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; });
  user.join();
  ASSERT_TRUE(saved) << "no PNG at the path given in the save dialog";

  const Png png = ReadPng(path);
  // The demo's 13 layers in the board's 3 columns of 200 x 140 (at 96 dpi):
  // 5 rows, with one-pixel lines between the cells.
  const std::size_t records = Main().snapshot.size();
  ASSERT_EQ(records, 13u);
  ASSERT_EQ(Main().grid.ColCount(), 3);
  ASSERT_EQ(png.width, 602u);
  ASSERT_EQ(png.height, 704u);
  for (std::size_t i = 0; i < records; ++i) {
    const UINT left = static_cast<UINT>(i % 3) * 201;
    const UINT top = static_cast<UINT>(i / 3) * 141;
    EXPECT_EQ(png.At(left + 3, top + 3), static_cast<COLORREF>(i ? board::kBarColour : board::kEmptyBarColour)) << i;
    EXPECT_EQ(png.At(left + 10, top + 20 + 10), RGB(0, 0xFF, 0)) << i;  // the thumbnail's own pixel
  }
}

}  // namespace
}  // namespace plyscan::testing
