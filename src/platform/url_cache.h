#pragma once
// The Internet cache (WinINet's URL cache) as the cleaners walk it: one entry at a time, with
// the size probe of the real interface, so a cache of any size is walked in constant memory.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/status.h"

namespace qm::platform {

namespace cache_entry {
inline constexpr std::uint32_t kNormal = 0x00000001;      // NORMAL_CACHE_ENTRY
inline constexpr std::uint32_t kSticky = 0x00000004;      // STICKY_CACHE_ENTRY
inline constexpr std::uint32_t kCookie = 0x00100000;      // COOKIE_CACHE_ENTRY
inline constexpr std::uint32_t kUrlHistory = 0x00200000;  // URLHISTORY_CACHE_ENTRY
}  // namespace cache_entry

struct UrlCacheEntry {
    std::string source_url;
    std::uint32_t type = 0;  // the entry type bits
    std::string local_file;  // the cache's copy of it on disk; empty when it has none
};

// An open walk. 0 is never a valid walk.
using UrlCacheWalk = std::uint64_t;

class UrlCache {
  public:
    virtual ~UrlCache() = default;

    // FindFirstUrlCacheEntry without a search pattern. `size` is the caller's buffer size in
    // bytes: when the first entry needs more, the call fails with kErrorInsufficientBuffer
    // and sets `size` to what it needs, opening no walk; otherwise it fills `entry`, opens
    // `walk` and returns kOk. An empty cache gives kErrorNoMoreItems.
    virtual Status FindFirst(std::uint32_t& size, UrlCacheWalk& walk, UrlCacheEntry& entry) = 0;
    // FindNextUrlCacheEntry: the same size rule, without moving on when the buffer is too
    // small; kErrorNoMoreItems after the last entry.
    virtual Status FindNext(UrlCacheWalk walk, std::uint32_t& size, UrlCacheEntry& entry) = 0;
    virtual void Close(UrlCacheWalk walk) = 0;
    // DeleteUrlCacheEntry; an entry in use is refused and stays.
    virtual Status DeleteEntry(std::string_view url) = 0;
};

}  // namespace qm::platform
