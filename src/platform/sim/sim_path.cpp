#include "platform/sim/sim_path.h"

namespace qm::sim {
namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool IsDriveLetter(std::string_view path) {
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

bool IsAllowedInName(std::string_view name) {
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 0x20) return false;
        if (std::string_view("<>:\"|?*").find(c) != std::string_view::npos) return false;
    }
    return true;
}

// Adds the names of `rest` to `names`. Taken literally, only a backslash separates and "."
// and ".." are names like any other.
platform::Status AppendNames(std::string_view rest, bool literal, std::vector<std::string>& names) {
    std::size_t start = 0;
    while (start < rest.size()) {
        std::size_t end = start;
        while (end < rest.size() && !(literal ? rest[end] == '\\' : IsSeparator(rest[end]))) ++end;
        std::string name(rest.substr(start, end - start));
        start = end + 1;
        if (name.empty() || (!literal && name == ".")) continue;
        if (!literal && name == "..") {
            if (!names.empty()) names.pop_back();
            continue;
        }
        if (!IsAllowedInName(name)) return platform::kErrorInvalidName;
        names.push_back(std::move(name));
    }
    return platform::kOk;
}

// "\\server\share" and what follows it; false when the share is missing.
bool SplitShare(std::string_view path, bool literal, std::string& root, std::string_view& rest) {
    const auto separator = [&](char c) { return literal ? c == '\\' : IsSeparator(c); };
    std::size_t server_end = 0;
    while (server_end < path.size() && !separator(path[server_end])) ++server_end;
    std::size_t share_end = server_end + 1;
    while (share_end < path.size() && !separator(path[share_end])) ++share_end;
    if (server_end == 0 || share_end > path.size() || share_end == server_end + 1) return false;
    const std::string_view server = path.substr(0, server_end);
    const std::string_view share = path.substr(server_end + 1, share_end - server_end - 1);
    if (!IsAllowedInName(server) || !IsAllowedInName(share)) return false;
    root = "\\\\" + std::string(server) + "\\" + std::string(share);
    rest = path.substr(share_end);
    return true;
}

}  // namespace

platform::Status ParseWindowsPath(std::string_view path, std::string_view current_folder,
                                  WindowsPath& parsed) {
    parsed = {};
    std::string_view rest;
    if (path.starts_with("\\\\?\\")) {
        path.remove_prefix(4);
        if (IsDriveLetter(path)) {
            parsed.root = {static_cast<char>(path[0] & ~0x20), ':'};
            rest = path.substr(2);
        } else if (!path.starts_with("UNC\\") ||
                   !SplitShare(path.substr(4), true, parsed.root, rest)) {
            return platform::kErrorPathNotFound;
        }
        return AppendNames(rest, true, parsed.names);
    }
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        if (!SplitShare(path.substr(2), false, parsed.root, rest)) {
            return platform::kErrorPathNotFound;
        }
        return AppendNames(rest, false, parsed.names);
    }
    if (IsDriveLetter(path)) {
        const char letter = static_cast<char>(path[0] & ~0x20);
        rest = path.substr(2);
        const bool drive_relative = rest.empty() || !IsSeparator(rest[0]);
        if (drive_relative && IsDriveLetter(current_folder) &&
            (current_folder[0] & ~0x20) == letter) {
            const platform::Status status = ParseWindowsPath(current_folder, {}, parsed);
            if (status != platform::kOk) return status;
        } else {
            parsed.root = {letter, ':'};
        }
        return AppendNames(rest, false, parsed.names);
    }
    if (path.empty() || current_folder.empty()) return platform::kErrorPathNotFound;
    const platform::Status status = ParseWindowsPath(current_folder, {}, parsed);
    if (status != platform::kOk) return status;
    if (IsSeparator(path[0])) parsed.names.clear();  // the root of the current drive or share
    return AppendNames(path, false, parsed.names);
}

std::string JoinPath(const WindowsPath& path) {
    std::string joined = path.root;
    for (const std::string& name : path.names) joined += "\\" + name;
    if (path.names.empty()) joined += "\\";
    return joined;
}

void SplitLastName(std::string_view path, std::string_view& folder, std::string_view& name) {
    const std::size_t cut = path.find_last_of("\\/");
    if (cut == std::string_view::npos) {
        const bool drive = IsDriveLetter(path);
        folder = drive ? path.substr(0, 2) : std::string_view(".");
        name = path.substr(drive ? 2 : 0);
        return;
    }
    const bool root = cut == 0 || (cut == 2 && IsDriveLetter(path));
    folder = path.substr(0, root ? cut + 1 : cut);
    name = path.substr(cut + 1);
}

}  // namespace qm::sim
