// Port: whole-file access, as the target list and the export file need it.
#pragma once

#include <optional>
#include <string>

#include "base/text.h"

namespace plyscan {

// The outcome of a file operation: success, or the operating system's own
// text for the error (as FormatMessage or strerror gives it).
struct FileResult {
  bool ok = true;
  Text error;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  virtual bool Exists(const Text& path) = 0;
  // Reads the whole file; on failure, `bytes` is untouched and the error is returned.
  virtual FileResult ReadAll(const Text& path, std::string& bytes) = 0;
  // Creates or truncates the file and writes `bytes`.
  virtual FileResult WriteAll(const Text& path, const std::string& bytes) = 0;
  virtual FileResult Remove(const Text& path) = 0;
};

}  // namespace plyscan
