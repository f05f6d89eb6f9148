#include "simcad/commands/wildcard.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace simcad {

namespace wildcard_detail {

char16_t UpperCase(char16_t c) noexcept {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 32);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 32);
  if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return static_cast<char16_t>(c - 32);
  if (c >= 0x430 && c <= 0x44F) return static_cast<char16_t>(c - 32);
  if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 80);
  return c;
}

bool IsDigit(char16_t c) noexcept { return c >= u'0' && c <= u'9'; }

// Letters: ASCII ones and, beyond ASCII, everything outside the blocks of
// punctuation, symbols and controls (so Japanese and accented names count).
bool IsAlpha(char16_t c) noexcept {
  if (c < 0x80) return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
  if (c < 0xC0 || c == 0xD7 || c == 0xF7) return false;
  if (c >= 0x2000 && c <= 0x2BFF) return false;  // punctuation, arrows, shapes, symbols
  if (c >= 0x3000 && c <= 0x303F) return false;  // CJK punctuation
  if (c >= 0xFF00 && c <= 0xFF20) return false;  // full-width punctuation and digits
  if (c >= 0xFF3B && c <= 0xFF40) return false;
  if (c >= 0xFF5B && c <= 0xFF65) return false;
  if (c >= 0xD800 && c <= 0xDFFF) return false;  // surrogates
  if (c >= 0xFFF0) return false;
  return true;
}

struct Element {
  enum Kind { Literal, Digit, Alpha, NonAlnum, Any, Star, Class } kind = Literal;
  char16_t ch = 0;
  bool negated = false;
  std::vector<std::pair<char16_t, char16_t>> ranges;

  bool Matches(char16_t c) const {
    switch (kind) {
      case Literal: return FoldCase(c) == FoldCase(ch);
      case Digit: return IsDigit(c);
      case Alpha: return IsAlpha(c);
      case NonAlnum: return !IsDigit(c) && !IsAlpha(c);
      case Any: return true;
      case Star: return true;
      case Class: {
        const char16_t forms[] = {c, FoldCase(c), UpperCase(c)};
        bool in = false;
        for (const auto& [lo, hi] : ranges)
          for (char16_t f : forms) in = in || (f >= lo && f <= hi);
        return in != negated;
      }
    }
    return false;
  }
};

struct Alternative {
  bool negated = false;
  std::vector<Element> elements;
};

// Parses a class from just after its "[" ; false (nothing consumed) when no "]" closes it.
bool ParseClass(TextView p, std::size_t& i, Element& out) {
  std::size_t j = i;
  Element e;
  e.kind = Element::Class;
  if (j < p.size() && p[j] == u'~') {
    e.negated = true;
    ++j;
  }
  bool first = true;
  while (j < p.size()) {
    char16_t c = p[j];
    if (c == u']' && !first) {
      i = j + 1;
      out = std::move(e);
      return true;
    }
    first = false;
    if (c == u'`' && j + 1 < p.size()) c = p[++j];
    ++j;
    char16_t hi = c;
    if (j + 1 < p.size() && p[j] == u'-' && p[j + 1] != u']') {
      hi = p[j + 1];
      if (hi == u'`' && j + 2 < p.size()) {
        hi = p[j + 2];
        ++j;
      }
      j += 2;
    }
    e.ranges.emplace_back(std::min(c, hi), std::max(c, hi));
  }
  return false;
}

std::vector<Alternative> Compile(TextView p) {
  std::vector<Alternative> alternatives(1);
  std::size_t i = 0;
  bool at_start = true;
  while (i < p.size()) {
    Alternative& alt = alternatives.back();
    const char16_t c = p[i];
    if (at_start && c == u'~') {
      alt.negated = true;
      ++i;
      at_start = false;
      continue;
    }
    at_start = false;
    Element e;
    switch (c) {
      case u',':
        alternatives.emplace_back();
        at_start = true;
        ++i;
        continue;
      case u'`':
        e.ch = i + 1 < p.size() ? p[i + 1] : c;
        i += i + 1 < p.size() ? 2 : 1;
        break;
      case u'#': e.kind = Element::Digit; ++i; break;
      case u'@': e.kind = Element::Alpha; ++i; break;
      case u'.': e.kind = Element::NonAlnum; ++i; break;
      case u'?': e.kind = Element::Any; ++i; break;
      case u'*':
        ++i;
        if (!alt.elements.empty() && alt.elements.back().kind == Element::Star) continue;
        e.kind = Element::Star;
        break;
      case u'[': {
        std::size_t j = i + 1;
        if (ParseClass(p, j, e)) {
          i = j;
        } else {
          e.ch = c;  // an unclosed bracket is an ordinary character
          ++i;
        }
        break;
      }
      default: e.ch = c; ++i;
    }
    alt.elements.push_back(std::move(e));
  }
  return alternatives;
}

// Every element but a star takes exactly one character, so the classic
// backtrack-to-the-last-star walk is exact and quadratic at worst.
bool MatchElements(TextView s, const std::vector<Element>& elements) {
  std::size_t si = 0, ei = 0;
  std::size_t star = elements.size(), star_s = 0;
  while (si < s.size()) {
    if (ei < elements.size() && elements[ei].kind == Element::Star) {
      star = ei++;
      star_s = si;
    } else if (ei < elements.size() && elements[ei].Matches(s[si])) {
      ++ei;
      ++si;
    } else if (star != elements.size()) {
      ei = star + 1;
      si = ++star_s;
    } else {
      return false;
    }
  }
  while (ei < elements.size() && elements[ei].kind == Element::Star) ++ei;
  return ei == elements.size();
}

}  // namespace wildcard_detail

using namespace wildcard_detail;

char16_t FoldCase(char16_t c) noexcept {
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 32);
  if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return static_cast<char16_t>(c + 32);
  if (c >= 0x410 && c <= 0x42F) return static_cast<char16_t>(c + 32);
  if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 80);
  return c;
}

WildcardPattern::WildcardPattern(TextView pattern) : alternatives_(Compile(pattern)) {}
WildcardPattern::~WildcardPattern() = default;
WildcardPattern::WildcardPattern(WildcardPattern&&) noexcept = default;
WildcardPattern& WildcardPattern::operator=(WildcardPattern&&) noexcept = default;

bool WildcardPattern::Matches(TextView name) const {
  for (const auto& alt : alternatives_)
    if (MatchElements(name, alt.elements) != alt.negated) return true;
  return false;
}

bool WildcardMatch(TextView name, TextView pattern) { return WildcardPattern(pattern).Matches(name); }

}  // namespace simcad
