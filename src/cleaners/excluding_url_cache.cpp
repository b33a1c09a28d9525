#include "cleaners/excluding_url_cache.h"

namespace qm::cleaners {

platform::Status ExcludingUrlCache::Note(platform::Status status,
                                         const platform::UrlCacheEntry& entry) {
    if (status == platform::kOk && files_.excludes_any() && !entry.local_file.empty()) {
        local_files_[entry.source_url] = entry.local_file;
    }
    return status;
}

platform::Status ExcludingUrlCache::DeleteEntry(std::string_view url) {
    if (files_.excludes_any()) {
        const auto found = local_files_.find(std::string(url));
        if (found != local_files_.end() && files_.KeepsPlace(found->second)) return platform::kOk;
    }
    return real_.DeleteEntry(url);
}

}  // namespace qm::cleaners
