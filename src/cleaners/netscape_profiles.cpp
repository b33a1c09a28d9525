#include "cleaners/netscape_profiles.h"

#include <cstddef>
#include <cstdint>

namespace qm::cleaners {

namespace {

constexpr std::string_view kProfileSuffix = ".slt";

char FoldAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Byte-wise search ignoring ASCII letter case. Multi-byte UTF-8 sequences compare exactly,
// which keeps the search from ever matching half a character.
std::size_t FindIgnoringCase(std::string_view text, std::string_view needle, std::size_t from) {
    if (needle.empty() || from > text.size() || needle.size() > text.size() - from) {
        return std::string_view::npos;
    }
    for (std::size_t at = from; at + needle.size() <= text.size(); ++at) {
        std::size_t matched = 0;
        while (matched < needle.size() &&
               FoldAscii(text[at + matched]) == FoldAscii(needle[matched])) {
            ++matched;
        }
        if (matched == needle.size()) return at;
    }
    return std::string_view::npos;
}

bool IsForbiddenInName(unsigned char c) {
    if (c < 0x20) return true;
    switch (c) {
        case '<':
        case '>':
        case '"':
        case '|':
        case '?':
        case '*':
        case '/':  // Windows reads it as a separator, which would hide a ".." name
        case ':':  // a drive or an alternate data stream
            return true;
        default:
            return false;
    }
}

// Length of the well-formed UTF-8 sequence at text[at], or 0 when it is not one (overlong
// forms, surrogates and code points above U+10FFFF included): such bytes would be replaced on
// the way to the wide-character file API, and the path deleted in would not be the one checked.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    std::uint32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07u;
    } else {
        return 0;
    }
    if (text.size() - at < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0u) != 0x80u) return 0;
        code = (code << 6) | (byte(at + i) & 0x3Fu);
    }
    const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    if (overlong || surrogate || code > 0x10FFFF) return 0;
    return length;
}

bool IsPlainName(std::string_view name) {
    if (name.empty() || name.back() == '.' || name.back() == ' ') return false;
    for (std::size_t at = 0; at < name.size();) {
        if (IsForbiddenInName(static_cast<unsigned char>(name[at]))) return false;
        const std::size_t length = Utf8SequenceLength(name, at);
        if (length == 0) return false;
        at += length;
    }
    return true;
}

// Every backslash-separated name of `path` is plain; with `allow_trailing_backslash` one
// backslash may end the path.
bool HasOnlyPlainNames(std::string_view path, bool allow_trailing_backslash) {
    if (allow_trailing_backslash && !path.empty() && path.back() == '\\') path.remove_suffix(1);
    if (path.empty()) return false;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = path.find('\\', start);
        if (!IsPlainName(path.substr(start, end - start))) return false;
        if (end == std::string_view::npos) return true;
        start = end + 1;
    }
}

bool IsDriveLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

bool IsAbsoluteFolderPath(std::string_view path) {
    if (path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == ':' && path[2] == '\\') {
        const std::string_view rest = path.substr(3);
        return rest.empty() || HasOnlyPlainNames(rest, true);
    }
    if (path.size() > 2 && path[0] == '\\' && path[1] == '\\') {
        // "\\server\share" at least; "\\?\" and "\\.\" fail the name rules on their own.
        const std::string_view rest = path.substr(2);
        const std::size_t share = rest.find('\\');
        if (share == std::string_view::npos || share + 1 >= rest.size()) return false;
        return HasOnlyPlainNames(rest, true);
    }
    return false;
}

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
