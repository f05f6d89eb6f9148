#include "support/temp_dir.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace plyscan::testing {

namespace {
std::atomic<unsigned> counter{0};
}

TempDir::TempDir() {
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  root_ = std::filesystem::temp_directory_path() /
          ("plyscan-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
  std::filesystem::create_directories(root_);
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

Text PathText(const std::filesystem::path& path) {
  const auto u8 = path.u8string();
  return FromUtf8(std::string(u8.begin(), u8.end()));
}

Text TempDir::PathOf(std::string_view name) const { return PathText(root_ / name); }

void TempDir::Write(std::string_view name, const std::string& bytes) const {
  std::ofstream out(root_ / name, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write test file");
}

std::string TempDir::Read(std::string_view name) const {
  std::ifstream in(root_ / name, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read test file");
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace plyscan::testing
