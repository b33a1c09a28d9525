#pragma once
// Turns a Windows path on drive C: into its names, the way the Win32 layer normalises it:
// either separator, "." and ".." resolved, trailing dots and spaces dropped from names. The
// "\\?\" form is taken literally apart from its prefix, which is how paths longer than
// MAX_PATH reach the file system.
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace qm::sim {

// kErrorPathNotFound for another drive or a path without a drive; kErrorInvalidName for a
// name holding a character Windows does not allow (wildcards included).
platform::Status SplitWindowsPath(std::string_view path, std::vector<std::string>& names);

// Splits "folder\pattern" at its last separator. No separator leaves the folder empty.
void SplitLastName(std::string_view path, std::string_view& folder, std::string_view& name);

}  // namespace qm::sim
