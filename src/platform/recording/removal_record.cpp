#include "platform/recording/removal_record.h"

#include <algorithm>
#include <set>
#include <utility>

namespace qm::recording {

namespace {

// Files, folders and restarts share one name space, registry entries and cache entries theirs.
std::string Place(Removal::Kind kind, std::string_view path, std::string_view value_name) {
    using Kind = Removal::Kind;
    const char space = kind == Kind::RegistryKey || kind == Kind::RegistryValue ? 'r'
                       : kind == Kind::UrlCacheEntry                            ? 'u'
                                                                                : 'f';
    std::string place = space + dry_run::HiddenNames::Fold(path);
    if (kind == Kind::RegistryValue) place.append("\\\x01").append(value_name);
    return place;
}

}  // namespace

void RemovalRecord::Note(Removal::Kind kind, std::string_view path, std::string_view value_name,
                         std::uint64_t size, platform::Status status) {
    if (status == platform::kOk) {
        record_.removed.push_back({kind, std::string(path), std::string(value_name), size});
        return;
    }
    if (status == platform::kErrorFileNotFound || status == platform::kErrorPathNotFound) return;
    if (kind == Removal::Kind::Folder && status == platform::kErrorDirNotEmpty) return;
    record_.failed.push_back({kind, std::string(path), std::string(value_name), status});
}

Removals RemovalRecord::Take() {
    Removals taken = std::exchange(record_, {});
    if (taken.failed.empty()) return taken;
    std::set<std::string> gone;
    for (const Removal& removal : taken.removed)
        gone.insert(Place(removal.kind, removal.path, removal.value_name));
    std::erase_if(taken.failed, [&](const FailedRemoval& failure) {
        return gone.contains(Place(failure.kind, failure.path, failure.value_name));
    });
    // One line for each place, however often it was tried.
    std::set<std::string> told;
    std::erase_if(taken.failed, [&](const FailedRemoval& failure) {
        return !told.insert(Place(failure.kind, failure.path, failure.value_name)).second;
    });
    return taken;
}

}  // namespace qm::recording
