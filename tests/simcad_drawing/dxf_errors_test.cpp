// A malformed file gives a DxfError with the line where the fault is, never a crash.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "dxf_text.h"
#include "simcad/drawing/drawing.h"
#include "support/shared_files.h"

namespace simcad {
namespace {

using testing::operator+;

struct MalformedCase {
  const char* what;
  std::string text;
  std::size_t line;
  const char* says;
};

TEST(DxfErrors, MalformedFilesNameTheLine) {
  using namespace std::string_literals;
  const std::vector<MalformedCase> cases = {
      {"odd number of lines", "0\nSECTION\n2\nENTITIES\n0\nENDSEC\n0\n", 7, "no value"},
      {"group code not a number", "0\nSECTION\n2\nENTITIES\nXY\nLINE\n0\nENDSEC\n", 5, "group code expected"},
      {"blank group code", "0\nSECTION\n2\nENTITIES\n\nLINE\n0\nENDSEC\n", 5, "group code expected"},
      {"section never closed", "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n", 8, "ENDSEC"},
      {"section opened inside a section", "0\nSECTION\n2\nHEADER\n0\nSECTION\n2\nENTITIES\n0\nENDSEC\n", 5, "ENDSEC"},
      {"binary DXF", "AutoCAD Binary DXF\r\n\x1a\0\x00\x01"s, 1, "binary"},
      {"number that is not one", "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n1.5.3\n0\nENDSEC\n", 10, "number"},
      {"integer that is not one", "0\nSECTION\n2\nTABLES\n0\nLAYER\n2\nA\n70\nx\n0\nENDSEC\n", 10, "integer"},
      {"pairs outside a section", "999\nhello\n", 1, "SECTION expected"},
      {"empty file", "", 1, "empty"},
  };
  for (const MalformedCase& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      (void)LoadDxf(c.text);
      ADD_FAILURE() << "loaded without an error";
    } catch (const DxfError& error) {
      EXPECT_EQ(error.Line(), c.line) << error.what();
      EXPECT_NE(std::string(error.what()).find(c.says), std::string::npos) << error.what();
      EXPECT_EQ(std::string(error.what()).rfind("line " + std::to_string(c.line) + ": ", 0), 0u) << error.what();
    }
  }
}

// Every prefix of a file either loads or fails with a DxfError.
void ExpectEveryCutIsHandled(const std::string& text, std::size_t step) {
  for (std::size_t cut = 0; cut < text.size(); cut += step) {
    try {
      (void)LoadDxf(std::string_view(text).substr(0, cut));
    } catch (const DxfError& error) {
      EXPECT_GE(error.Line(), 1u);
    }
  }
}

TEST(DxfErrors, TruncatedFilesNeverCrash) {
  testing::DxfFile file;
  file.layers = testing::LayerEntry("0", 7) + testing::LayerEntry("A", -2, 1);
  file.blocks = testing::Pairs{{0, "BLOCK"}, {2, "B"}, {10, "0"}, {20, "0"}} + testing::LineRecord("0", 0, 0, 1, 1) +
                testing::Pairs{{0, "ENDBLK"}};
  file.entities = testing::LineRecord("A", 0, 0, 5, 5) +
                  testing::Pairs{{0, "INSERT"}, {8, "A"}, {2, "B"}, {10, "1"}, {20, "1"},
                                 {0, "HATCH"}, {8, "A"}, {91, "1"}, {92, "2"}, {72, "1"}, {73, "1"}, {93, "3"},
                                 {10, "0"}, {20, "0"}, {42, "0.5"}, {10, "1"}, {20, "0"}, {10, "1"}, {20, "1"}};
  ExpectEveryCutIsHandled(file.Text(), 1);
}

TEST(DxfErrors, TruncatedSharedDrawingNeverCrashes) {
  PLYSCAN_REQUIRE_SHARED_DRAWINGS(folder);
  std::ifstream in(folder / "ASCII_R12.dxf", std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  ASSERT_FALSE(text.empty());
  ExpectEveryCutIsHandled(text, 7);
}

TEST(DxfErrors, SelfReferencingBlocksStopExpanding) {
  testing::DxfFile file;
  file.layers = testing::LayerEntry("0", 7);
  file.blocks = testing::Pairs{{0, "BLOCK"}, {2, "LOOP"}, {10, "0"}, {20, "0"}} + testing::LineRecord("0", 0, 0, 1, 0) +
                testing::Pairs{{0, "INSERT"}, {8, "0"}, {2, "LOOP"}, {10, "1"}, {20, "0"}, {0, "ENDBLK"}};
  file.entities = testing::Pairs{{0, "INSERT"}, {8, "0"}, {2, "LOOP"}, {10, "0"}, {20, "0"}};
  const Drawing d = LoadDxf(file.Text());
  ASSERT_EQ(d.entities.size(), 1u);
  EXPECT_GT(d.entities[0].parts.size(), 1u);
  EXPECT_LT(d.entities[0].parts.size(), 100u);
}

}  // namespace
}  // namespace simcad
