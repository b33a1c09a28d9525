#pragma once
// Netscape/Mozilla traces in every profile that the browser's profile registry names: the
// cache, the cookie file and the history files. Only CleanNetScapeURLS reports its run-time
// errors; the other two ignore them.
#include <string>
#include <string_view>
#include <vector>

#include "cleaners/file_tools.h"
#include "cleaners/kept_sites.h"
#include "errors/error_reporter.h"
#include "platform/platform.h"
#include "settings/settings_store.h"

namespace qm::cleaners {

inline constexpr std::string_view kShellFoldersPath =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

class NetscapeCleaners {
  public:
    NetscapeCleaners(platform::Platform& platform, settings::SettingsStore& settings,
                     FileTools& tools, errors::ErrorReporter& reporter);

    // Files directly in each profile's "cache" folder; its subfolders stay.
    void CleanNetScapeCache();
    // Each profile's "cookies.txt", but only in a profile that has a "cache" folder.
    void CleanNetScapeCookies();
    // Each profile's "history.dat", "history.mab" and "localstore.rdf".
    void CleanNetScapeURLS();

    // The cookie files of every profile that has one, found without a word about errors.
    std::vector<std::string> CookieFiles();

    // The "AppData" folder of the Shell Folders key + "Mozilla\"; empty when that would not
    // be an absolute path (no value, or one stored as REG_EXPAND_SZ, which reads as empty).
    std::string MozillaFolder();

  private:
    enum class ErrorStyle { Silent, Reporting };
    template <class Step>
    void Run(ErrorStyle style, Step&& step);
    // The profile folders of registry.dat, each with one trailing backslash.
    std::vector<std::string> Profiles(ErrorStyle style);
    void Delete(ErrorStyle style, const std::string& path);
    // Puts a cookies.txt of only the kept sites' cookies (and the file's comments) in the
    // place of `path`, in one step. False when the file keeps none: it then goes whole. A file
    // that cannot be rewritten soundly is left whole.
    bool KeepCookies(const std::string& path, const KeptSites& kept);

    platform::Platform& platform_;
    settings::SettingsStore& settings_;
    FileTools& tools_;
    errors::ErrorReporter& reporter_;
};

}  // namespace qm::cleaners
