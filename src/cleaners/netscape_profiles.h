#pragma once
// The profile walk: which profile folders the browser's own profile registry ("registry.dat")
// names. It is pure text work so that it can be fuzzed on its own. The content belongs to
// another program and may be damaged or crafted, and the cleaners delete inside every folder
// the walk hands out, so each one is checked to lie strictly inside the Mozilla folder first.
#include <string>
#include <string_view>
#include <vector>

#include "cleaners/folder_path.h"

namespace qm::cleaners {

// The profile folders named in registry.dat's content, in file order. A profile folder is a
// stretch of the content that starts with the Mozilla folder's path (letter case ignored for
// ASCII letters) and runs up to and including the next ".slt" after it. A stretch whose part
// after the Mozilla folder is not a plain relative path (see IsAbsoluteFolderPath) is skipped
// and the walk goes on after its ".slt". The Mozilla folder must itself pass
// IsAbsoluteFolderPath and end in a backslash; otherwise nothing is found.
std::vector<std::string> FindProfileFolders(std::string_view content,
                                            std::string_view mozilla_folder);

}  // namespace qm::cleaners
