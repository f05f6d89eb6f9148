#include "simcad/server/call_log.h"

#include <cmath>
#include <cstdio>

#include "base/text.h"

namespace simcad::server {

namespace {

using plyscan::automation::Kind;
using plyscan::automation::Variant;

void AppendString(std::string& out, std::u16string_view text) {
  out += '"';
  for (unsigned char c : plyscan::ToUtf8(text)) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", c);
      out += escape;
    } else {
      out += static_cast<char>(c);
    }
  }
  out += '"';
}

void AppendDouble(std::string& out, double d) {
  if (!std::isfinite(d)) {
    out += "null";
    return;
  }
  char number[32];
  std::snprintf(number, sizeof number, "%.17g", d);
  out += number;
}

void AppendValue(std::string& out, const Variant& value) {
  const auto& raw = value.Raw();
  switch (value.GetKind()) {
    case Kind::Empty:
      out += "null";
      break;
    case Kind::Missing:
      out += "\"(missing)\"";
      break;
    case Kind::Bool:
      out += std::get<bool>(raw) ? "true" : "false";
      break;
    case Kind::Int16:
      out += std::to_string(std::get<std::int16_t>(raw));
      break;
    case Kind::Int32:
      out += std::to_string(std::get<std::int32_t>(raw));
      break;
    case Kind::Int64:
      out += std::to_string(std::get<std::int64_t>(raw));
      break;
    case Kind::UInt64:
      out += std::to_string(std::get<std::uint64_t>(raw));
      break;
    case Kind::Double:
      AppendDouble(out, std::get<double>(raw));
      break;
    case Kind::Text:
      AppendString(out, std::get<std::u16string>(raw));
      break;
    case Kind::DoubleArray: {
      out += '[';
      const char* separator = "";
      for (double d : std::get<std::vector<double>>(raw)) {
        out += separator;
        AppendDouble(out, d);
        separator = ",";
      }
      out += ']';
      break;
    }
    case Kind::Object: {
      const auto& object = std::get<plyscan::automation::ObjectRef>(raw);
      const auto* sim = dynamic_cast<const SimObject*>(object.get());
      out += "{\"object\":";
      AppendString(out, sim ? sim->TypeName() : u"?");
      out += '}';
      break;
    }
  }
}

const char* KindName(InvokeKind kind) {
  switch (kind) {
    case InvokeKind::Method:
      return "method";
    case InvokeKind::Get:
      return "get";
    case InvokeKind::MethodOrGet:
      return "method|get";
    case InvokeKind::Put:
      return "put";
  }
  return "?";
}

}  // namespace

std::string CallLogLine(const CallRecord& call) {
  std::string out = "{\"object\":";
  AppendString(out, call.object_type);
  out += ",\"member\":";
  AppendString(out, call.member);
  out += ",\"invoke\":\"";
  out += KindName(call.kind);
  out += "\",\"args\":[";
  for (std::size_t i = 0; i < call.arg_types.size(); ++i) {
    if (i) out += ',';
    out += "{\"vt\":" + std::to_string(call.arg_types[i]);
    if (i < call.args.size()) {
      out += ",\"value\":";
      AppendValue(out, call.args[i]);
    }
    out += '}';
  }
  out += ']';
  if (call.hresult == 0) {
    out += ",\"result\":";
    AppendValue(out, call.result);
  } else {
    char code[16];
    std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(call.hresult));
    out += ",\"hresult\":\"";
    out += code;
    out += "\",\"error\":";
    AppendString(out, call.error);
  }
  out += ",\"busy_us\":" + std::to_string(call.busy_us) + '}';
  return out;
}

CallLog::CallLog(const std::filesystem::path& file) : out_(file, std::ios::binary | std::ios::app) {}

void CallLog::WriteLookup(std::u16string_view object_type, std::u16string_view name) noexcept {
  try {
    std::string line = "{\"object\":";
    AppendString(line, object_type);
    line += ",\"lookup\":";
    AppendString(line, name);
    out_ << line << "}\n";
    out_.flush();
  } catch (...) {
  }
}

void CallLog::WriteTypeQuestion(std::u16string_view object_type, std::u16string_view question) noexcept {
  try {
    std::string line = "{\"object\":";
    AppendString(line, object_type);
    line += ",\"typeinfo\":";
    AppendString(line, question);
    out_ << line << "}\n";
    out_.flush();
  } catch (...) {
  }
}

void CallLog::WriteRejection(int nth) noexcept {
  try {
    out_ << "{\"rejected\":" << nth << "}\n";
    out_.flush();
  } catch (...) {
  }
}

void CallLog::Write(const CallRecord& call) noexcept {
  try {
    out_ << CallLogLine(call) << '\n';
    out_.flush();
  } catch (...) {
    // A log that cannot be written must not fail the call it records.
  }
}

}  // namespace simcad::server
