// simcad.exe's command line:
//   simcad.exe [--progid ID]... [--drawing FILE | --demo] [--screen WxH] [--log FILE]
//              [--reject-calls N] [--fail MEMBER[@N]]... [--delay MEMBER=MS]...
//              [--lenient-types] [--layerstate-overwrite] [--minimized] [--popup-document]
//              [--no-type-info]
// Portable: no Windows headers.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace simcad::server {

using Text = std::u16string;

// --fail MEMBER[@N]: the member's N-th call fails (counted from 1), or every
// call when N is absent (0).
struct FailRule {
  Text member;
  int nth = 0;
};

// --delay MEMBER=MS: the member sleeps MS milliseconds before it runs.
struct DelayRule {
  Text member;
  int milliseconds = 0;
};

struct ServerOptions {
  std::vector<Text> progids;  // at least one after parsing
  std::optional<Text> drawing_file;
  bool demo = false;
  int screen_width = 1024;
  int screen_height = 768;
  std::optional<Text> log_file;
  int reject_calls = 0;
  std::vector<FailRule> failures;
  std::vector<DelayRule> delays;
  bool lenient_types = false;
  bool layerstate_overwrite = false;
  bool minimized = false;
  // The document window as a borderless pop-up owned by the application
  // window, instead of its child as in an MDI CAD.
  bool popup_document = false;
  // The objects give no type information (GetTypeInfo answers none), as a
  // server without a type library.
  bool no_type_info = false;
};

inline constexpr char16_t kDefaultProgId[] = u"BricscadApp.AcadApplication";

// The options of `args` (without the program name). Throws plyscan::Failure
// with a one-line message for an unknown option, a missing or malformed value,
// or both --drawing and --demo.
ServerOptions ParseServerOptions(const std::vector<Text>& args);

}  // namespace simcad::server
