#include "capture/rgb_text.h"

#include <algorithm>

#include "base/int_text.h"

namespace plyscan {

namespace {

constexpr char16_t kDelimiter = u',';
constexpr char16_t kQuote = u'"';

bool IsControl(char16_t c) { return c >= 1 && c <= 31; }

// Reads a quoted item starting at the opening quote; leaves `at` after the
// closing quote (or at the end when there is none).
Text ReadQuoted(TextView text, std::size_t& at) {
  Text item;
  ++at;  // the opening quote
  while (at < text.size()) {
    const char16_t c = text[at++];
    if (c != kQuote) {
      item.push_back(c);
    } else if (at < text.size() && text[at] == kQuote) {
      item.push_back(kQuote);  // "" stands for one quote
      ++at;
    } else {
      break;  // the closing quote
    }
  }
  return item;
}

}  // namespace

std::vector<Text> SplitCommaText(TextView text) {
  text = text.substr(0, std::min(text.find(u'\0'), text.size()));
  std::vector<Text> items;
  std::size_t at = 0;
  const auto skip_controls = [&] {
    while (at < text.size() && IsControl(text[at])) ++at;
  };
  skip_controls();
  while (at < text.size()) {
    if (text[at] == kQuote) {
      items.push_back(ReadQuoted(text, at));
    } else {
      const std::size_t start = at;
      while (at < text.size() && !IsControl(text[at]) && text[at] != kDelimiter) ++at;
      items.emplace_back(text.substr(start, at - start));
    }
    skip_controls();
    if (at < text.size() && text[at] == kDelimiter) {
      if (at + 1 == text.size()) items.emplace_back();  // a comma at the very end
      ++at;
      skip_controls();
    }
  }
  return items;
}

Colour ParseRgbText(TextView text) {
  Text compact(text);
  std::erase(compact, u' ');
  const std::vector<Text> items = SplitCommaText(compact);
  if (items.size() < 3) return 0;
  const auto channel = [&](std::size_t i) { return ParseInt32(items[i], 0) & 0xFF; };
  return channel(0) | channel(1) << 8 | channel(2) << 16;
}

}  // namespace plyscan
