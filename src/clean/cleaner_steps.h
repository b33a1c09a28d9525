#pragma once
// The cleaner operations a clean run calls, by id. The catalogue lists the ids of each item;
// the run dispatches them one by one, so a failing step never keeps the next from running.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "browsers/browser_cleaners.h"
#include "cleaners/custom_places.h"
#include "cleaners/excluding_files.h"
#include "cleaners/excluding_url_cache.h"
#include "cleaners/file_tools.h"
#include "cleaners/folder_guard.h"
#include "cleaners/ie_cleaners.h"
#include "cleaners/kept_sites.h"
#include "cleaners/leftovers.h"
#include "cleaners/netscape_cleaners.h"
#include "cleaners/opera_cleaners.h"
#include "cleaners/recent_lists.h"
#include "cleaners/windows_traces.h"
#include "errors/error_reporter.h"
#include "platform/platform.h"
#include "settings/settings_store.h"
#include "sysinfo/system_details.h"

namespace qm::clean {

enum class StepId : std::uint8_t {
    CleanUrlHistory,
    CleanTypedURLs,
    CleanAutoComplete,
    ListUrlCacheEntries,         // fills lstCache with the ordinary cache entries
    DeleteEachListedCacheEntry,  // deletes every lstCache entry, keeps the list
    WipeCookieFiles,             // WipeFiles(GetCookiesFolder(), "*.txt")
    DeleteListedCacheEntries,    // deletes every lstCache entry, then empties the list
    CleanIECacheFiles,
    KillIndexDat,
    CleanOutlookDeleted,
    CleanWinZipFileMenu,
    CleanWinZipExtract,
    CleanWordPadMRU,
    CleanPaintMRU,
    CleanMediaPlayer,
    CleanMSOfficeRecent,
    CleanRecentDocs,
    CleanRunMRU,
    CleanTempFolder,  // DeleteFolderTree(GetTempFolder())
    EmptyRecycleBin,
    CleanFindMRU,
    CleanOperaCache,
    CleanOpera7Cache,
    CleanOperaCookies,
    CleanOpera7Cookies,
    CleanOperaTypedURLs,
    CleanNetScapeCache,
    CleanNetScapeCookies,
    CleanNetScapeURLS,
    CleanChromiumHistory,
    CleanChromiumCache,
    CleanChromiumCookies,
    CleanChromiumSessions,
    CleanChromiumForms,
    CleanFirefoxHistory,
    CleanFirefoxCache,
    CleanFirefoxCookies,
    CleanFirefoxSessions,
    CleanFirefoxForms,
    CleanJumpLists,
    CleanThumbnailCache,
    CleanExplorerLists,
    CleanClipboard,
    FlushDnsCache,
    CleanErrorReports,
};

class CleanerSteps {
  public:
    virtual ~CleanerSteps() = default;
    // Carries out one step; a run-time error escapes to the run, which reports it.
    virtual void Run(StepId step) = 0;
    // A step that refused its work leaves the line to show in place of the item's end line,
    // so that the list never reports a clean that did not happen. The run takes it (and so
    // clears it) once the item's steps are done.
    virtual std::optional<std::string> TakeEndLine() { return std::nullopt; }
    // Cleans one of the user's own places; a refused place is left untouched and says why.
    virtual std::optional<cleaners::PlaceRefusal> CleanPlace(const cleaners::CustomPlace& place) {
        (void)place;
        return std::nullopt;
    }
};

// The steps as Quillmoss ships them: every cleaner of the catalogue. lst_cache is the run's
// hidden list of Internet-cache URLs, shared by the steps of the cookie and cache items.
// Every step sees the machine's files through the places the user excludes, read afresh
// from the settings ("exclude") as the step begins.
class CatalogueSteps : public CleanerSteps {
  public:
    CatalogueSteps(platform::Platform& platform, settings::SettingsStore& settings,
                   errors::ErrorReporter& reporter, std::vector<std::string>& lst_cache);
    void Run(StepId step) override;
    std::optional<std::string> TakeEndLine() override;
    std::optional<cleaners::PlaceRefusal> CleanPlace(const cleaners::CustomPlace& place) override;

  private:
    cleaners::ExcludingFiles excluding_;
    cleaners::ExcludingUrlCache excluding_cache_;
    platform::Platform platform_;
    settings::SettingsStore& settings_;
    cleaners::FileTools file_tools_;
    cleaners::FolderGuard guard_;
    std::optional<std::string> end_line_;
    std::vector<std::string>& lst_cache_;
    sysinfo::SystemDetails system_details_;
    cleaners::IECleaners ie_;
    cleaners::RecentListCleaners recent_;
    cleaners::LeftoverCleaners leftovers_;
    cleaners::OperaCleaners opera_;
    cleaners::NetscapeCleaners netscape_;
    browsers::BrowserCleaners browsers_;
    cleaners::WindowsTraceCleaners windows_;
};

}  // namespace qm::clean
