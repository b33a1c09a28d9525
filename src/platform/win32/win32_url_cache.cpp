#include "platform/win32/win32_url_cache.h"

namespace qm::win32 {
platform::Status Win32UrlCache::FindFirst(std::uint32_t&, platform::UrlCacheWalk&,
                                          platform::UrlCacheEntry&) {
    return platform::kErrorCallNotImplemented;
}
platform::Status Win32UrlCache::FindNext(platform::UrlCacheWalk, std::uint32_t&,
                                         platform::UrlCacheEntry&) {
    return platform::kErrorCallNotImplemented;
}
void Win32UrlCache::Close(platform::UrlCacheWalk) {}
platform::Status Win32UrlCache::DeleteEntry(std::string_view) {
    return platform::kErrorCallNotImplemented;
}
}  // namespace qm::win32
