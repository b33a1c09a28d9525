#pragma once
// The Internet cache as the items see it while places are excluded: an entry whose copy on
// disk lies in an excluded place is not deleted (the cache's own call would take the file
// with it); the call answers "done", as the excluded files do, so the walk goes on.
#include <string>
#include <unordered_map>

#include "cleaners/excluding_files.h"
#include "platform/url_cache.h"

namespace qm::cleaners {

class ExcludingUrlCache final : public platform::UrlCache {
  public:
    ExcludingUrlCache(platform::UrlCache& real, ExcludingFiles& files)
        : real_(real), files_(files) {}

    platform::Status FindFirst(std::uint32_t& size, platform::UrlCacheWalk& walk,
                               platform::UrlCacheEntry& entry) override {
        // A new walk lists the cache as it is now; what an older one saw is forgotten.
        if (size == 0) local_files_.clear();
        return Note(real_.FindFirst(size, walk, entry), entry);
    }
    platform::Status FindNext(platform::UrlCacheWalk walk, std::uint32_t& size,
                              platform::UrlCacheEntry& entry) override {
        return Note(real_.FindNext(walk, size, entry), entry);
    }
    void Close(platform::UrlCacheWalk walk) override { real_.Close(walk); }
    platform::Status DeleteEntry(std::string_view url) override;

  private:
    // Remembers where an entry keeps its copy, while any place is excluded.
    platform::Status Note(platform::Status status, const platform::UrlCacheEntry& entry);

    platform::UrlCache& real_;
    ExcludingFiles& files_;
    std::unordered_map<std::string, std::string> local_files_;  // source URL -> its copy
};

}  // namespace qm::cleaners
