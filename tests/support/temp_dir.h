// A fresh folder for one test, removed with everything in it at the end.
#pragma once

#include <filesystem>
#include <string>

#include "base/text.h"

namespace plyscan::testing {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Root() const { return root_; }
  // The full path of `name` inside the folder, as the program's text.
  Text PathOf(std::string_view name) const;
  // Writes or reads raw bytes of a file inside the folder.
  void Write(std::string_view name, const std::string& bytes) const;
  std::string Read(std::string_view name) const;

 private:
  std::filesystem::path root_;
};

Text PathText(const std::filesystem::path& path);

}  // namespace plyscan::testing
