#include "platform/win32/win32_url_cache.h"

#include "platform/win32/windows_api.h"
// After windows.h, which it needs.
#include <wininet.h>

#include <memory>

#include "platform/win32/wide_text.h"

namespace qm::win32 {

using platform::Status;
using platform::UrlCacheEntry;

namespace {

// One entry's buffer: the fixed record followed by the texts it points into. Held in
// 8-byte units so the record's pointers are aligned whatever size was asked for.
class EntryBuffer {
  public:
    explicit EntryBuffer(std::uint32_t size)
        : words_(size == 0 ? nullptr : std::make_unique<std::uint64_t[]>((size + 7) / 8)) {
        // The record announces its own size, as the narrow call requires and the wide
        // one tolerates.
        if (size >= sizeof(DWORD)) info()->dwStructSize = size;
    }
    INTERNET_CACHE_ENTRY_INFOW* info() {
        return reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(words_.get());
    }

  private:
    std::unique_ptr<std::uint64_t[]> words_;
};

// A buffer too small for the fixed record is no buffer at all to WinINet: it gets none, and
// answers with the size it needs.
std::uint32_t Usable(std::uint32_t size) {
    return size < sizeof(INTERNET_CACHE_ENTRY_INFOW) ? 0 : size;
}

void CopyEntry(const INTERNET_CACHE_ENTRY_INFOW& info, UrlCacheEntry& entry) {
    entry.source_url =
        info.lpszSourceUrlName != nullptr ? ToUtf8(std::wstring_view(info.lpszSourceUrlName)) : "";
    entry.type = info.CacheEntryType;
    entry.local_file =
        info.lpszLocalFileName != nullptr ? ToUtf8(std::wstring_view(info.lpszLocalFileName)) : "";
}

HANDLE ToHandle(platform::UrlCacheWalk walk) {
    return reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(walk));
}

}  // namespace

Status Win32UrlCache::FindFirst(std::uint32_t& size, platform::UrlCacheWalk& walk,
                                UrlCacheEntry& entry) {
    walk = 0;
    size = Usable(size);
    EntryBuffer buffer(size);
    DWORD asked = size;
    const HANDLE found = ::FindFirstUrlCacheEntryW(nullptr, buffer.info(), &asked);
    if (found == nullptr) {
        const Status error = static_cast<Status>(::GetLastError());
        if (error == platform::kErrorInsufficientBuffer) size = asked;
        return error;
    }
    CopyEntry(*buffer.info(), entry);
    walk = static_cast<platform::UrlCacheWalk>(reinterpret_cast<std::uintptr_t>(found));
    return platform::kOk;
}

Status Win32UrlCache::FindNext(platform::UrlCacheWalk walk, std::uint32_t& size,
                               UrlCacheEntry& entry) {
    if (walk == 0) return platform::kErrorInvalidHandle;
    size = Usable(size);
    EntryBuffer buffer(size);
    DWORD asked = size;
    if (!::FindNextUrlCacheEntryW(ToHandle(walk), buffer.info(), &asked)) {
        const Status error = static_cast<Status>(::GetLastError());
        if (error == platform::kErrorInsufficientBuffer) size = asked;
        return error;
    }
    CopyEntry(*buffer.info(), entry);
    return platform::kOk;
}

void Win32UrlCache::Close(platform::UrlCacheWalk walk) {
    if (walk != 0) ::FindCloseUrlCache(ToHandle(walk));
}

Status Win32UrlCache::DeleteEntry(std::string_view url) {
    const std::wstring wide = ToWide(url);
    return ::DeleteUrlCacheEntryW(wide.c_str()) ? platform::kOk
                                                : static_cast<Status>(::GetLastError());
}

}  // namespace qm::win32
