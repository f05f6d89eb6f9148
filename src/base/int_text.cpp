#include "base/int_text.h"

namespace plyscan {

namespace {

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

}  // namespace

std::int32_t ParseInt32(TextView s, std::int32_t fallback) noexcept {
  std::size_t i = 0;
  while (i < s.size() && s[i] == u' ') ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) negative = s[i++] == u'-';
  int base = 10;
  if (i < s.size() && (s[i] == u'$' || s[i] == u'x' || s[i] == u'X')) {
    base = 16;
    ++i;
  } else if (i + 1 < s.size() && s[i] == u'0' && (s[i + 1] == u'x' || s[i + 1] == u'X')) {
    base = 16;
    i += 2;
  }
  if (i >= s.size()) return fallback;  // no digits
  std::int64_t magnitude = 0;
  for (; i < s.size(); ++i) {
    const int d = HexDigit(s[i]);
    if (d < 0 || d >= base) return fallback;
    magnitude = magnitude * base + d;
    if (magnitude > 0x80000000LL) return fallback;  // beyond any 32-bit value
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value < INT32_MIN || value > INT32_MAX) return fallback;
  return static_cast<std::int32_t>(value);
}

std::int32_t ParseProfileInt32(TextView s, std::int32_t fallback) noexcept {
  if (s.size() > 2 && s[0] == u'0' && (s[1] == u'x' || s[1] == u'X'))
    return ParseInt32(u"$" + Text(s.substr(2)), fallback);
  return ParseInt32(s, fallback);
}

}  // namespace plyscan
