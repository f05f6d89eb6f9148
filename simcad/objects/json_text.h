// A small JSON writer for the state report: values appended in order, with
// the commas placed by the writer. Texts are escaped as JSON requires.
#pragma once

#include <cstdint>
#include <vector>

#include "simcad/drawing/drawing.h"

namespace simcad {

class JsonText {
 public:
  JsonText& BeginObject();
  JsonText& EndObject();
  JsonText& BeginArray();
  JsonText& EndArray();
  JsonText& Key(TextView key);
  JsonText& String(TextView value);
  JsonText& Number(double value);  // null when not finite
  JsonText& Integer(std::int64_t value);
  JsonText& Bool(bool value);

  const Text& Result() const noexcept { return out_; }

 private:
  void BeforeValue();
  void Raw(const char* ascii);

  Text out_;
  std::vector<bool> needs_comma_;
  bool after_key_ = false;
};

}  // namespace simcad
