#include "simcad/objects/json_text.h"

#include <charconv>
#include <cmath>

namespace simcad {

void JsonText::Raw(const char* ascii) {
  for (; *ascii; ++ascii) out_.push_back(static_cast<char16_t>(static_cast<unsigned char>(*ascii)));
}

void JsonText::BeforeValue() {
  if (after_key_) {
    after_key_ = false;
    return;
  }
  if (!needs_comma_.empty()) {
    if (needs_comma_.back()) out_ += u",";
    needs_comma_.back() = true;
  }
}

JsonText& JsonText::BeginObject() {
  BeforeValue();
  out_ += u"{";
  needs_comma_.push_back(false);
  return *this;
}

JsonText& JsonText::EndObject() {
  out_ += u"}";
  needs_comma_.pop_back();
  return *this;
}

JsonText& JsonText::BeginArray() {
  BeforeValue();
  out_ += u"[";
  needs_comma_.push_back(false);
  return *this;
}

JsonText& JsonText::EndArray() {
  out_ += u"]";
  needs_comma_.pop_back();
  return *this;
}

JsonText& JsonText::Key(TextView key) {
  String(key);
  out_ += u":";
  after_key_ = true;
  return *this;
}

JsonText& JsonText::String(TextView value) {
  BeforeValue();
  out_ += u"\"";
  static const char kHex[] = "0123456789abcdef";
  for (char16_t c : value) {
    switch (c) {
      case u'"': out_ += u"\\\""; break;
      case u'\\': out_ += u"\\\\"; break;
      case u'\n': out_ += u"\\n"; break;
      case u'\r': out_ += u"\\r"; break;
      case u'\t': out_ += u"\\t"; break;
      default:
        if (c < 0x20) {
          out_ += u"\\u00";
          out_.push_back(static_cast<char16_t>(kHex[c >> 4]));
          out_.push_back(static_cast<char16_t>(kHex[c & 0xF]));
        } else {
          out_.push_back(c);
        }
    }
  }
  out_ += u"\"";
  return *this;
}

JsonText& JsonText::Number(double value) {
  BeforeValue();
  if (!std::isfinite(value)) {
    Raw("null");
    return *this;
  }
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer - 1, value);
  *result.ptr = '\0';
  Raw(buffer);
  return *this;
}

JsonText& JsonText::Integer(std::int64_t value) {
  BeforeValue();
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer - 1, value);
  *result.ptr = '\0';
  Raw(buffer);
  return *this;
}

JsonText& JsonText::Bool(bool value) {
  BeforeValue();
  Raw(value ? "true" : "false");
  return *this;
}

}  // namespace simcad
