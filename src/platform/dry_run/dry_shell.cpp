#include "platform/dry_run/dry_shell.h"

#include <algorithm>
#include <string>

namespace qm::dry_run {

using platform::Status;

namespace {

// "&Delete" and its spellings; the accelerator's ampersand is not part of the name.
bool IsDeleteVerb(std::string_view verb) {
    std::string plain;
    for (const char c : verb) {
        if (c != '&') plain.push_back(static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c));
    }
    return plain == "delete";
}

}  // namespace

std::size_t DryShell::RealItem(std::size_t item) const {
    std::size_t real = item;
    for (const std::size_t gone : gone_) {
        if (gone <= real) ++real;
    }
    return real;
}

Status DryShell::HistoryItemCount(std::size_t& count) {
    const Status status = real_.HistoryItemCount(count);
    if (status == platform::kOk) count = count > gone_.size() ? count - gone_.size() : 0;
    return status;
}

Status DryShell::HistoryItemVerbs(std::size_t item, std::vector<std::string>& verbs) {
    return real_.HistoryItemVerbs(RealItem(item), verbs);
}

Status DryShell::InvokeHistoryVerb(std::size_t item, std::size_t verb) {
    const std::size_t real = RealItem(item);
    std::vector<std::string> verbs;
    if (const Status status = real_.HistoryItemVerbs(real, verbs); status != platform::kOk) {
        return status;
    }
    if (verb >= verbs.size()) return platform::kErrorInvalidParameter;
    if (!IsDeleteVerb(verbs[verb])) return platform::kOk;
    record_.push_back({DryDeletion::Kind::HistoryItem, std::to_string(real + 1), "", 0});
    gone_.insert(std::upper_bound(gone_.begin(), gone_.end(), real), real);
    return platform::kOk;
}

void DryShell::ClearRecentDocs() {
    record_.push_back({DryDeletion::Kind::RecentDocuments, "", "", 0});
}

std::int32_t DryShell::EmptyRecycleBin() {
    record_.push_back({DryDeletion::Kind::RecycleBin, "", "", 0});
    return 0;
}

}  // namespace qm::dry_run
