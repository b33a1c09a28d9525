#include "browsers/profile_texts.h"

#include <nlohmann/json.hpp>

#include "paths/ascii_case.h"
#include "paths/folder_path.h"

namespace qm::browsers {

namespace {

// Larger than any Local State a browser writes, small enough to read whole.
constexpr std::size_t kMaxJson = 16u << 20;
// The parser descends once per level; a crafted file must not run it out of stack.
constexpr int kMaxDepth = 64;

bool NestsTooDeeply(std::string_view json) {
    int depth = 0;
    bool in_string = false;
    for (std::size_t i = 0; i < json.size(); ++i) {
        const char c = json[i];
        if (in_string) {
            if (c == '\\') {
                ++i;
            } else if (c == '"') {
                in_string = false;
            }
        } else if (c == '"') {
            in_string = true;
        } else if (c == '{' || c == '[') {
            if (++depth > kMaxDepth) return true;
        } else if (c == '}' || c == ']') {
            --depth;
        }
    }
    return false;
}

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

// The JSON text as a value, when it is one a browser could have written.
std::optional<nlohmann::json> Parsed(std::string_view json) {
    if (json.size() > kMaxJson || NestsTooDeeply(json)) return std::nullopt;
    nlohmann::json value = nlohmann::json::parse(json.begin(), json.end(), nullptr, false);
    if (!value.is_object()) return std::nullopt;
    return value;
}

void CollectUrls(const nlohmann::json& node, std::vector<std::string>& urls) {
    if (!node.is_object()) return;
    const auto url = node.find("url");
    if (url != node.end() && url->is_string()) urls.push_back(url->get<std::string>());
    const auto children = node.find("children");
    if (children == node.end() || !children->is_array()) return;
    for (const nlohmann::json& child : *children) CollectUrls(child, urls);
}

}  // namespace

bool IsPlainFolderName(std::string_view name) {
    return !name.empty() && name.find('\\') == std::string_view::npos &&
           paths::HasOnlyPlainNames(name, false);
}

std::optional<std::vector<std::string>> BookmarkedUrls(std::string_view json) {
    const auto file = Parsed(json);
    if (!file) return std::nullopt;
    const auto roots = file->find("roots");
    if (roots == file->end() || !roots->is_object()) return std::nullopt;
    std::vector<std::string> urls;
    for (const auto& [name, root] : roots->items()) CollectUrls(root, urls);
    return urls;
}

std::optional<std::vector<std::string>> ProfilesInLocalState(std::string_view json) {
    const auto parsed = Parsed(json);
    if (!parsed) return std::nullopt;
    const nlohmann::json& state = *parsed;
    const auto profile = state.find("profile");
    if (profile == state.end() || !profile->is_object()) return std::nullopt;
    const auto cache = profile->find("info_cache");
    if (cache == profile->end() || !cache->is_object()) return std::nullopt;
    std::vector<std::string> names;
    for (const auto& [name, info] : cache->items()) {
        if (IsPlainFolderName(name)) names.push_back(name);
    }
    return names;
}

std::vector<IniProfile> ProfilesInIni(std::string_view ini) {
    std::vector<IniProfile> profiles;
    bool in_profile = false, has_path = false;
    IniProfile current;
    if (ini.starts_with("\xEF\xBB\xBF")) ini.remove_prefix(3);  // a byte-order mark
    const auto finish = [&] {
        if (in_profile && has_path) profiles.push_back(current);
        current = {};
        has_path = false;
    };
    while (!ini.empty()) {
        const std::size_t end = ini.find('\n');
        const std::string_view line = Trimmed(ini.substr(0, end));
        ini.remove_prefix(end == std::string_view::npos ? ini.size() : end + 1);
        if (line.starts_with('[')) {
            finish();
            in_profile = paths::UpperAscii(line).starts_with("[PROFILE");
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!in_profile || equals == std::string_view::npos) continue;
        const std::string key = paths::UpperAscii(Trimmed(line.substr(0, equals)));
        const std::string_view value = Trimmed(line.substr(equals + 1));
        if (key == "PATH") {
            current.path = std::string(value);
            has_path = true;
        } else if (key == "ISRELATIVE") {
            current.relative = value == "1";
        }
    }
    finish();
    return profiles;
}

std::optional<std::string> RelativeProfilePath(std::string_view path) {
    std::string windows;
    while (true) {
        const std::size_t slash = path.find_first_of("/\\");
        const std::string_view name = path.substr(0, slash);
        if (!IsPlainFolderName(name)) return std::nullopt;
        windows += name;
        if (slash == std::string_view::npos) return windows;
        windows += '\\';
        path.remove_prefix(slash + 1);
    }
}

}  // namespace qm::browsers
