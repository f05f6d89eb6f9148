#include "base/file_paths.h"

namespace plyscan {

namespace {

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

// Index just past the last folder separator (0 when there is none).
std::size_t FileNameStart(TextView path) {
  for (std::size_t i = path.size(); i > 0; --i)
    if (IsSeparator(path[i - 1])) return i;
  return 0;
}

}  // namespace

Text WithExtension(TextView path, TextView extension) {
  const std::size_t name = FileNameStart(path);
  const std::size_t dot = path.rfind(u'.');
  const std::size_t stem_end = dot != TextView::npos && dot >= name ? dot : path.size();
  return Text(path.substr(0, stem_end)) + Text(extension);
}

TextView FolderOf(TextView path) { return path.substr(0, FileNameStart(path)); }

}  // namespace plyscan
