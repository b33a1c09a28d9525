#pragma once
// The Internet Explorer cleaners: history, typed addresses, AutoComplete data, the entries of
// the Internet cache, the cached files on disk and the index.dat files Internet Explorer keeps
// locked while Windows runs. Only KillIndexDat reports its run-time errors; every other
// operation here is silent and goes on with its next step.
#include <string>
#include <string_view>
#include <vector>

#include "cleaners/file_tools.h"
#include "errors/error_reporter.h"
#include "platform/platform.h"
#include "settings/settings_store.h"

namespace qm::cleaners {

// The main window's Timer1: while the History folder's "&Delete" verb waits for its
// confirmation, this timer answers it.
inline constexpr int kTimer1Id = 1;
inline constexpr std::uint32_t kTimer1IntervalMs = 300;

// Registry places under HKEY_CURRENT_USER.
namespace ie_keys {
inline constexpr std::string_view kUrlHistory =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Url History";
inline constexpr std::string_view kDaysToKeep = "DaysToKeep";
inline constexpr std::string_view kTypedUrls = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
inline constexpr std::string_view kIntelliFormsSpw =
    "Software\\Microsoft\\Internet Explorer\\IntelliForms\\SPW";
inline constexpr std::string_view kMain = "Software\\Microsoft\\Internet Explorer\\Main";
inline constexpr std::string_view kUseFormSuggest = "Use FormSuggest";
inline constexpr std::string_view kAutoComplete = "Software\\Microsoft\\Explorer\\AutoComplete";
inline constexpr std::string_view kUseAutoComplete = "Use AutoComplete";
}  // namespace ie_keys

// The History folder verb that deletes an item, with its menu accelerator, matched exactly.
inline constexpr std::string_view kDeleteVerb = "&Delete";

// What CleanIECacheFiles deletes from each cache subfolder before KillFolder takes the rest.
inline constexpr std::string_view kCacheFilePatterns[] = {
    "*.gif", "*.htm", "*.cab", "*.jpg", "*.css", "*.swf", "*.mid", "*.wav",
    "*.mpg", "*.avi", "*.ini", "*",     "*.exe", "*.dll", "*.*"};

class IECleaners {
  public:
    IECleaners(platform::Platform& platform, settings::SettingsStore& settings,
               FileTools& file_tools, errors::ErrorReporter& reporter);

    // Sets "DaysToKeep" to 0, then runs "&Delete" on every History item, last to first, with
    // Timer1 answering the shell's confirmation question.
    void CleanUrlHistory();
    void CleanTypedURLs();
    // Removes the stored form and password data and switches both features off for good.
    void CleanAutoComplete();

    // Replaces lst_cache with the URL of every normal cache entry, in cache order.
    void ListUrlCacheEntries(std::vector<std::string>& lst_cache);
    // Deletes the cache entry of every listed URL; entries in use stay. The list is kept.
    void DeleteEachListedEntry(const std::vector<std::string>& lst_cache);
    // As DeleteEachListedEntry, then empties the list.
    void DeleteListedCacheEntries(std::vector<std::string>& lst_cache);

    // Empties and removes every visible subfolder of Temporary Internet Files\Content.IE5;
    // the files directly in Content.IE5 (its index.dat among them) stay.
    void CleanIECacheFiles();
    // Schedules the cache and history index files and their folders for deletion at the next
    // restart. Nothing is removed now.
    void KillIndexDat();

  private:
    void OnTimer1Tick();
    void DeleteCacheSubfolder(const std::string& subfolder);

    platform::Platform& platform_;
    settings::SettingsStore& settings_;
    FileTools& file_tools_;
    errors::ErrorReporter& reporter_;
};

}  // namespace qm::cleaners
