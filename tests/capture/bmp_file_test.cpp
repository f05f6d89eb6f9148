// The headless bitmap file reader: the formats a CAD's export may write, rows
// in either direction, and files it refuses.
#include "capture/bmp_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/failure.h"
#include "base/platform.h"

namespace plyscan {
namespace {

void Put16(std::string& s, std::uint32_t v) {
  s.push_back(static_cast<char>(v & 0xFF));
  s.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(std::string& s, std::uint32_t v) {
  Put16(s, v & 0xFFFF);
  Put16(s, v >> 16);
}

// A file with a header of `header_size` bytes (40, 108 or 124), then
// `extra` (masks or palette), then the rows as given.
std::string File(std::int32_t width, std::int32_t height, int bits, std::uint32_t compression,
                 const std::string& extra, const std::string& rows, std::uint32_t header_size = 40) {
  std::string s = "BM";
  const std::uint32_t offset = 14 + header_size + static_cast<std::uint32_t>(extra.size());
  Put32(s, offset + static_cast<std::uint32_t>(rows.size()));
  Put32(s, 0);
  Put32(s, offset);
  Put32(s, header_size);
  Put32(s, static_cast<std::uint32_t>(width));
  Put32(s, static_cast<std::uint32_t>(height));
  Put16(s, 1);
  Put16(s, static_cast<std::uint32_t>(bits));
  Put32(s, compression);
  for (std::uint32_t i = 20; i < header_size; i += 4) Put32(s, 0);
  return s + extra + rows;
}

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s.push_back(static_cast<char>(v));
  return s;
}

TEST(ReadBmpFile, ReadsTheFormatsAnExportWrites) {
  // 2 x 2 pictures: red, green / blue, white (top row first in the checks).
  const struct {
    const char* what;
    std::string file;
  } cases[] = {
      {"24 bits, bottom-up",
       File(2, 2, 24, 0, "", Bytes({0xFF, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0}) + Bytes({0, 0, 0xFF, 0, 0xFF, 0, 0, 0}))},
      {"32 bits, top-down", File(2, -2, 32, 0, "",
                                 Bytes({0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0}))},
      {"8 bits with a palette",
       File(2, 2, 8, 0, Bytes({0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0}),
            Bytes({2, 3, 0, 0}) + Bytes({0, 1, 0, 0}))},
      {"16 bits, 5-6-5 bit fields", File(2, 2, 16, 3, Bytes({0, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0}),
                                         Bytes({0x1F, 0, 0xFF, 0xFF}) + Bytes({0, 0xF8, 0xE0, 0x07}))},
      {"32 bits, a V5 header", File(2, -2, 32, 0, "",
                                    Bytes({0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0}), 124)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const Bitmap b = ReadBmpFile(c.file, SystemSurfaces());
    ASSERT_EQ(b.Width(), 2);
    ASSERT_EQ(b.Height(), 2);
    EXPECT_EQ(b.BitsPerPixel(), 32);
    EXPECT_EQ(b.Pixel(0, 0), 0x0000FF);
    EXPECT_EQ(b.Pixel(1, 0), 0x00FF00);
    EXPECT_EQ(b.Pixel(0, 1), 0xFF0000);
    EXPECT_EQ(b.Pixel(1, 1), 0xFFFFFF);
  }
}

TEST(ReadBmpFile, ReadsOneBitRowsMostSignificantBitFirst) {
  const std::string file = File(10, 1, 1, 0, Bytes({0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0}), Bytes({0x80, 0x40, 0, 0}));
  const Bitmap b = ReadBmpFile(file, SystemSurfaces());
  EXPECT_EQ(b.Pixel(0, 0), 0xFFFFFF);
  EXPECT_EQ(b.Pixel(1, 0), 0);
  EXPECT_EQ(b.Pixel(9, 0), 0xFFFFFF);
}

TEST(ReadBmpFile, RefusesWhatIsNoBitmapItCanRead) {
  const std::string good = File(2, 2, 24, 0, "", std::string(16, '\0'));
  const struct {
    const char* what;
    std::string file;
  } cases[] = {
      {"empty", ""},
      {"no signature", "XX" + good.substr(2)},
      {"pixels cut short", good.substr(0, good.size() - 1)},
      {"RLE", File(2, 2, 8, 1, std::string(1024, '\0'), std::string(16, '\0'))},
      {"no width", File(0, 2, 24, 0, "", std::string(16, '\0'))},
      {"a huge height", File(2, 1 << 30, 24, 0, "", std::string(16, '\0'))},
      {"a palette past the end", File(2, 2, 8, 0, "", "")},
      {"an unknown header", File(2, 2, 24, 0, "", std::string(16, '\0'), 64 + 128)},
      {"an offset past the end", [&] {
         std::string f = good;
         f[10] = '\x7F';
         return f;
       }()},
  };
  for (const auto& c : cases) EXPECT_THROW(static_cast<void>(ReadBmpFile(c.file, SystemSurfaces())), Failure) << c.what;
}

}  // namespace
}  // namespace plyscan
