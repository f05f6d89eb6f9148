// --log FILE: one JSON line per call that reached a member: the object's
// type, the member, the invoke kind, the arguments' VARTYPEs and values, the
// result or the error, and the time the server was busy with it; one line
// per name looked up (GetIDsOfNames) and one per question about a type
// (GetTypeInfo, GetTypeAttr). Each line is flushed at once, so a test can
// read the log while simcad runs.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

#include "simcad/server/dispatch_server.h"

namespace simcad::server {

// The JSON line of one call (without the line end).
std::string CallLogLine(const CallRecord& call);

class CallLog {
 public:
  explicit CallLog(const std::filesystem::path& file);
  [[nodiscard]] bool Ok() const { return static_cast<bool>(out_); }
  void Write(const CallRecord& call) noexcept;
  // A GetIDsOfNames: {"object":...,"lookup":...}.
  void WriteLookup(std::u16string_view object_type, std::u16string_view name) noexcept;
  // A question about an object's type: {"object":...,"typeinfo":"GetTypeInfo"}.
  void WriteTypeQuestion(std::u16string_view object_type, std::u16string_view question) noexcept;
  // An automation call the message filter refused: {"rejected":N}, N counting from 1.
  void WriteRejection(int nth) noexcept;

 private:
  std::ofstream out_;
};

}  // namespace simcad::server
