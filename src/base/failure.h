// The program's one failure type. Portable code raises it; the CAD command
// guard discards it and the shell's default error report shows its text.
#pragma once

#include <cstdint>
#include <stdexcept>

#include "base/text.h"

namespace plyscan {

class Failure : public std::runtime_error {
 public:
  explicit Failure(Text message) : std::runtime_error(ToUtf8(message)), message_(std::move(message)) {}
  const Text& Message() const noexcept { return message_; }

 private:
  Text message_;
};

// A failed automation call: carries the HRESULT (or the simulated server's
// equivalent), the member name and the server's own exception text.
class AutomationFailure : public Failure {
 public:
  AutomationFailure(std::int32_t hresult, Text member, Text detail)
      : Failure(Describe(hresult, member, detail)), hresult_(hresult), member_(std::move(member)),
        detail_(std::move(detail)) {}
  std::int32_t HResult() const noexcept { return hresult_; }
  const Text& Member() const noexcept { return member_; }
  const Text& Detail() const noexcept { return detail_; }

 private:
  static Text Describe(std::int32_t hresult, const Text& member, const Text& detail);
  std::int32_t hresult_;
  Text member_;
  Text detail_;
};

// HRESULT values the portable code and the simulated server share.
namespace hr {
inline constexpr std::int32_t kOk = 0;
inline constexpr std::int32_t kFail = static_cast<std::int32_t>(0x80004005);
inline constexpr std::int32_t kNotImpl = static_cast<std::int32_t>(0x80004001);
inline constexpr std::int32_t kInvalidArg = static_cast<std::int32_t>(0x80070057);
inline constexpr std::int32_t kUnknownName = static_cast<std::int32_t>(0x80020006);   // DISP_E_UNKNOWNNAME
inline constexpr std::int32_t kMemberNotFound = static_cast<std::int32_t>(0x80020003);  // DISP_E_MEMBERNOTFOUND
inline constexpr std::int32_t kTypeMismatch = static_cast<std::int32_t>(0x80020005);   // DISP_E_TYPEMISMATCH
inline constexpr std::int32_t kBadParamCount = static_cast<std::int32_t>(0x8002000E);  // DISP_E_BADPARAMCOUNT
inline constexpr std::int32_t kParamNotFound = static_cast<std::int32_t>(0x80020004);  // DISP_E_PARAMNOTFOUND
inline constexpr std::int32_t kBadIndex = static_cast<std::int32_t>(0x8002000B);       // DISP_E_BADINDEX
inline constexpr std::int32_t kException = static_cast<std::int32_t>(0x80020009);      // DISP_E_EXCEPTION
inline constexpr std::int32_t kCallRejected = static_cast<std::int32_t>(0x80010001);   // RPC_E_CALL_REJECTED
inline constexpr std::int32_t kClassNotRegistered = static_cast<std::int32_t>(0x800401F3);  // CO_E_CLASSSTRING
inline constexpr std::int32_t kUnavailable = static_cast<std::int32_t>(0x800401E3);  // MK_E_UNAVAILABLE
inline constexpr std::int32_t kRetryLater = static_cast<std::int32_t>(0x8001010A);   // RPC_E_SERVERCALL_RETRYLATER
inline constexpr std::int32_t kDisconnected = static_cast<std::int32_t>(0x80010108);  // RPC_E_DISCONNECTED
inline constexpr std::int32_t kServerDied = static_cast<std::int32_t>(0x80010007);    // RPC_E_SERVER_DIED
inline constexpr std::int32_t kServerDiedDne = static_cast<std::int32_t>(0x80010012);  // RPC_E_SERVER_DIED_DNE
inline constexpr std::int32_t kNotConnected = static_cast<std::int32_t>(0x800401FD);  // CO_E_OBJNOTCONNECTED
inline constexpr std::int32_t kServerUnavailable = static_cast<std::int32_t>(0x800706BA);  // RPC_S_SERVER_UNAVAILABLE
inline constexpr std::int32_t kCallFailed = static_cast<std::int32_t>(0x800706BE);         // RPC_S_CALL_FAILED
inline constexpr std::int32_t kCallFailedDne = static_cast<std::int32_t>(0x800706BF);      // RPC_S_CALL_FAILED_DNE

// The server is gone (ended, killed, or its objects cut off): every further
// call fails as well.
constexpr bool ServerGone(std::int32_t hresult) noexcept {
  return hresult == kDisconnected || hresult == kServerDied || hresult == kServerDiedDne ||
         hresult == kNotConnected || hresult == kServerUnavailable || hresult == kCallFailed ||
         hresult == kCallFailedDne;
}
}  // namespace hr

}  // namespace plyscan
