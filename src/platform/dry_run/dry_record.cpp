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

void HiddenNames::Hide(std::string_view name) {
    names_.insert(Fold(name));
}

bool HiddenNames::ContainsExactly(std::string_view name) const {
    return names_.contains(Fold(name));
}

bool HiddenNames::Contains(std::string_view name) const {
    if (names_.empty()) return false;
    const std::string folded = Fold(name);
    for (std::size_t cut = folded.find('\\', 0); cut != std::string::npos;
         cut = folded.find('\\', cut + 1)) {
        if (cut > 0 && names_.contains(folded.substr(0, cut))) return true;
    }
    return names_.contains(folded);
}

}  // namespace qm::dry_run
