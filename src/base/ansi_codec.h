// Port: the system's ANSI code page (code page 932 on a Japanese system; the
// headless adapter always uses 932).
#pragma once

#include <string>

#include "base/text.h"

namespace plyscan {

class AnsiCodec {
 public:
  virtual ~AnsiCodec() = default;
  // Never fails: bytes that do not decode become the code page's default character.
  virtual Text Decode(const std::string& bytes) = 0;
  virtual std::string Encode(TextView text) = 0;
};

}  // namespace plyscan
