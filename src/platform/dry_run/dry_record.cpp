#include "platform/dry_run/dry_record.h"

namespace qm::dry_run {

std::string HiddenNames::Fold(std::string_view name) {
    std::string folded;
    folded.reserve(name.size());
    for (std::size_t i = 0; i < name.size(); ++i) {
        char c = name[i];
        // "a\\b" and "a\b" open the same file; a UNC path keeps its two leading backslashes.
        if (c == '\\' && i > 1 && !folded.empty() && folded.back() == '\\') continue;
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        folded.push_back(c);
    }
    while (folded.size() > 1 && folded.back() == '\\') folded.pop_back();
    return folded;
}

template <class Visit>
std::uint64_t HiddenNames::Hash(std::string_view name, Visit&& at_each_parent) {
    const std::string folded = Fold(name);
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (std::size_t i = 0; i < folded.size(); ++i) {
        if (folded[i] == '\\' && i > 0 && !at_each_parent(hash)) return hash;
        hash = (hash ^ static_cast<unsigned char>(folded[i])) * 1099511628211ull;
    }
    return hash;
}

void HiddenNames::Hide(std::string_view name) {
    names_.insert(Hash(name, [](std::uint64_t) { return true; }));
}

bool HiddenNames::ContainsExactly(std::string_view name) const {
    return names_.contains(Hash(name, [](std::uint64_t) { return true; }));
}

bool HiddenNames::Contains(std::string_view name) const {
    if (names_.empty()) return false;
    bool above = false;
    const std::uint64_t hash = Hash(name, [&](std::uint64_t parent) {
        above = names_.contains(parent);
        return !above;
    });
    return above || names_.contains(hash);
}

}  // namespace qm::dry_run
