#include "platform/sim/sim_url_cache.h"

#include <algorithm>
#include <stdexcept>

namespace qm::sim {

using platform::Status;

void SimUrlCache::Add(const std::string& url, std::uint32_t type, const std::string& local_file) {
    if (!local_file.empty() && !files_.Exists(local_file)) files_.AddFile(local_file, "", 0);
    const auto same = Named(url);
    if (same != entries_.end()) {
        same->second.type = type;
        same->second.local_file = local_file;
        return;
    }
    const std::uint64_t serial = next_serial_++;
    entries_.emplace(serial, Entry{serial, url, type, local_file, false});
    by_url_.emplace(url, serial);
}

SimUrlCache::Entries::iterator SimUrlCache::Named(std::string_view url) {
    const auto found = by_url_.find(std::string(url));
    return found == by_url_.end() ? entries_.end() : entries_.find(found->second);
}

void SimUrlCache::Lock(const std::string& url) {
    const auto entry = Named(url);
    if (entry == entries_.end()) throw std::invalid_argument("no cache entry to lock: " + url);
    entry->second.locked = true;
}

void SimUrlCache::Unlock(const std::string& url) {
    const auto entry = Named(url);
    if (entry == entries_.end()) return;
    entry->second.locked = false;
    // WinINet marks an entry whose delete it refused and removes it once it is released.
    if (entry->second.pending_delete) Remove(entry);
}

void SimUrlCache::ReleaseLocks() {
    std::vector<std::string> held;
    for (const auto& [serial, entry] : entries_) {
        if (entry.locked) held.push_back(entry.url);
    }
    for (const std::string& url : held) Unlock(url);
}

void SimUrlCache::BreakWalkAt(const std::string& url, Status status, bool at_probe) {
    const auto entry = Named(url);
    if (entry == entries_.end()) throw std::invalid_argument("no cache entry to break: " + url);
    entry->second.walk_fault = status;
    entry->second.fault_at_probe = at_probe;
}

std::vector<std::string> SimUrlCache::Urls() const {
    std::vector<std::string> urls;
    for (const auto& [serial, entry] : entries_) urls.push_back(entry.url);
    return urls;
}

std::uint32_t SimUrlCache::EntrySize(const std::string& url) {
    // The fixed part of INTERNET_CACHE_ENTRY_INFO (80 bytes in a 32-bit process) followed by
    // the URL and its terminator, rounded up to 8 bytes as the real cache aligns its strings.
    const std::uint32_t bytes = 80 + static_cast<std::uint32_t>(url.size()) + 1;
    return (bytes + 7) / 8 * 8;
}

const SimUrlCache::Entry* SimUrlCache::EntryFrom(std::uint64_t serial) const {
    const auto found = entries_.lower_bound(serial);
    return found == entries_.end() ? nullptr : &found->second;
}

Status SimUrlCache::Deliver(const Entry& found, std::uint32_t& size,
                            platform::UrlCacheEntry& entry) {
    const std::uint32_t needed = EntrySize(found.url);
    if (found.walk_fault != platform::kOk && (found.fault_at_probe || size >= needed)) {
        return found.walk_fault;
    }
    if (size < needed) {
        size = needed;
        return platform::kErrorInsufficientBuffer;
    }
    entry.source_url = found.url;
    entry.type = found.type;
    entry.local_file = found.local_file;
    return platform::kOk;
}

Status SimUrlCache::FindFirst(std::uint32_t& size, platform::UrlCacheWalk& walk,
                              platform::UrlCacheEntry& entry) {
    walk = 0;
    const Entry* first = EntryFrom(0);
    if (first == nullptr) return platform::kErrorNoMoreItems;
    if (const Status status = Deliver(*first, size, entry); status != platform::kOk) {
        return status;
    }
    walk = next_walk_;
    next_walk_ += 4;
    walks_[walk] = first->serial + 1;
    return platform::kOk;
}

Status SimUrlCache::FindNext(platform::UrlCacheWalk walk, std::uint32_t& size,
                             platform::UrlCacheEntry& entry) {
    const auto cursor = walks_.find(walk);
    if (cursor == walks_.end()) return platform::kErrorInvalidHandle;
    // The cursor is a position in the order of addition, not an index, so entries deleted
    // behind it (the usual delete-as-you-walk loop) do not make the walk skip one.
    const Entry* next = EntryFrom(cursor->second);
    if (next == nullptr) return platform::kErrorNoMoreItems;
    if (const Status status = Deliver(*next, size, entry); status != platform::kOk) {
        return status;
    }
    cursor->second = next->serial + 1;
    return platform::kOk;
}

void SimUrlCache::Close(platform::UrlCacheWalk walk) {
    walks_.erase(walk);
}

Status SimUrlCache::DeleteEntry(std::string_view url) {
    const auto found = Named(url);
    if (found == entries_.end()) return platform::kErrorFileNotFound;
    if (found->second.locked) {
        found->second.pending_delete = true;
        return platform::kErrorSharingViolation;
    }
    Remove(found);
    return platform::kOk;
}

void SimUrlCache::Remove(Entries::iterator found) {
    const Entry& entry = found->second;
    // The cache owns its local copy; one that some program holds open is left behind.
    if (!entry.local_file.empty() && files_.Exists(entry.local_file)) {
        files_.DeleteTree(entry.local_file);
    }
    deletions_.push_back({Deletion::Kind::UrlCacheEntry, entry.url, ""});
    by_url_.erase(entry.url);
    entries_.erase(found);
}

}  // namespace qm::sim
