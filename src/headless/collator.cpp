// Headless stand-in for the user locale's comparison: letter case is folded
// for the scripts layer names are written in (Latin with Latin-1 and Latin
// Extended-A, Greek, Cyrillic, full-width Latin), then the texts compare code
// unit by code unit. Digits compare as characters, so "Layer10" sorts before
// "Layer9", as with the Windows comparison.
#include <algorithm>

#include "base/collation.h"
#include "base/platform.h"

namespace plyscan {

namespace {

// Pairs laid out upper, lower, upper, lower...: the upper one is even when
// `upper_even`, odd otherwise.
char16_t FoldPair(char16_t c, bool upper_even) {
  const bool even = c % 2 == 0;
  return even == upper_even ? static_cast<char16_t>(c + 1) : c;
}

char16_t FoldCase(char16_t c) {
  if (c < 0x80) return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 0x20) : c;
  // Latin-1 Supplement and Latin Extended-A
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 0x20);
  if (c == 0x178) return 0xFF;  // Y with diaeresis
  if ((c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177))
    return FoldPair(c, true);
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return FoldPair(c, false);
  // Greek
  if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return static_cast<char16_t>(c + 0x20);
  if (c == 0x386) return 0x3AC;
  if (c >= 0x388 && c <= 0x38A) return static_cast<char16_t>(c + 0x25);
  if (c == 0x38C) return 0x3CC;
  if (c == 0x38E || c == 0x38F) return static_cast<char16_t>(c + 0x3F);
  if (c == 0x3C2) return 0x3C3;  // final sigma
  // Cyrillic
  if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 0x50);
  if (c >= 0x410 && c <= 0x42F) return static_cast<char16_t>(c + 0x20);
  if ((c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF) || (c >= 0x4D0 && c <= 0x52F))
    return FoldPair(c, true);
  if (c == 0x4C0) return 0x4CF;
  if (c >= 0x4C1 && c <= 0x4CE) return FoldPair(c, false);
  // Full-width Latin
  if (c >= 0xFF21 && c <= 0xFF3A) return static_cast<char16_t>(c + 0x20);
  return c;
}

class CaseFoldingCollator final : public Collator {
 public:
  int Compare(TextView a, TextView b) const override {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
      const char16_t x = FoldCase(a[i]);
      const char16_t y = FoldCase(b[i]);
      if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
  }
};

}  // namespace

const Collator& UserCollator() {
  static const CaseFoldingCollator collator;
  return collator;
}

}  // namespace plyscan
