#include "platform/dry_run/dry_hidden_files.h"

#include <algorithm>

namespace qm::dry_run {

namespace {

// A folded path split at its last backslash: the folder and the name in it.
std::pair<std::string_view, std::string_view> Split(std::string_view folded) {
    const std::size_t cut = folded.find_last_of('\\');
    if (cut == std::string_view::npos) return {std::string_view(), folded};
    return {folded.substr(0, cut), folded.substr(cut + 1)};
}

// Two names of one folder meeting in one 64-bit hash is beyond all odds.
std::uint64_t NameHash(std::string_view folded_name) {
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (const char c : folded_name)
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return hash;
}

std::uint64_t RecordedNameHash(const DryDeletion& deletion) {
    return NameHash(Split(HiddenNames::Fold(deletion.path)).second);
}

const std::string& KeyOf(const std::string& key) {
    return key;
}
template <class Entry>
const std::string& KeyOf(const Entry& entry) {
    return entry.first;
}

// Drops the keys of `map` that are `folded` or below it.
template <class Ordered>
void EraseFromHere(Ordered& map, const std::string& folded) {
    map.erase(folded);
    const std::string below = folded + '\\';
    auto first = map.lower_bound(below);
    auto last = first;
    while (last != map.end() && KeyOf(*last).starts_with(below)) ++last;
    map.erase(first, last);
}

}  // namespace

void HiddenFiles::HideFile(std::string_view path, std::size_t at) {
    const std::string folded = HiddenNames::Fold(path);
    const auto [folder, name] = Split(folded);
    auto& ranges = files_.try_emplace(std::string(folder)).first->second.ranges;
    if (!ranges.empty() && ranges.back().second == at) {
        ++ranges.back().second;
    } else {
        ranges.emplace_back(at, at + 1);
    }
    if (cached_ && cached_folder_ == folder) cached_names_.insert(NameHash(name));
}

void HiddenFiles::HideFolder(std::string_view path) {
    const std::string folded = HiddenNames::Fold(path);
    // Everything below is hidden by the folder now.
    EraseFromHere(removed_, folded);
    EraseFromHere(files_, folded);
    removed_.insert(folded);
    cached_ = false;
}

void HiddenFiles::KeepAcrossTake() {
    for (auto& [folder, deleted] : files_) {
        for (const auto& [first, end] : deleted.ranges) {
            for (std::size_t i = first; i < end; ++i) {
                deleted.kept.push_back(RecordedNameHash(record_[i]));
            }
        }
        deleted.ranges.clear();
        std::sort(deleted.kept.begin(), deleted.kept.end());
    }
}

bool HiddenFiles::RemovedExactly(std::string_view folded) const {
    return removed_.contains(folded);
}

bool HiddenFiles::Removed(std::string_view path) const {
    if (removed_.empty()) return false;
    const std::string folded = HiddenNames::Fold(path);
    for (std::size_t i = 1; i < folded.size(); ++i) {
        if (folded[i] == '\\' && RemovedExactly(std::string_view(folded).substr(0, i))) {
            return true;
        }
    }
    return RemovedExactly(folded);
}

bool HiddenFiles::DeletedFile(std::string_view folded) {
    const auto [folder, name] = Split(folded);
    const auto deleted = files_.find(folder);
    if (deleted == files_.end()) return false;
    const std::uint64_t hash = NameHash(name);
    const std::vector<std::uint64_t>& kept = deleted->second.kept;
    if (std::binary_search(kept.begin(), kept.end(), hash)) return true;
    if (deleted->second.ranges.empty()) return false;
    if (!cached_ || cached_folder_ != folder) {
        cached_names_.clear();
        for (const auto& [first, end] : deleted->second.ranges) {
            for (std::size_t i = first; i < end; ++i) {
                cached_names_.insert(RecordedNameHash(record_[i]));
            }
        }
        cached_folder_ = folder;
        cached_ = true;
    }
    return cached_names_.contains(hash);
}

bool HiddenFiles::Deleted(std::string_view path) {
    const std::string folded = HiddenNames::Fold(path);
    return RemovedExactly(folded) || DeletedFile(folded);
}

bool HiddenFiles::Covers(std::string_view path) {
    const std::string folded = HiddenNames::Fold(path);
    for (std::size_t i = 1; i < folded.size(); ++i) {
        if (folded[i] != '\\') continue;
        const std::string_view above = std::string_view(folded).substr(0, i);
        if (RemovedExactly(above) || DeletedFile(above)) return true;
    }
    return RemovedExactly(folded) || DeletedFile(folded);
}

}  // namespace qm::dry_run
