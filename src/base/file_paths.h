// The files beside the executable are named from its path: the same name
// with another extension, or another name in its folder. Both "\" and "/"
// separate folders.
#pragma once

#include "base/text.h"

namespace plyscan {

// The path with the extension of its file name (from its last "." on)
// replaced by `extension`, or `extension` appended when the name has none:
// C:\Tools\scan.exe with ".ini" gives C:\Tools\scan.ini.
[[nodiscard]] Text WithExtension(TextView path, TextView extension);

// The path's folder with its last separator (empty when there is none).
[[nodiscard]] TextView FolderOf(TextView path);

}  // namespace plyscan
