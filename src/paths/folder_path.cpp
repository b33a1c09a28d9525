#include "paths/folder_path.h"

#include <cstddef>
#include <cstdint>

#include "paths/ascii_case.h"
#include "platform/utf8.h"

namespace qm::paths {

namespace {

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
    std::size_t next = at;
    return platform::DecodeUtf8(text, next) == platform::kMalformedUtf8 ? 0 : next - at;
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

bool IsDriveLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::vector<std::string_view> SplitAtBackslashes(std::string_view text) {
    std::vector<std::string_view> pieces;
    while (true) {
        const auto slash = text.find('\\');
        pieces.push_back(text.substr(0, slash));
        if (slash == std::string_view::npos) return pieces;
        text.remove_prefix(slash + 1);
    }
}

}  // namespace

std::string AddBackslash(std::string_view path) {
    std::string result(path);
    if (result.empty() || result.back() != '\\') result.push_back('\\');
    return result;
}

std::string UpToFirstNul(std::string text) {
    if (const auto nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
    return text;
}

std::string_view WithoutTrailingBackslash(std::string_view path) {
    if (path.size() > 3 && path.back() == '\\') path.remove_suffix(1);
    return path;
}

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

bool FolderPath::Contains(const FolderPath& other) const {
    if (root != other.root || parts.size() > other.parts.size()) return false;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (parts[i] != other.parts[i]) return false;
    }
    return true;
}

std::optional<FolderPath> ParseFolder(std::string_view path) {
    std::string text = UpperAscii(path);
    for (char& c : text) {
        if (c == '/') c = '\\';
    }
    while (!text.empty() && text.front() == ' ') text.erase(text.begin());
    while (!text.empty() && text.back() == ' ') text.pop_back();

    std::string_view rest = text;
    if (rest.starts_with("\\\\?\\") || rest.starts_with("\\\\.\\")) {
        rest.remove_prefix(4);
        if (rest.starts_with("UNC\\")) {
            rest.remove_prefix(4);
            text = "\\\\" + std::string(rest);
            rest = text;
        }
    }

    FolderPath folder;
    std::vector<std::string_view> pieces;
    if (rest.starts_with("\\\\")) {
        pieces = SplitAtBackslashes(rest.substr(2));
        if (pieces.size() < 2 || pieces[0].empty() || pieces[1].empty()) return std::nullopt;
        folder.root = "\\\\" + std::string(pieces[0]) + "\\" + std::string(pieces[1]);
        pieces.erase(pieces.begin(), pieces.begin() + 2);
    } else if (rest.size() >= 2 && rest[1] == ':' && rest[0] >= 'A' && rest[0] <= 'Z') {
        // "C:" alone or "C:folder" is relative to that drive's current folder.
        if (rest.size() > 2 && rest[2] != '\\') return std::nullopt;
        if (rest.size() == 2) return std::nullopt;
        folder.root = std::string(rest.substr(0, 2));
        pieces = SplitAtBackslashes(rest.substr(3));
    } else {
        return std::nullopt;
    }

    for (const std::string_view piece : pieces) {
        if (piece.empty() || piece == ".") continue;
        if (piece == "..") {
            if (!folder.parts.empty()) folder.parts.pop_back();
            continue;
        }
        folder.parts.emplace_back(piece);
    }
    return folder;
}

}  // namespace qm::paths
