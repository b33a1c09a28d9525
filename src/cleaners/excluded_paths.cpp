#include "cleaners/excluded_paths.h"

#include "cleaners/name_pattern.h"
#include "paths/ascii_case.h"
#include "paths/folder_path.h"

namespace qm::cleaners {

namespace {

constexpr char kSeparator = '|';

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// The folded text of a folder: two spellings of one folder give the same key.
std::string KeyOf(const paths::FolderPath& folder) {
    std::string key = folder.root;
    for (const std::string& part : folder.parts) key += "\\" + part;
    return key;
}

// "C:\a\b" -> {"C:\a", "b"}; a drive or share root keeps everything on it: {"C:\", "*"}.
struct Split {
    std::string folder;
    std::string name;
};
std::optional<Split> SplitEntry(std::string_view path) {
    if (path.find_first_of("*?") == std::string_view::npos) {
        const std::optional<paths::FolderPath> whole = paths::ParseFolder(path);
        if (whole && whole->IsRoot()) return Split{whole->root + "\\", "*"};
    }
    const std::string_view bare = paths::WithoutTrailingBackslash(path);
    const std::size_t cut = bare.find_last_of('\\');
    if (cut == std::string_view::npos || cut + 1 >= bare.size()) return std::nullopt;
    std::string folder(bare.substr(0, cut));
    if (folder.size() == 2 && folder[1] == ':') folder += '\\';
    return Split{folder, std::string(bare.substr(cut + 1))};
}

}  // namespace

bool ExcludedPaths::IsValidEntry(std::string_view path) {
    path = Trimmed(path);
    const std::optional<Split> split = SplitEntry(path);
    if (!split || !paths::IsAbsoluteFolderPath(split->folder)) return false;
    if (split->folder.find_first_of("*?") != std::string::npos) return false;
    // The last name may hold wildcards; otherwise it follows the folder's rules.
    std::string name = split->name;
    for (char& c : name) {
        if (c == '*' || c == '?') c = 'x';
    }
    return paths::IsAbsoluteFolderPath(paths::AddBackslash(split->folder) + name);
}

ExcludedPaths ExcludedPaths::Parse(std::string_view text) {
    ExcludedPaths excluded;
    while (!text.empty()) {
        const std::size_t cut = text.find(kSeparator);
        const std::string_view raw = Trimmed(text.substr(0, cut));
        text = cut == std::string_view::npos ? std::string_view() : text.substr(cut + 1);
        if (!IsValidEntry(raw)) continue;
        const std::optional<Split> split = SplitEntry(raw);
        const std::optional<paths::FolderPath> folder = paths::ParseFolder(split->folder);
        if (!folder) continue;
        excluded.paths_.emplace_back(raw);
        excluded.entries_.push_back(
            {KeyOf(*folder), split->folder, split->name, std::nullopt, false});
    }
    return excluded;
}

std::string ExcludedPaths::Join(const std::vector<std::string>& paths) {
    std::string text;
    for (const std::string& path : paths) {
        if (!text.empty()) text += kSeparator;
        text += path;
    }
    return text;
}

const ExcludedPaths::FolderFacts& ExcludedPaths::FactsOf(std::string_view folder,
                                                         platform::FileSystem& files) {
    std::string cache_key = paths::UpperAscii(folder);
    if (const auto found = folders_.find(cache_key); found != folders_.end()) return found->second;
    FolderFacts facts;
    // A folder that is no full path (a server with no share) is below no entry's folder, and
    // is not asked about: that would be a question to the network.
    if (const std::optional<paths::FolderPath> parsed = paths::ParseFolder(folder)) {
        facts.key = KeyOf(*parsed);
        platform::FileIdentity identity;
        if (files.GetIdentity(folder, identity) == platform::kOk) facts.identity = identity;
    }
    return folders_.emplace(std::move(cache_key), std::move(facts)).first->second;
}

std::optional<std::string_view> ExcludedPaths::PlaceOf(std::string_view path,
                                                       platform::FileSystem& files) {
    if (entries_.empty()) return std::nullopt;
    for (Entry& entry : entries_) {
        if (entry.identity_looked_up) continue;
        entry.identity_looked_up = true;
        platform::FileIdentity identity;
        if (files.GetIdentity(entry.folder_text, identity) == platform::kOk) {
            entry.folder_identity = identity;
        }
    }
    std::string_view rest = paths::WithoutTrailingBackslash(path);
    for (;;) {
        const std::size_t cut = rest.find_last_of("\\/");
        if (cut == std::string_view::npos || cut + 1 >= rest.size()) return std::nullopt;
        const std::string_view name = rest.substr(cut + 1);
        std::string folder(rest.substr(0, cut));
        if (folder.size() == 2 && folder[1] == ':') folder += '\\';
        const FolderFacts& facts = FactsOf(folder, files);
        if (facts.key.empty()) return std::nullopt;
        for (const Entry& entry : entries_) {
            const bool same_folder = (!facts.key.empty() && facts.key == entry.folder_key) ||
                                     (facts.identity && entry.folder_identity &&
                                      *facts.identity == *entry.folder_identity);
            if (same_folder && MatchesPattern(name, entry.pattern)) return rest;
        }
        rest = rest.substr(0, cut);
    }
}

}  // namespace qm::cleaners
