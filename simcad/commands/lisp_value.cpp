#include "simcad/commands/lisp_value.h"

#include <cstdio>

namespace simcad::lisp {

namespace {

Text Ascii(const char* s) {
  Text out;
  for (; *s; ++s) out.push_back(static_cast<char16_t>(static_cast<unsigned char>(*s)));
  return out;
}

Text Quoted(const Text& s) {
  Text out = u"\"";
  for (char16_t c : s) {
    switch (c) {
      case u'"': out += u"\\\""; break;
      case u'\\': out += u"\\\\"; break;
      case u'\n': out += u"\\n"; break;
      case u'\r': out += u"\\r"; break;
      case u'\t': out += u"\\t"; break;
      default: out.push_back(c);
    }
  }
  return out + u"\"";
}

}  // namespace

Text Print(const Value& value) {
  char buffer[64];
  switch (value.type) {
    case Type::Nil: return u"nil";
    case Type::Symbol: return value.text;
    case Type::Integer:
      std::snprintf(buffer, sizeof buffer, "%d", static_cast<int>(value.integer));
      return Ascii(buffer);
    case Type::Real:
      std::snprintf(buffer, sizeof buffer, "%.6g", value.real);
      return Ascii(buffer);
    case Type::String: return Quoted(value.text);
    case Type::List: {
      Text out = u"(";
      for (std::size_t i = 0; i < value.items.size(); ++i) {
        if (i) out += u" ";
        out += Print(value.items[i]);
      }
      return out + u")";
    }
  }
  return u"nil";
}

}  // namespace simcad::lisp
