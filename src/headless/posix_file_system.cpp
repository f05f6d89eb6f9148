// Headless file access over POSIX; paths are UTF-8 on disk, errors are
// strerror's text.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/files.h"
#include "base/platform.h"

namespace plyscan {

namespace {

FileResult Error(int code) { return {false, FromUtf8(std::strerror(code))}; }

class ScopedFd {
 public:
  explicit ScopedFd(int fd) noexcept : fd_(fd) {}
  ~ScopedFd() {
    if (fd_ >= 0) ::close(fd_);
  }
  ScopedFd(const ScopedFd&) = delete;
  ScopedFd& operator=(const ScopedFd&) = delete;

  int get() const noexcept { return fd_; }
  bool valid() const noexcept { return fd_ >= 0; }
  // Closes now, so that a failed close (a full disk on write-back) is seen.
  int Close() noexcept {
    const int result = ::close(fd_);
    fd_ = -1;
    return result;
  }

 private:
  int fd_;
};

class PosixFileSystem final : public FileSystem {
 public:
  bool Exists(const Text& path) override {
    struct stat info {};
    return ::stat(ToUtf8(path).c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
  }

  FileResult ReadAll(const Text& path, std::string& bytes) override {
    ScopedFd fd(::open(ToUtf8(path).c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid()) return Error(errno);
    std::string content;
    struct stat info {};
    if (::fstat(fd.get(), &info) == 0 && info.st_size > 0) content.reserve(static_cast<std::size_t>(info.st_size));
    char chunk[65536];
    for (;;) {
      const ssize_t got = ::read(fd.get(), chunk, sizeof chunk);
      if (got < 0) {
        if (errno == EINTR) continue;
        return Error(errno);
      }
      if (got == 0) break;
      content.append(chunk, static_cast<std::size_t>(got));
    }
    bytes = std::move(content);
    return {};
  }

  FileResult WriteAll(const Text& path, const std::string& bytes) override {
    ScopedFd fd(::open(ToUtf8(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (!fd.valid()) return Error(errno);
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t put = ::write(fd.get(), bytes.data() + done, bytes.size() - done);
      if (put < 0) {
        if (errno == EINTR) continue;
        return Error(errno);
      }
      done += static_cast<std::size_t>(put);
    }
    if (fd.Close() != 0) return Error(errno);
    return {};
  }

  FileResult Remove(const Text& path) override {
    if (::unlink(ToUtf8(path).c_str()) != 0) return Error(errno);
    return {};
  }
};

}  // namespace

FileSystem& SystemFiles() {
  static PosixFileSystem files;
  return files;
}

}  // namespace plyscan
