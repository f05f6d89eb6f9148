// An AutoLISP value as the command line's reader produces and its evaluator
// works on: nil (the empty list), symbols (T among them), 32-bit integers,
// reals, strings and lists.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "simcad/drawing/drawing.h"

namespace simcad::lisp {

enum class Type { Nil, Symbol, Integer, Real, String, List };

struct Value {
  Type type = Type::Nil;
  std::int32_t integer = 0;
  double real = 0;
  Text text;                 // the string, or the symbol's upper-cased name
  std::vector<Value> items;  // a non-empty list

  static Value Nil() { return {}; }
  static Value True() { return Symbol(u"T"); }
  static Value Symbol(Text name) { return Value{Type::Symbol, 0, 0, std::move(name), {}}; }
  static Value Integer(std::int32_t v) { return Value{Type::Integer, v, 0, {}, {}}; }
  static Value Real(double v) { return Value{Type::Real, 0, v, {}, {}}; }
  static Value String(Text v) { return Value{Type::String, 0, 0, std::move(v), {}}; }
  static Value List(std::vector<Value> items) {
    if (items.empty()) return Nil();
    return Value{Type::List, 0, 0, {}, std::move(items)};
  }
  static Value Boolean(bool b) { return b ? True() : Nil(); }

  bool IsNil() const noexcept { return type == Type::Nil; }
  bool IsSymbol(TextView name) const noexcept { return type == Type::Symbol && text == name; }
};

// The value as the command line would echo it: strings quoted with their
// escapes, lists in parentheses, reals with up to six decimals.
Text Print(const Value& value);

}  // namespace simcad::lisp
