#include "support/shared_files.h"

#include <algorithm>
#include <cstdlib>

namespace plyscan::testing {

std::optional<std::filesystem::path> SharedDrawings(std::string& why) {
  const char* root = std::getenv("PLYSCAN_SHARED_DIR");
  if (!root || !*root) {
    why = "PLYSCAN_SHARED_DIR is not set: the shared sample drawings are not available";
    return std::nullopt;
  }
  std::filesystem::path folder = std::filesystem::path(root) / "drawings";
  std::error_code ec;
  if (!std::filesystem::is_directory(folder, ec)) {
    why = "no shared drawings at " + folder.string() + ": the checkout has no ../shared beside it";
    return std::nullopt;
  }
  return folder;
}

std::vector<std::filesystem::path> SharedDrawingFiles(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    if (entry.path().extension() == ".dxf") files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace plyscan::testing
