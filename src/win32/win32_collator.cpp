// The user locale's comparison with letter case ignored: CompareStringW with
// LOCALE_USER_DEFAULT and NORM_IGNORECASE (a word sort: hyphens and
// apostrophes weigh less than other signs).
#include <windows.h>

#include <limits>

#include "base/collation.h"
#include "base/failure.h"
#include "base/platform.h"
#include "win32/wide_text.h"

namespace plyscan {

namespace {

using win32::WideView;

int LengthOf(TextView text) {
  if (text.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
    throw Failure(u"text too long to compare");
  return static_cast<int>(text.size());
}

// CompareStringW refuses a null pointer even for an empty text.
const wchar_t* CharsOf(TextView text) { return text.data() ? WideView(text).data() : L""; }

class Win32Collator final : public Collator {
 public:
  int Compare(TextView a, TextView b) const override {
    const int result =
        CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, CharsOf(a), LengthOf(a), CharsOf(b), LengthOf(b));
    if (result == 0) throw Failure(u"CompareStringW failed (error " + DecimalText(GetLastError()) + u")");
    return result - CSTR_EQUAL;  // CSTR_LESS_THAN, CSTR_EQUAL, CSTR_GREATER_THAN are 1, 2, 3
  }
};

}  // namespace

const Collator& UserCollator() {
  static const Win32Collator collator;
  return collator;
}

}  // namespace plyscan
