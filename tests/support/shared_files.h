// The sample drawings made outside this project live in ../shared/drawings
// beside the checkout (PLYSCAN_SHARED_DIR points there); a test that needs one
// skips, saying why, where they are absent.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace plyscan::testing {

// The drawings folder, or nullopt with `why` set.
std::optional<std::filesystem::path> SharedDrawings(std::string& why);

// Every *.dxf in the folder, sorted by name.
std::vector<std::filesystem::path> SharedDrawingFiles(const std::filesystem::path& folder);

}  // namespace plyscan::testing

// Skips the current test when the shared drawings are absent.
#define PLYSCAN_REQUIRE_SHARED_DRAWINGS(var)                                   \
  std::string var##_why;                                                       \
  const auto var##_opt = ::plyscan::testing::SharedDrawings(var##_why);        \
  if (!var##_opt) GTEST_SKIP() << var##_why;                                   \
  const std::filesystem::path& var = *var##_opt
