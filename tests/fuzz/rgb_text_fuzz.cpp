// The background colour field takes whatever the user types or pastes: any
// UTF-16 text must give a colour value with the top byte clear, and spaces
// must never matter.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "capture/rgb_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  plyscan::Text text;
  text.reserve(size / 2);
  for (std::size_t i = 0; i + 1 < size; i += 2)  // little-endian code units, as Windows holds them
    text.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));

  const plyscan::Colour colour = plyscan::ParseRgbText(text);
  if (colour < 0 || colour > 0xFFFFFF) std::abort();

  plyscan::Text spaced;
  for (const char16_t c : text) {
    spaced.push_back(u' ');
    spaced.push_back(c);
  }
  if (plyscan::ParseRgbText(spaced) != colour) std::abort();
  return 0;
}
