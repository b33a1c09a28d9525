#pragma once
// The Internet cache through WinINet's wide-character walk.
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
