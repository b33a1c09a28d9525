#include "cleaners/netscape_profiles.h"

#include <cstddef>

#include "cleaners/ascii_case.h"

namespace qm::cleaners {

namespace {

constexpr std::string_view kProfileSuffix = ".slt";

// Byte-wise search ignoring ASCII letter case. Multi-byte UTF-8 sequences compare exactly,
// which keeps the search from ever matching half a character.
std::size_t FindIgnoringCase(std::string_view text, std::string_view needle, std::size_t from) {
    if (needle.empty() || from > text.size() || needle.size() > text.size() - from) {
        return std::string_view::npos;
    }
    for (std::size_t at = from; at + needle.size() <= text.size(); ++at) {
        std::size_t matched = 0;
        while (matched < needle.size() &&
               SameIgnoringAsciiCase(text[at + matched], needle[matched])) {
            ++matched;
        }
        if (matched == needle.size()) return at;
    }
    return std::string_view::npos;
}

}  // namespace

std::vector<std::string> FindProfileFolders(std::string_view content,
                                            std::string_view mozilla_folder) {
    std::vector<std::string> folders;
    if (!IsAbsoluteFolderPath(mozilla_folder) || mozilla_folder.back() != '\\') return folders;

    std::size_t found = FindIgnoringCase(content, mozilla_folder, 0);
    while (found != std::string_view::npos) {
        // The ".slt" is looked for after the Mozilla folder's own path: a ".slt" inside that
        // path (a user folder named so) would otherwise end the profile above the Mozilla folder.
        const std::size_t inside = found + mozilla_folder.size();
        const std::size_t suffix = FindIgnoringCase(content, kProfileSuffix, inside);
        if (suffix == std::string_view::npos) break;
        const std::size_t end = suffix + kProfileSuffix.size();
        if (HasOnlyPlainNames(content.substr(inside, end - inside), false)) {
            folders.emplace_back(content.substr(found, end - found));
        }
        found = FindIgnoringCase(content, mozilla_folder, end);
    }
    return folders;
}

}  // namespace qm::cleaners
