#include "platform/dry_run/dry_tally.h"

#include <string_view>

namespace qm::dry_run {

void Tally::Add(const DryDeletion& deletion) {
    using Kind = DryDeletion::Kind;
    if (deletion.kind == Kind::Kept) {
        ++kept;  // stays: no entry that goes
        return;
    }
    ++entries;
    switch (deletion.kind) {
        case Kind::File:
            ++files;
            bytes += deletion.size;
            break;
        case Kind::Rows:
            rows += deletion.size;
            break;
        case Kind::Folder:
            ++folders;
            break;
        case Kind::RegistryKey:
        case Kind::RegistryValue:
            ++registry_entries;
            break;
        case Kind::UrlCacheEntry:
            ++cache_entries;
            break;
        default:
            break;
    }
}

std::string Tally::Text() const {
    return std::to_string(entries) + " entries, " + std::to_string(files) + " files, " +
           std::to_string(bytes) + " bytes" +
           (rows > 0 ? ", " + std::to_string(rows) + " rows" : std::string()) +
           (kept > 0 ? ", " + std::to_string(kept) + " kept" : std::string());
}

std::string Tally::KindsText() const {
    std::string text;
    const auto part = [&text](std::size_t count, std::string_view what) {
        if (count == 0) return;
        text.append(text.empty() ? " (" : ", ").append(std::to_string(count)).append(what);
    };
    part(folders, " folders");
    part(registry_entries, " registry entries");
    part(cache_entries, " cache entries");
    return text.empty() ? text : text + ")";
}

}  // namespace qm::dry_run
