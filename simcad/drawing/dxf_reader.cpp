#include "simcad/drawing/dxf_reader.h"

#include <charconv>
#include <cstdint>
#include <cmath>

#include "base/text.h"

namespace simcad {
namespace {

// Windows-1252 bytes 0x80-0x9F; the five unassigned ones keep their C1 code, as Windows maps them.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

std::string Shown(std::string_view s) {
  std::string out;
  for (const char c : s.substr(0, 40)) out += (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) ? '?' : c;
  return "'" + out + (s.size() > 40 ? "...'" : "'");
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// Replaces each \U+XXXX by its character.
Text DecodeEscapes(Text text) {
  if (text.find(u"\\U+") == Text::npos) return text;
  Text out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\\' && i + 6 < text.size() && text[i + 1] == u'U' && text[i + 2] == u'+') {
      int value = 0;
      bool hex = true;
      for (std::size_t k = 3; k < 7; ++k) {
        const int digit = HexDigit(text[i + k]);
        if (digit < 0) hex = false;
        value = value * 16 + (digit < 0 ? 0 : digit);
      }
      if (hex) {
        out.push_back(static_cast<char16_t>(value));
        i += 6;
        continue;
      }
    }
    out.push_back(text[i]);
  }
  return out;
}

}  // namespace

std::vector<DxfPair> ReadDxfPairs(std::string_view bytes) {
  static constexpr std::string_view kBinarySentinel = "AutoCAD Binary DXF";
  if (bytes.substr(0, kBinarySentinel.size()) == kBinarySentinel)
    throw DxfError(1, "binary DXF is not supported; save the drawing as ASCII DXF");
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);

  std::vector<DxfPair> pairs;
  pairs.reserve(bytes.size() / 12);
  std::size_t pos = 0;
  std::size_t line = 0;
  const auto next_line = [&](std::string_view& out) {
    if (pos >= bytes.size()) return false;
    const std::size_t end = bytes.find_first_of("\r\n", pos);
    const std::size_t stop = end == std::string_view::npos ? bytes.size() : end;
    out = bytes.substr(pos, stop - pos);
    pos = stop;
    if (pos < bytes.size()) pos += (bytes[pos] == '\r' && pos + 1 < bytes.size() && bytes[pos + 1] == '\n') ? 2 : 1;
    ++line;
    return true;
  };

  std::string_view code_text;
  while (next_line(code_text)) {
    const std::string_view trimmed = Trim(code_text);
    if (trimmed.empty() && pos >= bytes.size()) break;  // a blank last line
    if (trimmed.find('\0') != std::string_view::npos)
      throw DxfError(line, "binary data where a group code was expected; not an ASCII DXF file");
    DxfPair pair;
    pair.line = line;
    const char* first = trimmed.data();
    const char* last = first + trimmed.size();
    const auto [end, ec] = std::from_chars(first, last, pair.code);
    if (trimmed.empty() || ec != std::errc() || end != last)
      throw DxfError(line, "group code expected, found " + Shown(trimmed));
    if (!next_line(pair.value))
      throw DxfError(line, "group code " + std::to_string(pair.code) + " has no value (the file ends here)");
    pairs.push_back(pair);
    if (pair.code == 0 && Trim(pair.value) == "EOF") break;
  }
  return pairs;
}

double PairDouble(const DxfPair& pair) {
  const std::string_view text = Trim(pair.value);
  double value = 0;
  const char* first = text.data();
  const char* last = first + text.size();
  if (first != last && *first == '+') ++first;
  const auto [end, ec] = std::from_chars(first, last, value);
  if (text.empty() || ec != std::errc() || end != last || !std::isfinite(value))
    throw DxfError(pair.line + 1, "number expected for group code " + std::to_string(pair.code) + ", found " +
                                      Shown(pair.value));
  return value;
}

int PairInt(const DxfPair& pair) {
  const std::string_view text = Trim(pair.value);
  long long value = 0;
  const char* first = text.data();
  const char* last = first + text.size();
  if (first != last && *first == '+') ++first;
  auto [end, ec] = std::from_chars(first, last, value);
  if (ec == std::errc() && end != last && *end == '.') {  // some writers put "1.0" for an integer
    double real = 0;
    const auto parsed = std::from_chars(first, last, real);
    if (parsed.ec == std::errc() && parsed.ptr == last && real == std::floor(real) && std::abs(real) < 2e9) {
      value = static_cast<long long>(real);
      end = last;
    }
  }
  if (text.empty() || ec != std::errc() || end != last || value < INT32_MIN || value > INT32_MAX)
    throw DxfError(pair.line + 1, "integer expected for group code " + std::to_string(pair.code) + ", found " +
                                      Shown(pair.value));
  return static_cast<int>(value);
}

DxfEncoding EncodingFor(std::string_view acadver, std::string_view codepage) {
  acadver = Trim(acadver);
  if (acadver.size() >= 6 && acadver.substr(0, 2) == "AC") {
    int version = 0;
    std::from_chars(acadver.data() + 2, acadver.data() + acadver.size(), version);
    if (version >= 1021) return DxfEncoding::Utf8;
  }
  (void)codepage;  // every ANSI code page is read as Windows-1252, the one the sample drawings use
  return DxfEncoding::Cp1252;
}

Text DecodeDxfString(std::string_view raw, DxfEncoding encoding) {
  Text text;
  if (encoding == DxfEncoding::Utf8) {
    text = plyscan::FromUtf8(raw);
  } else {
    text.reserve(raw.size());
    for (const char c : raw) {
      const auto b = static_cast<unsigned char>(c);
      text.push_back(b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : static_cast<char16_t>(b));
    }
  }
  return DecodeEscapes(std::move(text));
}

}  // namespace simcad
