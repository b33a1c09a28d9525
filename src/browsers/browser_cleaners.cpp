#include "browsers/browser_cleaners.h"

#include <algorithm>

#include "browsers/browser_plans.h"
#include "browsers/profile_texts.h"
#include "database/connection.h"
#include "paths/folder_path.h"

namespace qm::browsers {

namespace {

namespace attr = platform::attr;
using database::CleanOutcome;

// Larger than any Bookmarks file a person keeps; a larger one is not read.
constexpr std::uint64_t kMaxBookmarks = 16u << 20;

}  // namespace

BrowserCleaners::BrowserCleaners(platform::Platform& platform,
                                 std::function<cleaners::KeptSites()> kept_sites,
                                 std::function<bool(std::string_view)> kept_place)
    : platform_(platform),
      finder_(platform),
      guard_(platform),
      vfs_(platform.files),
      kept_sites_(std::move(kept_sites)),
      kept_place_(std::move(kept_place)) {}

std::optional<std::string> BrowserCleaners::TakeEndLine() {
    if (notes_.empty()) return std::nullopt;
    std::string line;
    for (const std::string& note : notes_) line += (line.empty() ? "" : " ") + note;
    notes_.clear();
    return line;
}

void BrowserCleaners::NoteOpen(const BrowserProfile& profile) {
    const std::string note = profile.browser + " is open: close it and clean again.";
    if (std::find(notes_.begin(), notes_.end(), note) == notes_.end()) notes_.push_back(note);
}

void BrowserCleaners::NoteFailed(const std::string& path) {
    notes_.push_back("Could not clean " + path + ".");
}

std::vector<BrowserProfile> BrowserCleaners::Closed(Family family) {
    std::vector<BrowserProfile> closed;
    for (BrowserProfile& profile :
         family == Family::Chromium ? finder_.Chromium() : finder_.Firefox()) {
        if (finder_.InUse(profile))
            NoteOpen(profile);
        else
            closed.push_back(std::move(profile));
    }
    return closed;
}

void BrowserCleaners::CleanDatabase(const BrowserProfile& profile, const std::string& path,
                                    const database::RowCleaningPlan& plan) {
    if (kept_place_ && kept_place_(path)) return;
    const database::RowCleaningResult result = database::CleanRows(vfs_, path, plan);
    switch (result.outcome) {
        case CleanOutcome::Cleaned:
        case CleanOutcome::Missing:
            return;
        case CleanOutcome::Held:
            return NoteOpen(profile);
        default:
            return NoteFailed(path);
    }
}

void BrowserCleaners::DeleteStore(const BrowserProfile& profile, const std::string& path) {
    for (const char* suffix : {"", "-journal", "-wal", "-shm"}) {
        const std::string file = path + suffix;
        const platform::Status status = platform_.files.DeleteFile(file);
        if (status == platform::kOk || status == platform::kErrorFileNotFound ||
            status == platform::kErrorPathNotFound)
            continue;
        if (status == platform::kErrorSharingViolation) return NoteOpen(profile);
        return NoteFailed(file);
    }
}

bool BrowserCleaners::EmptyBelow(const std::string& folder) {
    std::vector<platform::DirEntry> entries;
    if (platform_.files.List(folder + "\\*", entries) != platform::kOk) return true;
    bool all = true;
    for (const platform::DirEntry& entry : entries) {
        if (paths::IsDotEntry(entry.name) || (entry.attributes & attr::kReparsePoint)) continue;
        const std::string path = folder + "\\" + entry.name;
        if (entry.attributes & attr::kDirectory) {
            all = EmptyBelow(path) && all;
            continue;
        }
        platform::Status status = platform_.files.DeleteFile(path);
        if (status == platform::kErrorAccessDenied && (entry.attributes & attr::kReadOnly))
            status = platform_.files.ForceDeleteFile(path);
        all = all && (status == platform::kOk || status == platform::kErrorFileNotFound);
    }
    return all;
}

void BrowserCleaners::EmptyFolder(const std::string& folder) {
    std::uint32_t attributes = 0;
    if (platform_.files.GetAttributes(folder, attributes) != platform::kOk ||
        (attributes & attr::kDirectory) == 0 || (attributes & attr::kReparsePoint) != 0)
        return;
    if (guard_.IsProtected(folder)) return NoteFailed(folder);
    if (!EmptyBelow(folder)) NoteFailed(folder);
}

std::optional<std::vector<std::string>> BrowserCleaners::Bookmarks(const BrowserProfile& profile) {
    const std::string path = profile.folder + "\\Bookmarks";
    std::vector<platform::DirEntry> entries;
    const platform::Status found = platform_.files.List(path, entries);
    if (found == platform::kErrorFileNotFound || found == platform::kErrorPathNotFound)
        return std::vector<std::string>{};
    std::string contents;
    if (found != platform::kOk || entries.size() != 1 || entries.front().size > kMaxBookmarks ||
        platform_.files.ReadFile(path, contents) != platform::kOk)
        return std::nullopt;
    return BookmarkedUrls(contents);
}

void BrowserCleaners::CleanChromiumHistory() {
    for (const BrowserProfile& profile : Closed(Family::Chromium)) {
        CleanDatabase(profile, profile.folder + "\\History", plans::ChromiumHistory());
        for (const char* store : {"Visited Links", "Top Sites", "Shortcuts",
                                  "Network Action Predictor", "History Provider Cache", "DIPS"})
            DeleteStore(profile, profile.folder + "\\" + store);
        const std::string favicons = profile.folder + "\\Favicons";
        if (auto bookmarked = Bookmarks(profile))
            CleanDatabase(profile, favicons, plans::ChromiumFavicons(std::move(*bookmarked)));
        else
            NoteFailed(favicons);  // without the bookmarks, no icon can be told spare
    }
}

void BrowserCleaners::CleanChromiumCache() {
    for (const BrowserProfile& profile : Closed(Family::Chromium)) {
        for (const char* cache : {"Cache", "Code Cache", "GPUCache", "Media Cache",
                                  "DawnGraphiteCache", "DawnWebGPUCache"})
            EmptyFolder(profile.local_folder + "\\" + cache);
    }
}

void BrowserCleaners::CleanChromiumCookies() {
    const database::RowCleaningPlan plan =
        plans::ChromiumCookies(kept_sites_ ? kept_sites_() : cleaners::KeptSites());
    for (const BrowserProfile& profile : Closed(Family::Chromium)) {
        CleanDatabase(profile, profile.folder + "\\Network\\Cookies", plan);
        CleanDatabase(profile, profile.folder + "\\Cookies", plan);
    }
}

void BrowserCleaners::CleanChromiumSessions() {
    for (const BrowserProfile& profile : Closed(Family::Chromium)) {
        EmptyFolder(profile.folder + "\\Sessions");
        EmptyFolder(profile.folder + "\\Sessions_Encrypted");
        for (const char* file : {"Current Session", "Last Session", "Current Tabs", "Last Tabs"})
            DeleteStore(profile, profile.folder + "\\" + file);
    }
}

void BrowserCleaners::CleanChromiumForms() {
    for (const BrowserProfile& profile : Closed(Family::Chromium))
        CleanDatabase(profile, profile.folder + "\\Web Data", plans::ChromiumForms());
}

void BrowserCleaners::CleanFirefoxHistory() {
    for (const BrowserProfile& profile : Closed(Family::Firefox)) {
        const std::string places = profile.folder + "\\places.sqlite";
        // The bookmarked pages, read before the pages go, tell which icons stay.
        std::optional<std::vector<std::string>> bookmarked;
        {
            database::Connection db;
            const database::Opened opened = db.Open(vfs_, places);
            if (opened == database::Opened::Missing) bookmarked.emplace();
            if (opened == database::Opened::Ok)
                bookmarked = db.Column(plans::kFirefoxBookmarkedUrls);
        }
        CleanDatabase(profile, places, plans::FirefoxHistory());
        const std::string favicons = profile.folder + "\\favicons.sqlite";
        if (bookmarked)
            CleanDatabase(profile, favicons, plans::FirefoxFavicons(std::move(*bookmarked)));
        else
            NoteFailed(favicons);
    }
}

void BrowserCleaners::CleanFirefoxCache() {
    for (const BrowserProfile& profile : Closed(Family::Firefox))
        EmptyFolder(profile.local_folder + "\\cache2");
}

void BrowserCleaners::CleanFirefoxCookies() {
    const database::RowCleaningPlan plan =
        plans::FirefoxCookies(kept_sites_ ? kept_sites_() : cleaners::KeptSites());
    for (const BrowserProfile& profile : Closed(Family::Firefox))
        CleanDatabase(profile, profile.folder + "\\cookies.sqlite", plan);
}

void BrowserCleaners::CleanFirefoxSessions() {
    for (const BrowserProfile& profile : Closed(Family::Firefox)) {
        DeleteStore(profile, profile.folder + "\\sessionstore.jsonlz4");
        EmptyFolder(profile.folder + "\\sessionstore-backups");
    }
}

void BrowserCleaners::CleanFirefoxForms() {
    for (const BrowserProfile& profile : Closed(Family::Firefox))
        CleanDatabase(profile, profile.folder + "\\formhistory.sqlite", plans::FirefoxForms());
}

}  // namespace qm::browsers
