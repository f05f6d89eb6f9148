// Port: writes a whole file. _BMPOUT writes through it, so that tests can
// capture the bytes and the server writes real files.
#pragma once

#include <string>

#include "simcad/drawing/drawing.h"

namespace simcad {

class FileWriter {
 public:
  virtual ~FileWriter() = default;
  // Creates or truncates the file and writes `bytes`; false when it could not.
  [[nodiscard]] virtual bool Write(const Text& path, const std::string& bytes) = 0;
};

// Writes real files with the standard library (wide paths on Windows).
class DiskFileWriter final : public FileWriter {
 public:
  bool Write(const Text& path, const std::string& bytes) override;
};

}  // namespace simcad
