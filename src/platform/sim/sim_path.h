#pragma once
// Turns a Windows path into where it starts and its names, the way Quillmoss's Win32 layer
// hands paths to Windows: either separator, "." and ".." resolved, doubled separators
// dropped, every other name kept exactly (trailing dots and blanks included). Relative paths
// ("a\b", "..\x") resolve against the current folder, rooted ones ("\a") against its drive or
// share, and drive-relative ones ("D:a") against the current folder when it is on that drive,
// else that drive's root, as Windows does. The "\\?\" form ("\\?\C:\...",
// "\\?\UNC\server\share\...") is taken literally apart from its prefix.
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace qm::sim {

struct WindowsPath {
    std::string root;  // "C:" (letter in upper case) or "\\server\share" as written
    std::vector<std::string> names;
};

// `current_folder` is an absolute path. kErrorPathNotFound for an empty path or one that
// starts nowhere (a server without a share, a device); kErrorInvalidName for a name holding a
// character Windows does not allow (wildcards included).
platform::Status ParseWindowsPath(std::string_view path, std::string_view current_folder,
                                  WindowsPath& parsed);

// The path in its plain absolute form: "C:\a\b", "\\server\share\a", "C:\" for a root.
std::string JoinPath(const WindowsPath& path);

// Splits "folder\pattern" at its last separator. A root keeps its separator ("C:\", "\");
// a bare name lies in the current folder (".") and "C:name" in that drive's ("C:").
void SplitLastName(std::string_view path, std::string_view& folder, std::string_view& name);

}  // namespace qm::sim
