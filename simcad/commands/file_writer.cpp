#include "simcad/commands/file_writer.h"

#include <filesystem>
#include <fstream>

namespace simcad {

bool DiskFileWriter::Write(const Text& path, const std::string& bytes) {
  try {
    std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace simcad
