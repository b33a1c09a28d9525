#pragma once
// The cleaners of the browsers' items, each over every profile found at that moment. A
// profile whose browser is running is left alone and said so; a file that could not be
// cleaned is named; nothing outside a profile (or a Firefox profile's cache folder) and
// nothing the user keeps is touched.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "browsers/browser_profiles.h"
#include "cleaners/folder_guard.h"
#include "cleaners/kept_sites.h"
#include "database/platform_vfs.h"
#include "database/row_cleaning.h"
#include "platform/platform.h"

namespace qm::browsers {

class BrowserCleaners {
  public:
    // `kept_sites` gives the sites whose cookies stay, read afresh for each cookie clean.
    // `kept_place` tells a database the user keeps whole (a place never touched): it is left
    // as it is, without a word.
    BrowserCleaners(platform::Platform& platform,
                    std::function<cleaners::KeptSites()> kept_sites = {},
                    std::function<bool(std::string_view)> kept_place = {});

    void CleanChromiumHistory();
    void CleanChromiumCache();
    void CleanChromiumCookies();
    void CleanChromiumSessions();
    void CleanChromiumForms();
    void CleanFirefoxHistory();
    void CleanFirefoxCache();
    void CleanFirefoxCookies();
    void CleanFirefoxSessions();
    void CleanFirefoxForms();

    // What to show in place of the item's end line when a profile was not cleaned, taken
    // (and so cleared) once the item's steps are done.
    std::optional<std::string> TakeEndLine();

  private:
    // The profiles of one family whose browser is not running; each running one is noted.
    std::vector<BrowserProfile> Closed(Family family);
    void CleanDatabase(const BrowserProfile& profile, const std::string& path,
                       const database::RowCleaningPlan& plan);
    // Deletes a store that holds nothing else but traces, with its journals.
    void DeleteStore(const BrowserProfile& profile, const std::string& path);
    // Deletes every file below `folder`; the folders stay, as the browser expects them, and
    // no folder link is followed.
    void EmptyFolder(const std::string& folder);
    bool EmptyBelow(const std::string& folder);
    void NoteOpen(const BrowserProfile& profile);
    void NoteFailed(const std::string& path);
    // The bookmarked addresses of a profile; nullopt when they cannot be told.
    std::optional<std::vector<std::string>> Bookmarks(const BrowserProfile& profile);

    platform::Platform& platform_;
    ProfileFinder finder_;
    cleaners::FolderGuard guard_;
    database::PlatformVfs vfs_;
    std::vector<std::string> notes_;
    std::function<cleaners::KeptSites()> kept_sites_;
    std::function<bool(std::string_view)> kept_place_;
};

}  // namespace qm::browsers
