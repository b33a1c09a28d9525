#pragma once
// Opera's traces: the cache and cookie file kept in Opera's program folder, and the cache,
// cookie file and typed-address files of the OPERA7 profile under Application Data. Every
// operation finds the files anew, deletes whole files only and ignores run-time errors.
#include <string>
#include <string_view>

#include "cleaners/file_tools.h"
#include "errors/error_reporter.h"
#include "platform/platform.h"
#include "settings/settings_store.h"

namespace qm::cleaners {

inline constexpr std::string_view kOperaCookiesKeptLine =
    "Opera cookies kept whole: the file holds cookies of a site you keep.";

class OperaCleaners {
  public:
    // All of Opera's operations are silent, so the reporter is taken for a uniform cleaner
    // interface only.
    OperaCleaners(platform::Platform& platform, settings::SettingsStore& settings, FileTools& tools,
                  errors::ErrorReporter& reporter);

    // The "Path" text of Opera's App Paths entry; empty when Opera is not installed.
    std::string GetOperaPath();

    // Files directly in the program folder's "Cache"; its subfolders stay.
    void CleanOperaCache();
    // Files directly in the OPERA7 profile's "cache4"; its subfolders stay.
    void CleanOpera7Cache();
    // The cookie files. Their format cannot be rewritten soundly, so a file that holds a site
    // of "cookiekeep" stays whole: true then, and the item says so (kOperaCookiesKeptLine).
    bool CleanOperaCookies();
    bool CleanOpera7Cookies();
    // The OPERA7 profile's "global.dat" and "opera.dir".
    void CleanOperaTypedURLs();

  private:
    // The Opera folder, or the OPERA7 profile folder, with one trailing backslash; empty when
    // it cannot be found or is not an absolute path.
    std::string OperaFolder();
    std::string Opera7Profile();
    void DeleteFilesDirectlyIn(const std::string& folder);
    void DeleteIfListed(const std::string& file);
    // Deletes the cookie file unless it holds a kept site; true when it stayed for that.
    bool DeleteCookiesUnlessKept(const std::string& file);

    platform::Platform& platform_;
    settings::SettingsStore& settings_;
    FileTools& tools_;
};

}  // namespace qm::cleaners
