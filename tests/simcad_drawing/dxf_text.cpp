#include "dxf_text.h"

#include <sstream>

namespace simcad::testing {

std::string DxfText(const Pairs& pairs, const std::string& eol) {
  std::string out;
  for (const auto& [code, value] : pairs) out += std::to_string(code) + eol + value + eol;
  return out;
}

std::string DxfFile::Text(const std::string& eol) const {
  Pairs all = {{0, "SECTION"}, {2, "HEADER"}, {9, "$ACADVER"}, {1, acadver}, {0, "ENDSEC"},
               {0, "SECTION"}, {2, "TABLES"}, {0, "TABLE"},    {2, "LAYER"}};
  all = all + layers + Pairs{{0, "ENDTAB"}, {0, "ENDSEC"}, {0, "SECTION"}, {2, "BLOCKS"}} + blocks +
        Pairs{{0, "ENDSEC"}, {0, "SECTION"}, {2, "ENTITIES"}} + entities + Pairs{{0, "ENDSEC"}, {0, "EOF"}};
  return DxfText(all, eol);
}

Pairs LayerEntry(const std::string& name, int colour, int flags) {
  return {{0, "LAYER"}, {2, name}, {70, std::to_string(flags)}, {62, std::to_string(colour)}, {6, "CONTINUOUS"}};
}

Pairs LineRecord(const std::string& layer, double x1, double y1, double x2, double y2) {
  std::ostringstream s[4];
  s[0] << x1;
  s[1] << y1;
  s[2] << x2;
  s[3] << y2;
  return {{0, "LINE"}, {8, layer}, {10, s[0].str()}, {20, s[1].str()}, {30, "0"},
          {11, s[2].str()}, {21, s[3].str()}, {31, "0"}};
}

Pairs operator+(Pairs a, const Pairs& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace simcad::testing
