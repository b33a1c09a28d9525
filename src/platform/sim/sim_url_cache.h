#pragma once
// The Internet cache in memory: entries in the order they were added, walks that survive
// deletions, and the size probe of the real interface.
#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/sim/machine.h"
#include "platform/sim/sim_file_system.h"
#include "platform/url_cache.h"

namespace qm::sim {

class SimUrlCache final : public platform::UrlCache {
  public:
    SimUrlCache(SimFileSystem& files, std::vector<Deletion>& deletions)
        : files_(files), deletions_(deletions) {}

    // Test set-up; adding a URL that is already there replaces its entry in place.
    void Add(const std::string& url, std::uint32_t type, const std::string& local_file);
    // Throws std::invalid_argument for a URL that is not in the cache.
    void Lock(const std::string& url);
    // The entry is no longer in use; if a delete was refused meanwhile, it goes now.
    void Unlock(const std::string& url);
    // A restart ends the programs that held entries.
    void ReleaseLocks();
    std::vector<std::string> Urls() const;
    static std::uint32_t EntrySize(const std::string& url);
    // From now on a walk that reaches `url` fails there with `status`: at the size probe, or
    // (at_probe false) only at the fetch that follows it, as when the entry changes between
    // the two calls. Throws std::invalid_argument for a URL that is not in the cache.
    void BreakWalkAt(const std::string& url, platform::Status status, bool at_probe);
    std::size_t open_walks() const { return walks_.size(); }

    platform::Status FindFirst(std::uint32_t& size, platform::UrlCacheWalk& walk,
                               platform::UrlCacheEntry& entry) override;
    platform::Status FindNext(platform::UrlCacheWalk walk, std::uint32_t& size,
                              platform::UrlCacheEntry& entry) override;
    void Close(platform::UrlCacheWalk walk) override;
    platform::Status DeleteEntry(std::string_view url) override;

  private:
    struct Entry {
        std::uint64_t serial = 0;  // grows with each addition; walks remember the next one
        std::string url;
        std::uint32_t type = 0;
        std::string local_file;
        bool locked = false;
        bool pending_delete = false;  // refused while in use: goes once released
        platform::Status walk_fault = platform::kOk;
        bool fault_at_probe = false;
    };

    using Entries = std::map<std::uint64_t, Entry>;  // by serial: the order of addition
    Entries::iterator Named(std::string_view url);
    void Remove(Entries::iterator entry);
    // The first entry added at or after `serial`, or null.
    const Entry* EntryFrom(std::uint64_t serial) const;
    // Fills `entry` from `found` when `size` is enough; otherwise reports the size it needs.
    static platform::Status Deliver(const Entry& found, std::uint32_t& size,
                                    platform::UrlCacheEntry& entry);

    SimFileSystem& files_;
    std::vector<Deletion>& deletions_;
    // Ordered by serial, with an index by URL, so that adding, finding and walking stay
    // cheap in a cache of a hundred thousand entries.
    Entries entries_;
    std::unordered_map<std::string, std::uint64_t> by_url_;
    std::uint64_t next_serial_ = 1;
    std::map<platform::UrlCacheWalk, std::uint64_t> walks_;  // walk -> serial of its next entry
    platform::UrlCacheWalk next_walk_ = 0x2000;
};

}  // namespace qm::sim
