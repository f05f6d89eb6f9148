#include "base/text.h"

namespace plyscan {

Text FromUtf8(std::string_view s) {
  Text out;
  out.reserve(s.size());
  std::size_t i = 0;
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  while (i < s.size()) {
    const unsigned char b0 = byte(i);
    char32_t cp = 0xFFFD;
    std::size_t len = 1;
    if (b0 < 0x80) {
      cp = b0;
    } else if (b0 >= 0xC2 && b0 <= 0xF4) {
      const std::size_t need = b0 < 0xE0 ? 2 : b0 < 0xF0 ? 3 : 4;
      char32_t v = b0 & (need == 2 ? 0x1F : need == 3 ? 0x0F : 0x07);
      std::size_t k = 1;
      for (; k < need && i + k < s.size(); ++k) {
        const unsigned char b = byte(i + k);
        if ((b & 0xC0) != 0x80) break;
        v = (v << 6) | (b & 0x3F);
      }
      if (k == need) {
        const bool overlong = (need == 3 && v < 0x800) || (need == 4 && v < 0x10000);
        const bool surrogate = v >= 0xD800 && v <= 0xDFFF;
        if (!overlong && !surrogate && v <= 0x10FFFF) cp = v;
        len = k;
        if (cp == 0xFFFD) len = k;  // the whole malformed sequence becomes one U+FFFD
      } else {
        len = k;  // truncated sequence: consume what was read
      }
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    i += len;
  }
  return out;
}

std::string ToUtf8(TextView t) {
  std::string out;
  out.reserve(t.size());
  for (std::size_t i = 0; i < t.size(); ++i) {
    char32_t cp = t[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < t.size() && t[i + 1] >= 0xDC00 && t[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (t[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;  // lone surrogate
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

Text FromUtf16Bytes(std::string_view bytes, bool big_endian) {
  Text out(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < out.size(); ++i) {
    const auto first = static_cast<unsigned char>(bytes[2 * i]);
    const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
    out[i] = static_cast<char16_t>(big_endian ? (first << 8) | second : (second << 8) | first);
  }
  return out;
}

std::string ToUtf16Bytes(TextView text, bool big_endian) {
  std::string out;
  out.reserve(text.size() * 2);
  for (const char16_t c : text) {
    const auto high = static_cast<char>(c >> 8);
    const auto low = static_cast<char>(c & 0xFF);
    out.push_back(big_endian ? high : low);
    out.push_back(big_endian ? low : high);
  }
  return out;
}

Text AsciiUpper(TextView text) {
  Text out(text);
  for (auto& c : out)
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - (u'a' - u'A'));
  return out;
}

std::size_t Pos(TextView needle, TextView haystack) {
  if (needle.empty()) return 0;
  const auto at = haystack.find(needle);
  return at == TextView::npos ? 0 : at + 1;
}

Text Format(TextView pattern, std::initializer_list<TextView> args) {
  Text out;
  auto next = args.begin();
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == u'%' && i + 1 < pattern.size() && (pattern[i + 1] == u's' || pattern[i + 1] == u'd') &&
        next != args.end()) {
      out += *next++;
      ++i;
    } else {
      out.push_back(pattern[i]);
    }
  }
  return out;
}

Text DecimalText(std::int64_t value) {
  const std::string digits = std::to_string(value);
  return Text(digits.begin(), digits.end());
}

}  // namespace plyscan
