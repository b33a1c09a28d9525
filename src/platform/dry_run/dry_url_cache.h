#pragma once
// The Internet cache as a dry run sees it: walks skip the entries it has "deleted", and a
// deletion is recorded instead of done. The walk keeps the real interface's size probe: an
// entry too big for the caller's buffer is announced and handed over on the next call.
#include <map>
#include <optional>
#include <vector>

#include "platform/dry_run/dry_record.h"
#include "platform/url_cache.h"

namespace qm::dry_run {

class DryUrlCache final : public platform::UrlCache {
  public:
    DryUrlCache(platform::UrlCache& real, std::vector<DryDeletion>& record)
        : real_(real), record_(record) {}
    ~DryUrlCache() override;

    platform::Status FindFirst(std::uint32_t& size, platform::UrlCacheWalk& walk,
                               platform::UrlCacheEntry& entry) override;
    platform::Status FindNext(platform::UrlCacheWalk walk, std::uint32_t& size,
                              platform::UrlCacheEntry& entry) override;
    void Close(platform::UrlCacheWalk walk) override;
    platform::Status DeleteEntry(std::string_view url) override;

  private:
    struct Walk {
        platform::UrlCacheWalk real = 0;
        std::optional<platform::UrlCacheEntry> ahead;  // the next visible entry, not yet taken
        std::uint32_t ahead_size = 0;
    };
    // Fetches the next entry not hidden into walk.ahead; the real walk's status otherwise.
    platform::Status Advance(Walk& walk, bool first);
    platform::Status Hand(Walk& walk, std::uint32_t& size, platform::UrlCacheEntry& entry);

    platform::UrlCache& real_;
    std::vector<DryDeletion>& record_;
    HiddenNames hidden_;
    std::map<platform::UrlCacheWalk, Walk> walks_;
};

}  // namespace qm::dry_run
