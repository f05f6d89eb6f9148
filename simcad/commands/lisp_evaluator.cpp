#include "simcad/commands/lisp_evaluator.h"

#include <cmath>
#include <cstdio>

#include "simcad/commands/layer_states.h"
#include "simcad/commands/lisp_reader.h"

namespace simcad::lisp {

namespace {

using plyscan::automation::Variant;

const Text kSilent = u"";  // the name of the null symbol (princ) returns

[[noreturn]] void Fail(const Text& message) { throw LispError(u"; error: " + message); }

[[noreturn]] void BadType(const char16_t* predicate, const Value& v) {
  Fail(Text(u"bad argument type: ") + predicate + u" " + Print(v));
}

void Arity(const std::vector<Value>& args, std::size_t least, std::size_t most) {
  if (args.size() < least) Fail(u"too few arguments");
  if (args.size() > most) Fail(u"too many arguments");
}

const Text& StringArg(const Value& v) {
  if (v.type != Type::String) BadType(u"stringp", v);
  return v.text;
}

Text NumberText(double d) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.15g", d);
  Text out;
  for (const char* p = buffer; *p; ++p) out.push_back(static_cast<char16_t>(*p));
  return out;
}

// An argument of (command ...) as the answer the command line receives.
bool AsCommandInput(const Value& v, Text& out) {
  switch (v.type) {
    case Type::Nil: return false;  // nothing is typed
    case Type::String: out = v.text; return true;
    case Type::Integer: out = NumberText(v.integer); return true;
    case Type::Real: out = NumberText(v.real); return true;
    case Type::List: {  // a point: "x,y" or "x,y,z"
      if (v.items.size() < 2 || v.items.size() > 3) BadType(u"point", v);
      for (std::size_t i = 0; i < v.items.size(); ++i) {
        const Value& c = v.items[i];
        if (c.type != Type::Integer && c.type != Type::Real) BadType(u"point", v);
        if (i) out += u",";
        out += NumberText(c.type == Type::Integer ? c.integer : c.real);
      }
      return true;
    }
    case Type::Symbol: BadType(u"stringp", v);
  }
  return false;
}

Value FromVariant(const Variant& v) {
  const auto& raw = v.Raw();
  if (auto p = std::get_if<std::int16_t>(&raw)) return Value::Integer(*p);
  if (auto p = std::get_if<std::int32_t>(&raw)) return Value::Integer(*p);
  if (auto p = std::get_if<double>(&raw)) return Value::Real(*p);
  if (auto p = std::get_if<Text>(&raw)) return Value::String(*p);
  if (auto p = std::get_if<std::vector<double>>(&raw)) {
    std::vector<Value> items;
    for (double d : *p) items.push_back(Value::Real(d));
    return Value::List(std::move(items));
  }
  return Value::Nil();
}

}  // namespace

bool IsSilent(const Value& value) { return value.type == Type::Symbol && value.text == kSilent; }

std::vector<Value> Evaluator::EvalArgs(const std::vector<Value>& items, int depth) {
  std::vector<Value> args;
  for (std::size_t i = 1; i < items.size(); ++i) args.push_back(Eval(items[i], depth + 1));
  return args;
}

Value Evaluator::Eval(const Value& form, int depth) {
  if (depth > 2 * kMaxNesting) Fail(u"stack limit reached");
  switch (form.type) {
    case Type::Nil:
    case Type::Integer:
    case Type::Real:
    case Type::String: return form;
    case Type::Symbol: return form.text == u"T" ? form : Value::Nil();  // unbound symbols are nil
    case Type::List: break;
  }
  const Value& head = form.items.front();
  if (head.type != Type::Symbol) Fail(u"bad function: " + Print(head));
  return Call(head.text, form.items, depth);
}

Value Evaluator::Call(const Text& f, const std::vector<Value>& items, int depth) {
  // Special forms: their arguments are not evaluated up front.
  if (f == u"QUOTE") {
    if (items.size() != 2) Fail(items.size() < 2 ? u"too few arguments" : u"too many arguments");
    return items[1];
  }
  if (f == u"IF") {
    if (items.size() < 3) Fail(u"too few arguments");
    if (items.size() > 4) Fail(u"too many arguments");
    if (!Eval(items[1], depth + 1).IsNil()) return Eval(items[2], depth + 1);
    return items.size() == 4 ? Eval(items[3], depth + 1) : Value::Nil();
  }
  if (f == u"PROGN") {
    Value last;
    for (std::size_t i = 1; i < items.size(); ++i) last = Eval(items[i], depth + 1);
    return last;
  }

  const std::vector<Value> args = EvalArgs(items, depth);
  if (f == u"COMMAND") {
    if (args.empty()) {
      command_line_.Cancel();
      return Value::Nil();
    }
    for (const Value& a : args) {
      Text input;
      if (AsCommandInput(a, input)) command_line_.Enter(input);
    }
    return Value::Nil();
  }
  if (f == u"PRINC") {
    Arity(args, 0, 2);
    if (args.empty()) return Value::Symbol(kSilent);
    s_.history.Add(args[0].type == Type::String ? args[0].text : Print(args[0]));
    return args[0];
  }
  if (f == u"SETVAR") {
    Arity(args, 2, 2);
    const Text& name = StringArg(args[0]);
    const Value& v = args[1];
    VariableError error = VariableError::WrongType;
    if (v.type == Type::Integer) error = s_.variables.SetInteger(name, v.integer);
    if (v.type == Type::String) error = s_.variables.SetText(name, v.text);
    if (error == VariableError::Unknown || error == VariableError::ReadOnly || error == VariableError::OutOfRange)
      Fail(u"AutoCAD variable setting rejected: " + Print(args[0]) + u" " + Print(v));
    if (error == VariableError::WrongType) BadType(v.type == Type::Integer ? u"stringp" : u"fixnump", v);
    return v;
  }
  if (f == u"GETVAR") {
    Arity(args, 1, 1);
    const auto value = s_.variables.Get(StringArg(args[0]));
    return value ? FromVariant(*value) : Value::Nil();
  }
  if (f == u"LAYERSTATE-SAVE") {
    Arity(args, 3, 3);
    const Text& name = StringArg(args[0]);
    if (args[1].type != Type::Integer) BadType(u"fixnump", args[1]);
    if (args[1].integer < 0) Fail(u"bad argument value: " + Print(args[1]));
    if (!args[2].IsNil()) BadType(u"lentityp", args[2]);  // only the model-space view, no viewport
    return Value::Boolean(SaveLayerState(s_.drawing, name, args[1].integer, s_.options.layerstate_overwrite));
  }
  if (f == u"LAYERSTATE-RESTORE") {
    Arity(args, 2, 3);
    const Text& name = StringArg(args[0]);
    if (!args[1].IsNil()) BadType(u"lentityp", args[1]);
    if (args.size() == 3 && args[2].type != Type::Integer && !args[2].IsNil()) BadType(u"fixnump", args[2]);
    return Value::Boolean(RestoreLayerState(s_.drawing, name, s_.history));
  }
  if (f == u"LAYERSTATE-HAS") {
    Arity(args, 1, 1);
    return Value::Boolean(HasLayerState(s_.drawing, StringArg(args[0])));
  }
  if (f == u"LAYERSTATE-DELETE") {
    Arity(args, 1, 1);
    return Value::Boolean(DeleteLayerState(s_.drawing, StringArg(args[0])));
  }
  Fail(u"no function definition: " + f);
}

}  // namespace simcad::lisp
