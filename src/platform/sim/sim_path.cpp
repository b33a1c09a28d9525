#include "platform/sim/sim_path.h"

namespace qm::sim {
namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool IsAllowedInName(std::string_view name) {
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 0x20) return false;
        if (std::string_view("<>:\"|?*").find(c) != std::string_view::npos) return false;
    }
    return true;
}

}  // namespace

platform::Status SplitWindowsPath(std::string_view path, std::vector<std::string>& names) {
    names.clear();
    bool literal = false;
    if (path.starts_with("\\\\?\\")) {
        path.remove_prefix(4);
        literal = true;
    }
    if (path.size() < 2 || path[1] != ':') return platform::kErrorPathNotFound;
    if (path[0] != 'C' && path[0] != 'c') return platform::kErrorPathNotFound;
    path.remove_prefix(2);

    std::size_t start = 0;
    while (start < path.size()) {
        std::size_t end = start;
        while (end < path.size() && !(IsSeparator(path[end]) && (!literal || path[end] == '\\'))) {
            ++end;
        }
        std::string name(path.substr(start, end - start));
        start = end + 1;
        if (!literal) {
            if (name == "." || name.empty()) continue;
            if (name == "..") {
                if (!names.empty()) names.pop_back();
                continue;
            }
            while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
            if (name.empty()) continue;
        } else if (name.empty()) {
            continue;
        }
        if (!IsAllowedInName(name)) return platform::kErrorInvalidName;
        names.push_back(std::move(name));
    }
    return platform::kOk;
}

void SplitLastName(std::string_view path, std::string_view& folder, std::string_view& name) {
    const std::size_t cut = path.find_last_of("\\/");
    if (cut == std::string_view::npos) {
        folder = {};
        name = path;
        return;
    }
    folder = path.substr(0, cut);
    name = path.substr(cut + 1);
}

}  // namespace qm::sim
