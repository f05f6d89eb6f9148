// Integers in the settings file and typed texts: any UTF-16 text must parse
// without fault, the same way whatever the default, and a parsed value must
// read back from its own decimal text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "base/int_text.h"

namespace {

// Parses with two different defaults: both give the default, or both give the
// same value. Returns the value, or nothing in `parsed` when it was the default.
std::int32_t Check(std::int32_t (*parse)(plyscan::TextView, std::int32_t) noexcept, plyscan::TextView text,
                   bool& parsed) {
  const std::int32_t a = parse(text, 0);
  const std::int32_t b = parse(text, 1);
  if (a != b && !(a == 0 && b == 1)) std::abort();
  parsed = a == b;
  return a;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  plyscan::Text text;
  text.reserve(size / 2);
  for (std::size_t i = 0; i + 1 < size; i += 2)  // little-endian code units, as Windows holds them
    text.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));

  for (const auto parse : {&plyscan::ParseInt32, &plyscan::ParseProfileInt32}) {
    bool parsed = false;
    const std::int32_t value = Check(parse, text, parsed);
    if (parsed && parse(plyscan::DecimalText(value), value ^ 1) != value) std::abort();
  }

  // The profile variant differs only for a leading "0x" or "0X" with more after it.
  const bool hex_prefix = text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X');
  if (!hex_prefix && plyscan::ParseProfileInt32(text, 7) != plyscan::ParseInt32(text, 7)) std::abort();
  return 0;
}
