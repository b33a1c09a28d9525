#include "cleaners/netscape_profiles.h"

#include <cstddef>

#include "paths/ascii_case.h"

namespace qm::cleaners {

namespace {

constexpr std::string_view kProfileSuffix = ".slt";

// Byte-wise search ignoring ASCII letter case; other bytes compare exactly. In the double-byte
// code pages (932, 936, 949, 950) a trail byte may be an ASCII letter or a backslash, so a
// match could start or end inside a character there; such a stretch would have to convert
// back and pass the plain-names check all the same, and is not guarded against further.
std::size_t FindIgnoringCase(std::string_view text, std::string_view needle, std::size_t from) {
    if (needle.empty() || from > text.size() || needle.size() > text.size() - from) {
        return std::string_view::npos;
    }
    for (std::size_t at = from; at + needle.size() <= text.size(); ++at) {
        std::size_t matched = 0;
        while (matched < needle.size() &&
               paths::SameIgnoringAsciiCase(text[at + matched], needle[matched])) {
            ++matched;
        }
        if (matched == needle.size()) return at;
    }
    return std::string_view::npos;
}

}  // namespace

std::vector<std::string> FindProfileFolders(std::string_view content,
                                            std::string_view mozilla_folder,
                                            const ProfileCodePage& code_page) {
    std::vector<std::string> folders;
    if (!paths::IsAbsoluteFolderPath(mozilla_folder) || mozilla_folder.back() != '\\')
        return folders;
    // A folder the code page cannot spell is one the browser could not have written down.
    std::string needle;
    if (!code_page.from_utf8(mozilla_folder, needle) || needle.empty()) return folders;

    std::size_t found = FindIgnoringCase(content, needle, 0);
    while (found != std::string_view::npos) {
        // The ".slt" is looked for after the Mozilla folder's own path: a ".slt" inside that
        // path (a user folder named so) would otherwise end the profile above the Mozilla folder.
        const std::size_t inside = found + needle.size();
        const std::size_t suffix = FindIgnoringCase(content, kProfileSuffix, inside);
        if (suffix == std::string_view::npos) break;
        const std::size_t end = suffix + kProfileSuffix.size();
        // The names are judged once converted: that is the path the cleaners will delete in.
        std::string head;
        std::string rest;
        if (code_page.to_utf8(content.substr(found, needle.size()), head) &&
            code_page.to_utf8(content.substr(inside, end - inside), rest) &&
            paths::HasOnlyPlainNames(rest, false)) {
            folders.push_back(head + rest);
        }
        found = FindIgnoringCase(content, needle, end);
    }
    return folders;
}

}  // namespace qm::cleaners
