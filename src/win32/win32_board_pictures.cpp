#include "win32/win32_board_pictures.h"

#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>
#include <wincodec.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "base/platform.h"
#include "win32/com_ptr.h"
#include "win32/dib_info.h"
#include "win32/gdi_canvas.h"
#include "win32/scoped_dib.h"
#include "win32/scoped_handles.h"
#include "win32/wide_text.h"

namespace plyscan::win32 {

namespace {

FileResult Failed(DWORD code) { return {false, SystemErrorText(code)}; }

// The memory in `format` as the clipboard's only content, owned by `owner`.
FileResult PutOnClipboard(HWND owner, UINT format, UniqueGlobal& memory) {
  const OpenedClipboard clipboard(owner);
  // Another program that has the clipboard open keeps it until it closes
  // it; the copy then fails at once.
  if (!clipboard.Open()) return {false, u"ほかのプログラムがクリップボードを使用しています"};
  if (!EmptyClipboard() || !SetClipboardData(format, memory.Get())) return Failed(GetLastError());
  static_cast<void>(memory.Release());  // the clipboard owns the memory now
  return {};
}

}  // namespace

Bitmap Win32BoardPictures::Paint(std::int32_t width, std::int32_t height, std::int32_t band_height,
                                 const std::function<void(Canvas&, std::int32_t band_top)>& paint) {
  Bitmap picture(SystemSurfaces());
  picture.SetPixelFormat(24);
  picture.SetSize(width, height);
  band_height = std::clamp(band_height, 1, std::max(1, height));
  ScopedDib band(width, band_height, 24);
  for (std::int32_t top = 0; top < height; top += band_height) {
    const RECT all{0, 0, width, band_height};
    FillRect(band.Dc(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    {
      GdiCanvas canvas(band.Dc());
      paint(canvas, top);
    }
    GdiFlush();
    const std::int32_t rows = std::min(band_height, height - top);
    const std::uint8_t* bits = band.Bits();
    for (std::int32_t y = 0; y < rows; ++y)
      std::memcpy(picture.Row(top + y), bits + static_cast<std::size_t>(y) * picture.Stride(), picture.Stride());
  }
  return picture;
}

FileResult Win32BoardPictures::CopyToClipboard(const Bitmap& picture) {
  // CF_DIB: the header and the rows bottom-up, as every program reads them.
  const std::size_t image = picture.Stride() * static_cast<std::size_t>(picture.Height());
  UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, sizeof(BITMAPINFOHEADER) + image));
  if (!memory) return Failed(GetLastError());
  {
    const GlobalLocked locked(memory.Get());
    auto* header = static_cast<BITMAPINFOHEADER*>(locked.Data());
    if (!header) return Failed(GetLastError());
    *header = DibInfoOf(picture).bmiHeader;
    header->biHeight = picture.Height();
    header->biSizeImage = static_cast<DWORD>(image);
    auto* rows = reinterpret_cast<std::uint8_t*>(header + 1);
    for (int y = 0; y < picture.Height(); ++y)
      std::memcpy(rows + static_cast<std::size_t>(picture.Height() - 1 - y) * picture.Stride(), picture.Row(y),
                  picture.Stride());
  }
  return PutOnClipboard(owner_, CF_DIB, memory);
}

FileResult Win32BoardPictures::CopyTextToClipboard(TextView text) {
  // CF_UNICODETEXT: UTF-16 ended by a null character.
  const std::size_t bytes = (text.size() + 1) * sizeof(char16_t);
  UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
  if (!memory) return Failed(GetLastError());
  {
    const GlobalLocked locked(memory.Get());
    auto* characters = static_cast<char16_t*>(locked.Data());
    if (!characters) return Failed(GetLastError());
    std::memcpy(characters, text.data(), text.size() * sizeof(char16_t));
    characters[text.size()] = u'\0';
  }
  return PutOnClipboard(owner_, CF_UNICODETEXT, memory);
}

std::optional<Text> Win32BoardPictures::AskSavePath(TextView file_name) {
  std::wstring path(WideView(file_name));
  path.resize(32768, L'\0');
  std::wstring folder;
  PWSTR pictures = nullptr;
  const HRESULT found = SHGetKnownFolderPath(FOLDERID_Pictures, 0, nullptr, &pictures);
  const UniqueCoTaskMemory pictures_memory(pictures);  // allocated even where the call fails
  if (SUCCEEDED(found)) folder = pictures;
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner_ ? owner_ : GetActiveWindow();
  dialog.lpstrFilter = L"PNG (*.png)\0*.png\0";
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = static_cast<DWORD>(path.size());
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  dialog.lpstrDefExt = L"png";
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER;
  if (!GetSaveFileNameW(&dialog)) return std::nullopt;
  path.resize(std::wcslen(path.c_str()));
  return FromWide(path);
}

FileResult Win32BoardPictures::SavePng(const Bitmap& picture, const Text& path) {
  const wchar_t* file = Wide(path);
  const auto result = [&]() -> HRESULT {
    ComPtr<IWICImagingFactory> factory;
    HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                  reinterpret_cast<void**>(factory.Put()));
    ComPtr<IWICStream> stream;
    if (SUCCEEDED(hr)) hr = factory->CreateStream(stream.Put());
    if (SUCCEEDED(hr)) hr = stream->InitializeFromFilename(file, GENERIC_WRITE);
    ComPtr<IWICBitmapEncoder> encoder;
    if (SUCCEEDED(hr)) hr = factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Put());
    if (SUCCEEDED(hr)) hr = encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache);
    ComPtr<IWICBitmapFrameEncode> frame;
    if (SUCCEEDED(hr)) hr = encoder->CreateNewFrame(frame.Put(), nullptr);
    if (SUCCEEDED(hr)) hr = frame->Initialize(nullptr);
    if (SUCCEEDED(hr)) hr = frame->SetSize(static_cast<UINT>(picture.Width()), static_cast<UINT>(picture.Height()));
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (SUCCEEDED(hr)) hr = frame->SetPixelFormat(&format);
    if (SUCCEEDED(hr) && !IsEqualGUID(format, GUID_WICPixelFormat24bppBGR)) hr = WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT;
    // The rows go to the encoder straight from the picture's memory, a band at a time.
    const UINT stride = static_cast<UINT>(picture.Stride());
    for (int y = 0; SUCCEEDED(hr) && y < picture.Height(); y += 256) {
      const UINT lines = static_cast<UINT>(std::min(256, picture.Height() - y));
      hr = frame->WritePixels(lines, stride, stride * lines, const_cast<BYTE*>(picture.Row(y)));
    }
    if (SUCCEEDED(hr)) hr = frame->Commit();
    if (SUCCEEDED(hr)) hr = encoder->Commit();
    return hr;
  }();
  if (SUCCEEDED(result)) return {};
  DeleteFileW(file);  // no half-written picture stays behind
  return Failed(static_cast<DWORD>(HRESULT_FACILITY(result) == FACILITY_WIN32 ? HRESULT_CODE(result) : result));
}

}  // namespace plyscan::win32
