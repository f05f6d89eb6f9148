// Whole-file access over CreateFileW, ReadFile and WriteFile. Errors carry
// FormatMessageW's text for the error code, without its closing line break.
#include <windows.h>

#include <algorithm>

#include "base/files.h"
#include "base/platform.h"
#include "win32/scoped_handles.h"
#include "win32/wide_text.h"

namespace plyscan {

namespace {

using win32::UniqueFile;
using win32::Wide;

FileResult LastError() { return {false, win32::SystemErrorText(GetLastError())}; }

constexpr DWORD kChunk = 1u << 24;

class Win32FileSystem final : public FileSystem {
 public:
  bool Exists(const Text& path) override {
    const DWORD attributes = GetFileAttributesW(Wide(path));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  }

  FileResult ReadAll(const Text& path, std::string& bytes) override {
    UniqueFile file(CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return LastError();
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size)) return LastError();
    std::string content;
    content.reserve(static_cast<std::size_t>(size.QuadPart));
    std::string chunk(kChunk, '\0');
    for (;;) {
      DWORD got = 0;
      if (!ReadFile(file.Get(), chunk.data(), kChunk, &got, nullptr)) return LastError();
      if (got == 0) break;
      content.append(chunk.data(), got);
    }
    bytes = std::move(content);
    return {};
  }

  FileResult WriteAll(const Text& path, const std::string& bytes) override {
    UniqueFile file(CreateFileW(Wide(path), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return LastError();
    std::size_t done = 0;
    while (done < bytes.size()) {
      const DWORD part = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, kChunk));
      DWORD put = 0;
      if (!WriteFile(file.Get(), bytes.data() + done, part, &put, nullptr)) return LastError();
      done += put;
    }
    if (!file.Close()) return LastError();  // now, so that a failed last write is seen
    return {};
  }

  FileResult Remove(const Text& path) override {
    if (!DeleteFileW(Wide(path))) return LastError();
    return {};
  }
};

}  // namespace

FileSystem& SystemFiles() {
  static Win32FileSystem files;
  return files;
}

}  // namespace plyscan
