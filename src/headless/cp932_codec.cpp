// Headless ANSI code page: code page 932, as a Japanese Windows system has it.
// The tables are filled once from glibc's iconv "CP932" and then shaped to give
// what MultiByteToWideChar and WideCharToMultiByte give for code page 932:
//  - a lead byte (81-9F, E0-FC) takes the next byte with it unless that byte is
//    NUL or missing; a pair the code page does not define, and a lead byte on
//    its own, become U+30FB, the code page's default character;
//  - the single bytes 80, A0, FD, FE and FF become U+0080, U+F8F0, U+F8F1,
//    U+F8F2 and U+F8F3, and are written back as those bytes;
//  - a character is written with the bytes that read back as that character,
//    or else with the look-alike Windows picks for it (best fit: the accented
//    Latin-1 letters lose their accents, U+00A5 becomes "\", U+3094 the
//    katakana VU); anything else, each half of a surrogate pair included,
//    becomes "?".
// Checked against Wine 8's tables for every byte, byte pair and UTF-16 unit.
#include <iconv.h>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "base/ansi_codec.h"
#include "base/platform.h"

namespace plyscan {

namespace {

constexpr char16_t kDefaultChar = 0x30FB;
constexpr char kDefaultByte = '?';

// Best-fit replacements of code page 932 for characters it cannot hold.
constexpr std::uint16_t kBestFit[][2] = {
    {0x00A1, 0x21},   {0x00A2, 0x8191}, {0x00A3, 0x8192}, {0x00A5, 0x5C},   {0x00A6, 0x7C},   {0x00A9, 0x63},
    {0x00AA, 0x61},   {0x00AB, 0x81E1}, {0x00AC, 0x81CA}, {0x00AD, 0x2D},   {0x00AE, 0x52},   {0x00AF, 0x8150},
    {0x00B2, 0x32},   {0x00B3, 0x33},   {0x00B5, 0x83CA}, {0x00B7, 0x8145}, {0x00B8, 0x8143}, {0x00B9, 0x31},
    {0x00BA, 0x6F},   {0x00BB, 0x81E2}, {0x00C0, 0x41},   {0x00C1, 0x41},   {0x00C2, 0x41},   {0x00C3, 0x41},
    {0x00C4, 0x41},   {0x00C5, 0x41},   {0x00C6, 0x41},   {0x00C7, 0x43},   {0x00C8, 0x45},   {0x00C9, 0x45},
    {0x00CA, 0x45},   {0x00CB, 0x45},   {0x00CC, 0x49},   {0x00CD, 0x49},   {0x00CE, 0x49},   {0x00CF, 0x49},
    {0x00D0, 0x44},   {0x00D1, 0x4E},   {0x00D2, 0x4F},   {0x00D3, 0x4F},   {0x00D4, 0x4F},   {0x00D5, 0x4F},
    {0x00D6, 0x4F},   {0x00D8, 0x4F},   {0x00D9, 0x55},   {0x00DA, 0x55},   {0x00DB, 0x55},   {0x00DC, 0x55},
    {0x00DD, 0x59},   {0x00DE, 0x54},   {0x00DF, 0x73},   {0x00E0, 0x61},   {0x00E1, 0x61},   {0x00E2, 0x61},
    {0x00E3, 0x61},   {0x00E4, 0x61},   {0x00E5, 0x61},   {0x00E6, 0x61},   {0x00E7, 0x63},   {0x00E8, 0x65},
    {0x00E9, 0x65},   {0x00EA, 0x65},   {0x00EB, 0x65},   {0x00EC, 0x69},   {0x00ED, 0x69},   {0x00EE, 0x69},
    {0x00EF, 0x69},   {0x00F0, 0x64},   {0x00F1, 0x6E},   {0x00F2, 0x6F},   {0x00F3, 0x6F},   {0x00F4, 0x6F},
    {0x00F5, 0x6F},   {0x00F6, 0x6F},   {0x00F8, 0x6F},   {0x00F9, 0x75},   {0x00FA, 0x75},   {0x00FB, 0x75},
    {0x00FC, 0x75},   {0x00FD, 0x79},   {0x00FE, 0x74},   {0x00FF, 0x79},   {0x3094, 0x8394},
};

bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Iconv() {
    if (ok()) iconv_close(cd_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts all of `in`; nothing on any error.
  std::string Convert(std::string in) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char out[16];
    char* in_ptr = in.data();
    std::size_t in_left = in.size();
    char* out_ptr = out;
    std::size_t out_left = sizeof out;
    if (iconv(cd_, &in_ptr, &in_left, &out_ptr, &out_left) == static_cast<std::size_t>(-1) || in_left != 0)
      return {};
    return std::string(out, out_ptr);
  }

 private:
  iconv_t cd_;
};

class Cp932Codec final : public AnsiCodec {
 public:
  Cp932Codec() : pairs_(0x10000, kDefaultChar), bytes_of_(0x10000, kUnmapped) {
    single_.fill(kDefaultChar);
    for (unsigned b = 0; b < 0x80; ++b) single_[b] = static_cast<char16_t>(b);
    single_[0x80] = 0x0080;
    single_[0xA0] = 0xF8F0;
    single_[0xFD] = 0xF8F1;
    single_[0xFE] = 0xF8F2;
    single_[0xFF] = 0xF8F3;

    Iconv decoder("UTF-16LE", "CP932");
    if (decoder.ok()) {
      for (unsigned b = 0xA1; b <= 0xDF; ++b) {
        const char16_t c = DecodeOne(decoder, std::string(1, static_cast<char>(b)));
        if (c != 0) single_[b] = c;
      }
      for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
          const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
          const char16_t c = DecodeOne(decoder, std::string(pair, 2));
          if (c != 0) pairs_[(lead << 8) | trail] = c;
        }
      }
    }

    for (unsigned b = 0; b < 0x100; ++b)
      if (!IsLeadByte(static_cast<unsigned char>(b))) bytes_of_[single_[b]] = static_cast<std::uint16_t>(b);
    Iconv encoder("CP932", "UTF-16LE");
    for (unsigned c = 0x80; encoder.ok() && c < 0x10000; ++c) {
      if ((c >= 0xD800 && c <= 0xDFFF) || bytes_of_[c] != kUnmapped) continue;
      const char unit[2] = {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
      const std::string bytes = encoder.Convert(std::string(unit, 2));
      if (bytes.size() != 2 || !IsLeadByte(static_cast<unsigned char>(bytes[0]))) continue;
      const unsigned code = (static_cast<unsigned char>(bytes[0]) << 8) | static_cast<unsigned char>(bytes[1]);
      if (pairs_[code] == c) bytes_of_[c] = static_cast<std::uint16_t>(code);  // only what reads back as c
    }
    for (const auto& [c, code] : kBestFit)
      if (bytes_of_[c] == kUnmapped) bytes_of_[c] = code;
  }

  Text Decode(const std::string& bytes) override {
    Text out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      const auto b = static_cast<unsigned char>(bytes[i]);
      if (IsLeadByte(b) && i + 1 < bytes.size() && bytes[i + 1] != '\0') {
        out.push_back(pairs_[(b << 8) | static_cast<unsigned char>(bytes[++i])]);
      } else {
        out.push_back(single_[b]);
      }
    }
    return out;
  }

  std::string Encode(TextView text) override {
    std::string out;
    out.reserve(text.size() * 2);
    for (const char16_t c : text) {
      const std::uint16_t code = bytes_of_[c];
      if (code == kUnmapped) {
        out.push_back(kDefaultByte);
      } else if (code > 0xFF) {
        out.push_back(static_cast<char>(code >> 8));
        out.push_back(static_cast<char>(code & 0xFF));
      } else {
        out.push_back(static_cast<char>(code));
      }
    }
    return out;
  }

 private:
  static constexpr std::uint16_t kUnmapped = 0xFFFF;  // no pair has this code: FF is no lead byte

  // The one UTF-16 unit `bytes` decode to, or 0.
  static char16_t DecodeOne(Iconv& decoder, const std::string& bytes) {
    const std::string unit = decoder.Convert(bytes);
    if (unit.size() != 2) return 0;
    return static_cast<char16_t>(static_cast<unsigned char>(unit[0]) | (static_cast<unsigned char>(unit[1]) << 8));
  }

  std::array<char16_t, 0x100> single_;
  std::vector<char16_t> pairs_;         // indexed by lead << 8 | trail
  std::vector<std::uint16_t> bytes_of_;  // a character's byte or byte pair
};

}  // namespace

AnsiCodec& SystemAnsiCodec() {
  static Cp932Codec codec;
  return codec;
}

}  // namespace plyscan
