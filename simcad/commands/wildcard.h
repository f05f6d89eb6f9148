// Wild-card matching of names as the CAD's wcmatch does it, used by the layer
// command's name lists:
//   #  a digit              @  a letter            .  any character but a letter or digit
//   *  any run of characters (also none)           ?  any one character
//   ~  at the start of a pattern: matches what the rest does not
//   [...]  any one of the characters, ranges such as a-z allowed; [~...] none of them
//   `  the next character stands for itself;  ,  separates alternative patterns
// Letters compare without regard to case, as layer names do. Matching takes
// time proportional to the name's length times the pattern's, whatever the
// pattern holds.
#pragma once

#include <vector>

#include "simcad/drawing/drawing.h"

namespace simcad {

namespace wildcard_detail {
struct Alternative;
}

// A pattern read once, to be matched against many names.
class WildcardPattern {
 public:
  explicit WildcardPattern(TextView pattern);
  ~WildcardPattern();
  WildcardPattern(WildcardPattern&&) noexcept;
  WildcardPattern& operator=(WildcardPattern&&) noexcept;

  [[nodiscard]] bool Matches(TextView name) const;

 private:
  std::vector<wildcard_detail::Alternative> alternatives_;
};

[[nodiscard]] bool WildcardMatch(TextView name, TextView pattern);

// Lower-case form of one code unit (ASCII, Latin-1, Greek and Cyrillic letters).
char16_t FoldCase(char16_t c) noexcept;

}  // namespace simcad
