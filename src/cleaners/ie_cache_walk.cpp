// The Internet cache: its entries walked one at a time, and the files it keeps on disk.
#include "cleaners/folder_guard.h"
#include "cleaners/ie_cleaners.h"
#include "cleaners/name_pattern.h"
#include "cleaners/reparse_point.h"
#include "paths/folder_path.h"

namespace qm::cleaners {

using platform::DirEntry;
using platform::UrlCacheEntry;
using platform::UrlCacheWalk;
namespace attr = platform::attr;

namespace {

// The listing CleanIECacheFiles makes of Content.IE5: folders and system entries; hidden
// entries stay out of sight.
constexpr std::uint32_t kFoldersAndSystem = attr::kDirectory | attr::kSystem;

// A history record ("Visited:") may carry the normal bit as well, and a walk without a
// pattern reaches it wherever the history container is walked too (as in Wine's cache). It
// belongs to the history item, not to the cache and cookie items that list entries here.
bool IsNormalEntry(const UrlCacheEntry& entry) {
    return (entry.type & platform::cache_entry::kNormal) != 0 &&
           (entry.type & platform::cache_entry::kUrlHistory) == 0;
}

}  // namespace

void IECleaners::ListUrlCacheEntries(std::vector<std::string>& lst_cache) {
    lst_cache.clear();
    platform::UrlCache& cache = platform_.url_cache;

    // Each entry is fetched twice: first with no room, to learn its size, then with exactly
    // that size. The walk thus holds one entry at a time, whatever the size of the cache.
    std::uint32_t size = 0;
    UrlCacheWalk walk = 0;
    UrlCacheEntry entry;
    // Anything but "too small" here means an empty cache or a failure: nothing to list.
    if (cache.FindFirst(size, walk, entry) != platform::kErrorInsufficientBuffer) return;
    if (cache.FindFirst(size, walk, entry) != platform::kOk) return;

    while (true) {
        // Cookies, history records and other special entries are not ours to list.
        if (IsNormalEntry(entry)) lst_cache.push_back(entry.source_url);
        entry = {};
        size = 0;
        if (cache.FindNext(walk, size, entry) != platform::kErrorInsufficientBuffer) break;
        if (cache.FindNext(walk, size, entry) != platform::kOk) break;
    }
    cache.Close(walk);
}

void IECleaners::DeleteEachListedEntry(const std::vector<std::string>& lst_cache) {
    // An entry in use is refused and stays; that is no reason to keep the others.
    for (const std::string& url : lst_cache) platform_.url_cache.DeleteEntry(url);
}

void IECleaners::DeleteListedCacheEntries(std::vector<std::string>& lst_cache) {
    DeleteEachListedEntry(lst_cache);
    lst_cache.clear();
}

void IECleaners::CleanIECacheFiles() {
    // With the cache folder unknown the path would be "\Content.IE5\" at the root of the
    // drive, which is no cache of ours.
    const std::string cache_folder = file_tools_.GetInternetCacheFolder();
    if (cache_folder.empty()) return;
    const std::string content = paths::AddBackslash(cache_folder) + "Content.IE5\\";
    // A cache folder (or a Content.IE5 link) pointed at the profile or the documents would
    // otherwise lose every subfolder there.
    if (FolderGuard(platform_).IsProtected(content)) return;

    std::vector<DirEntry> entries;
    errors::SilentStep([&] { entries = file_tools_.Dir(content + "*.*", kFoldersAndSystem); });
    // Only subfolders: the files directly in Content.IE5, its index.dat among them, stay.
    for (const DirEntry& entry : entries) {
        if (paths::IsDotEntry(entry.name) || (entry.attributes & attr::kDirectory) == 0) continue;
        DeleteCacheSubfolder(content + entry.name);
    }
}

void IECleaners::DeleteCacheSubfolder(const std::string& subfolder) {
    // A link in place of a cache folder points elsewhere on the machine: KillFolder removes
    // the link alone, and nothing is deleted through it.
    std::uint32_t attributes = 0;
    if (platform_.files.GetAttributes(subfolder, attributes) != platform::kOk) return;
    if (!IsFolderLink(attributes)) {
        platform_.files.SetAttributes(subfolder, attr::kNormal);
        const std::string base = paths::AddBackslash(subfolder);
        // One listing, with the patterns applied to it in their order: the same files go in
        // the same order as with one listing per pattern, at a fifteenth of the listings.
        std::vector<DirEntry> files;
        errors::SilentStep([&] { files = file_tools_.Dir(base + "*", mask::kNormal); });
        std::vector<bool> gone(files.size(), false);
        for (const std::string_view pattern : kCacheFilePatterns) {
            for (std::size_t i = 0; i < files.size(); ++i) {
                if (gone[i] || !MatchesPattern(files[i].name, pattern)) continue;
                // Read-only files are refused here; KillFolder below takes them.
                gone[i] = platform_.files.DeleteFile(base + files[i].name) == platform::kOk;
            }
        }
    }
    file_tools_.KillFolder(subfolder);
}

}  // namespace qm::cleaners
