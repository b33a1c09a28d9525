#pragma once
// The profile walk: which profile folders the browser's own profile registry ("registry.dat")
// names. It is pure text work so that it can be fuzzed on its own. The content belongs to
// another program and may be damaged or crafted, and the cleaners delete inside every folder
// the walk hands out, so each one is checked to lie strictly inside the Mozilla folder first.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "paths/folder_path.h"

namespace qm::cleaners {

// The browser writes registry.dat in the machine's ANSI code page, not in UTF-8. Each call
// converts a text between the two and is false when the text has no exact counterpart.
struct ProfileCodePage {
    std::function<bool(std::string_view utf8, std::string& bytes)> from_utf8;
    std::function<bool(std::string_view bytes, std::string& utf8)> to_utf8;
};

// The profile folders named in registry.dat's content, in file order, in UTF-8. A profile
// folder is a stretch of the content that starts with the Mozilla folder's path in the code
// page (letter case ignored for ASCII letters) and runs up to and including the next ".slt"
// after it. A stretch that does not convert back, or whose part after the Mozilla folder is
// not a plain relative path (see IsAbsoluteFolderPath), is skipped and the walk goes on after
// its ".slt". The Mozilla folder must itself pass IsAbsoluteFolderPath, end in a backslash and
// be spelt in the code page; otherwise nothing is found.
std::vector<std::string> FindProfileFolders(std::string_view content,
                                            std::string_view mozilla_folder,
                                            const ProfileCodePage& code_page);

}  // namespace qm::cleaners
