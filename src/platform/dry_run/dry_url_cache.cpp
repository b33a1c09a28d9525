#include "platform/dry_run/dry_url_cache.h"

#include <utility>

namespace qm::dry_run {

using platform::Status;
using platform::UrlCacheEntry;
using platform::UrlCacheWalk;

namespace {

// URLs hold backslashes and letter case of their own: each is one name, kept apart from the
// folder rules of HiddenNames by a prefix no path has.
std::string CacheName(std::string_view url) {
    std::string name("\x01");
    for (const char c : url) name.push_back(c == '\\' ? '\x02' : c);
    return name;
}

}  // namespace

DryUrlCache::~DryUrlCache() {
    for (const auto& [id, walk] : walks_) real_.Close(walk.real);
}

Status DryUrlCache::Advance(Walk& walk, bool first) {
    while (true) {
        std::uint32_t size = 0;
        UrlCacheEntry entry;
        Status status = first ? real_.FindFirst(size, walk.real, entry)
                              : real_.FindNext(walk.real, size, entry);
        if (status == platform::kErrorInsufficientBuffer) {
            status = first ? real_.FindFirst(size, walk.real, entry)
                           : real_.FindNext(walk.real, size, entry);
        }
        if (status != platform::kOk) return status;
        first = false;
        if (hidden_.ContainsExactly(CacheName(entry.source_url))) continue;
        walk.ahead = std::move(entry);
        walk.ahead_size = size;
        return platform::kOk;
    }
}

Status DryUrlCache::Hand(Walk& walk, std::uint32_t& size, UrlCacheEntry& entry) {
    if (size < walk.ahead_size) {
        size = walk.ahead_size;
        return platform::kErrorInsufficientBuffer;
    }
    entry = std::move(*walk.ahead);
    walk.ahead.reset();
    return platform::kOk;
}

Status DryUrlCache::FindFirst(std::uint32_t& size, UrlCacheWalk& walk, UrlCacheEntry& entry) {
    Walk opened;
    if (const Status status = Advance(opened, true); status != platform::kOk) {
        if (opened.real != 0) real_.Close(opened.real);
        return status;
    }
    // Too small a buffer opens no walk, as with the real call.
    if (size < opened.ahead_size) {
        real_.Close(opened.real);
        size = opened.ahead_size;
        return platform::kErrorInsufficientBuffer;
    }
    Hand(opened, size, entry);
    walk = opened.real;
    walks_[walk] = std::move(opened);
    return platform::kOk;
}

Status DryUrlCache::FindNext(UrlCacheWalk walk, std::uint32_t& size, UrlCacheEntry& entry) {
    const auto found = walks_.find(walk);
    if (found == walks_.end()) return platform::kErrorInvalidHandle;
    if (!found->second.ahead) {
        if (const Status status = Advance(found->second, false); status != platform::kOk) {
            return status;
        }
    }
    return Hand(found->second, size, entry);
}

void DryUrlCache::Close(UrlCacheWalk walk) {
    const auto found = walks_.find(walk);
    if (found == walks_.end()) return;
    real_.Close(found->second.real);
    walks_.erase(found);
}

Status DryUrlCache::DeleteEntry(std::string_view url) {
    const std::string name = CacheName(url);
    if (hidden_.ContainsExactly(name)) return platform::kErrorFileNotFound;
    record_.push_back({DryDeletion::Kind::UrlCacheEntry, std::string(url), "", 0});
    hidden_.Hide(name);
    return platform::kOk;
}

}  // namespace qm::dry_run
