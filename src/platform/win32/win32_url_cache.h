#pragma once
// The Internet cache through WinINet's wide-character walk. A walk is WinINet's own find
// handle; each call holds one entry buffer of exactly the size asked for and frees it before
// returning, so walking a cache of any size takes the same memory.
#include "platform/url_cache.h"

namespace qm::win32 {

class Win32UrlCache final : public platform::UrlCache {
  public:
    platform::Status FindFirst(std::uint32_t& size, platform::UrlCacheWalk& walk,
                               platform::UrlCacheEntry& entry) override;
    platform::Status FindNext(platform::UrlCacheWalk walk, std::uint32_t& size,
                              platform::UrlCacheEntry& entry) override;
    void Close(platform::UrlCacheWalk walk) override;
    platform::Status DeleteEntry(std::string_view url) override;
};

}  // namespace qm::win32
