#include <gtest/gtest.h>

#include <cstdint>
#include <set>

#include "sim_fixture.h"
#include "support/temp_dir.h"

namespace simcad::testing {
namespace {

std::uint32_t Le32(const std::string& b, std::size_t at) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

// The distinct colours of a 24-bit bottom-up BMP's pixels.
std::set<std::uint32_t> Colours(const std::string& bmp) {
  const std::uint32_t offset = Le32(bmp, 10), width = Le32(bmp, 18), height = Le32(bmp, 22);
  const std::size_t stride = (width * 3 + 3) / 4 * 4;
  std::set<std::uint32_t> colours;
  for (std::uint32_t y = 0; y < height; ++y)
    for (std::uint32_t x = 0; x < width; ++x) {
      const std::size_t at = offset + y * stride + x * 3;
      colours.insert(static_cast<std::uint32_t>(static_cast<unsigned char>(bmp[at])) |
                     static_cast<std::uint32_t>(static_cast<unsigned char>(bmp[at + 1])) << 8 |
                     static_cast<std::uint32_t>(static_cast<unsigned char>(bmp[at + 2])) << 16);
    }
  return colours;
}

const std::u16string kExport = u"_BMPOUT\r/tmp/view.bmp\r\r";

TEST(BmpOut, WritesTheViewAsA24BitBmpWhenFilediaIsZero) {
  Session s;
  s.cad->ZoomExtents();
  s.cad->SendCommand(u"(setvar \"FILEDIA\" 0)(princ)\r");
  s.cad->SendCommand(kExport);
  ASSERT_EQ(s.files->files.count(u"/tmp/view.bmp"), 1u);
  const std::string& bmp = s.files->files[u"/tmp/view.bmp"];
  ASSERT_GE(bmp.size(), 54u);
  EXPECT_EQ(bmp.substr(0, 2), "BM");
  EXPECT_EQ(Le32(bmp, 18), 800u);  // the screen's size
  EXPECT_EQ(Le32(bmp, 22), 400u);
  EXPECT_EQ(Le32(bmp, 28) & 0xFFFF, 24u);
  EXPECT_EQ(bmp.size(), Le32(bmp, 10) + 800u * 3 * 400);
  EXPECT_GT(Colours(bmp).size(), 1u) << "the drawing should show on its background";

  // With every layer off the picture is the bare background.
  s.cad->SendCommand(u"(setvar \"EXPERT\" 5)(command \"-LAYER\" \"OF\" \"*\" \"\")(princ)\r");
  s.cad->SendCommand(kExport);
  EXPECT_EQ(Colours(s.files->files[u"/tmp/view.bmp"]).size(), 1u);
  EXPECT_FALSE(s.cad->GetCommandLine().Active());
}

TEST(BmpOut, WritesNothingWhenFilediaIsOne) {
  Session s;
  s.cad->SendCommand(kExport);
  EXPECT_TRUE(s.files->files.empty());
  EXPECT_FALSE(s.cad->GetCommandLine().Active());
  EXPECT_TRUE(s.cad->History().Contains(u"FILEDIA"));
}

TEST(BmpOut, AddsTheExtensionAndTakesAQuotedNameWithBlanks) {
  Session s;
  s.cad->SendCommand(u"(setvar \"FILEDIA\" 0)(princ)\r");
  s.cad->SendCommand(u"_BMPOUT\r/tmp/plain\r\r");
  s.cad->SendCommand(u"(command \"_BMPOUT\" \"/tmp/two words.bmp\" \"\")(princ)\r");
  s.cad->SendCommand(u"_BMPOUT \"/tmp/quoted name.bmp\" \r");
  EXPECT_EQ(s.files->files.count(u"/tmp/plain.bmp"), 1u);
  EXPECT_EQ(s.files->files.count(u"/tmp/two words.bmp"), 1u);
  EXPECT_EQ(s.files->files.count(u"/tmp/quoted name.bmp"), 1u);
}

TEST(BmpOut, WritesARealFileThroughTheDisk) {
  plyscan::testing::TempDir dir;
  auto cad = std::make_shared<SimCad>(SmallDrawing());  // the default writer: the disk
  cad->SendCommand(u"(setvar \"FILEDIA\" 0)(princ)\r");
  cad->SendCommand(u"_BMPOUT\r" + dir.PathOf("export.bmp") + u"\r\r");
  const std::string bytes = dir.Read("export.bmp");
  EXPECT_EQ(bytes.substr(0, 2), "BM");
  EXPECT_EQ(Le32(bytes, 2), bytes.size());
}

TEST(BmpOut, ReportsAFileThatCannotBeWritten) {
  Session s;
  s.files->refuse = true;
  s.cad->SendCommand(u"(setvar \"FILEDIA\" 0)(princ)\r");
  s.cad->SendCommand(kExport);
  EXPECT_TRUE(s.cad->History().Contains(u"Unable to write file"));
}

}  // namespace
}  // namespace simcad::testing
