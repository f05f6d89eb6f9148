#include "simcad/commands/lisp_reader.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace simcad::lisp {

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f' || c == u'\v'; }
bool EndsAtom(char16_t c) { return IsBlank(c) || c == u'(' || c == u')' || c == u'"' || c == u'\'' || c == u';'; }

// "123" and "-5" are integers (reals when they overflow 32 bits, as AutoLISP
// reads them); "1.5", "2e3" reals; anything else is no number.
bool ParseNumber(TextView atom, Value& out) {
  std::string ascii;
  for (char16_t c : atom) {
    if (c > 0x7F) return false;
    ascii.push_back(static_cast<char>(c));
  }
  const char* first = ascii.data();
  const char* last = ascii.data() + ascii.size();
  if (first != last && *first == '+') ++first;
  if (first == last) return false;
  bool integral = true;
  for (const char* p = first; p != last; ++p)
    if (!(std::isdigit(static_cast<unsigned char>(*p)) || (p == first && *p == '-'))) integral = false;
  if (integral) {
    long long n = 0;
    auto [end, ec] = std::from_chars(first, last, n);
    if (end == last && ec == std::errc() && n >= std::numeric_limits<std::int32_t>::min() &&
        n <= std::numeric_limits<std::int32_t>::max()) {
      out = Value::Integer(static_cast<std::int32_t>(n));
      return true;
    }
  }
  // A real needs a digit before any point, as AutoLISP insists.
  const char* digits = (*first == '-') ? first + 1 : first;
  if (digits == last || !std::isdigit(static_cast<unsigned char>(*digits))) return false;
  double d = 0;
  auto [end, ec] = std::from_chars(first, last, d);
  if (end != last || ec != std::errc() || !std::isfinite(d)) return false;
  out = Value::Real(d);
  return true;
}

Text UpperAscii(TextView s) {
  Text out(s);
  for (auto& c : out)
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  return out;
}

class Reader {
 public:
  explicit Reader(TextView source) : s_(source) {}

  ReadResult ReadAll() {
    ReadResult result;
    while (true) {
      SkipBlanksAndComments();
      if (pos_ >= s_.size()) break;
      if (s_[pos_] == u')') return Fail(u"; error: extra right paren on input");
      Value v;
      if (!ReadOne(v, 0)) return Fail(error_);
      result.forms.push_back(std::move(v));
    }
    return result;
  }

 private:
  ReadResult Fail(Text message) {
    ReadResult r;
    r.error = std::move(message);
    return r;
  }

  void SkipBlanksAndComments() {
    while (pos_ < s_.size()) {
      const char16_t c = s_[pos_];
      if (IsBlank(c)) {
        ++pos_;
      } else if (c == u';') {
        if (pos_ + 1 < s_.size() && s_[pos_ + 1] == u'|') {  // ;| block comment |;
          const auto end = s_.find(u"|;", pos_ + 2);
          pos_ = end == TextView::npos ? s_.size() : end + 2;
        } else {
          while (pos_ < s_.size() && s_[pos_] != u'\n' && s_[pos_] != u'\r') ++pos_;
        }
      } else {
        return;
      }
    }
  }

  bool Error(Text message) {
    error_ = std::move(message);
    return false;
  }

  bool ReadOne(Value& out, int depth) {
    if (depth >= kMaxNesting) return Error(u"; error: expression nested too deeply");
    SkipBlanksAndComments();
    if (pos_ >= s_.size()) return Error(u"; error: malformed list on input");
    const char16_t c = s_[pos_];
    if (c == u'(') return ReadList(out, depth);
    if (c == u')') return Error(u"; error: extra right paren on input");
    if (c == u'"') return ReadString(out);
    if (c == u'\'') {
      ++pos_;
      Value quoted;
      if (!ReadOne(quoted, depth + 1)) return false;
      out = Value::List({Value::Symbol(u"QUOTE"), std::move(quoted)});
      return true;
    }
    return ReadAtom(out);
  }

  bool ReadList(Value& out, int depth) {
    ++pos_;  // (
    std::vector<Value> items;
    while (true) {
      SkipBlanksAndComments();
      if (pos_ >= s_.size()) return Error(u"; error: malformed list on input");
      if (s_[pos_] == u')') {
        ++pos_;
        out = Value::List(std::move(items));
        return true;
      }
      Value item;
      if (!ReadOne(item, depth + 1)) return false;
      items.push_back(std::move(item));
    }
  }

  bool ReadString(Value& out) {
    ++pos_;  // opening quote
    Text text;
    while (pos_ < s_.size()) {
      const char16_t c = s_[pos_++];
      if (c == u'"') {
        out = Value::String(std::move(text));
        return true;
      }
      if (c != u'\\') {
        text.push_back(c);
        continue;
      }
      if (pos_ >= s_.size()) break;
      const char16_t e = s_[pos_++];
      switch (e) {
        case u'n': text.push_back(u'\n'); break;
        case u'r': text.push_back(u'\r'); break;
        case u't': text.push_back(u'\t'); break;
        case u'e': text.push_back(u'\x1B'); break;
        default:
          if (e >= u'0' && e <= u'7') {  // \nnn: up to three octal digits
            unsigned code = e - u'0';
            for (int i = 0; i < 2 && pos_ < s_.size() && s_[pos_] >= u'0' && s_[pos_] <= u'7'; ++i)
              code = code * 8 + (s_[pos_++] - u'0');
            text.push_back(static_cast<char16_t>(code));
          } else {
            text.push_back(e);  // \" \\ and any other character stand for themselves
          }
      }
    }
    return Error(u"; error: malformed string on input");
  }

  bool ReadAtom(Value& out) {
    const std::size_t start = pos_;
    while (pos_ < s_.size() && !EndsAtom(s_[pos_])) ++pos_;
    const TextView atom = s_.substr(start, pos_ - start);
    if (ParseNumber(atom, out)) return true;
    const Text name = UpperAscii(atom);
    out = name == u"NIL" ? Value::Nil() : Value::Symbol(name);
    return true;
  }

  TextView s_;
  std::size_t pos_ = 0;
  Text error_;
};

}  // namespace

ReadResult ReadForms(TextView source) { return Reader(source).ReadAll(); }

}  // namespace simcad::lisp
