// The system's ANSI code page (CP_ACP): MultiByteToWideChar and
// WideCharToMultiByte with their default flags, so undecodable bytes become
// the code page's default character and unencodable characters its best fit
// or "?".
#include <windows.h>

#include <algorithm>
#include <limits>

#include "base/ansi_codec.h"
#include "base/platform.h"
#include "win32/wide_text.h"

namespace plyscan {

namespace {

using win32::WideBuffer;
using win32::WideView;

// The calls count in int; longer input goes in pieces. A multi-byte piece ends
// after a byte below 0x40, which is neither a lead nor a trail byte, so no
// character is cut in two.
constexpr std::size_t kPiece = 1u << 28;

std::size_t MultiBytePieceEnd(const std::string& bytes, std::size_t start) {
  const std::size_t limit = std::min(bytes.size(), start + kPiece);
  if (limit == bytes.size()) return limit;
  for (std::size_t end = limit; end > start + kPiece / 2; --end)
    if (static_cast<unsigned char>(bytes[end - 1]) < 0x40) return end;
  return limit;
}

std::size_t WidePieceEnd(TextView text, std::size_t start) {
  std::size_t end = std::min(text.size(), start + kPiece);
  if (end < text.size() && text[end - 1] >= 0xD800 && text[end - 1] <= 0xDBFF) --end;  // keep a pair together
  return end;
}

class Win32AnsiCodec final : public AnsiCodec {
 public:
  Text Decode(const std::string& bytes) override {
    Text out;
    for (std::size_t start = 0; start < bytes.size();) {
      const std::size_t end = MultiBytePieceEnd(bytes, start);
      const int in_length = static_cast<int>(end - start);
      const int length = MultiByteToWideChar(CP_ACP, 0, bytes.data() + start, in_length, nullptr, 0);
      if (length > 0) {
        const std::size_t at = out.size();
        out.resize(at + static_cast<std::size_t>(length));
        MultiByteToWideChar(CP_ACP, 0, bytes.data() + start, in_length, WideBuffer(out.data() + at), length);
      }
      start = end;
    }
    return out;
  }

  std::string Encode(TextView text) override {
    std::string out;
    for (std::size_t start = 0; start < text.size();) {
      const std::size_t end = WidePieceEnd(text, start);
      const wchar_t* chars = WideView(text).data() + start;
      const int in_length = static_cast<int>(end - start);
      const int length = WideCharToMultiByte(CP_ACP, 0, chars, in_length, nullptr, 0, nullptr, nullptr);
      if (length > 0) {
        const std::size_t at = out.size();
        out.resize(at + static_cast<std::size_t>(length));
        WideCharToMultiByte(CP_ACP, 0, chars, in_length, out.data() + at, length, nullptr, nullptr);
      }
      start = end;
    }
    return out;
  }
};

}  // namespace

AnsiCodec& SystemAnsiCodec() {
  static Win32AnsiCodec codec;
  return codec;
}

}  // namespace plyscan
