// Port: the user locale's string comparison, letter case ignored
// (CompareStringW with LOCALE_USER_DEFAULT and NORM_IGNORECASE on Windows).
#pragma once

#include "base/text.h"

namespace plyscan {

class Collator {
 public:
  virtual ~Collator() = default;
  // Negative, zero or positive, as a sorts before, with or after b.
  virtual int Compare(TextView a, TextView b) const = 0;
};

}  // namespace plyscan
