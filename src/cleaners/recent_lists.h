#pragma once
// The most-recently-used lists of Windows and common applications: the Run and Find lists,
// Recent Documents, Paint, WordPad, WinZip, Media Player and the MS Office Recent folder.
// Each list is emptied by deleting its values, its key or its files; nothing else is edited.
#include <string_view>

#include "cleaners/file_tools.h"
#include "errors/error_reporter.h"
#include "platform/platform.h"
#include "settings/settings_store.h"
#include "sysinfo/system_details.h"

namespace qm::cleaners {

namespace recent_key {
inline constexpr std::string_view kRunMRU =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
inline constexpr std::string_view kFindWin2000 =
    "Software\\Microsoft\\Internet Explorer\\Explorer "
    "Bars\\{C4EE31F3-4768-11D2-BE5C-00A0C9A83DA1}\\FilesNamedMRU";
inline constexpr std::string_view kFindWinXP = "Software\\Microsoft\\Search Assistant\\ACMru\\5603";
inline constexpr std::string_view kFindOther =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Doc Find Spec MRU";
inline constexpr std::string_view kPaint =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Paint\\Recent File List";
inline constexpr std::string_view kWordPad =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Wordpad\\Recent File List";
inline constexpr std::string_view kWinZipFileMenu =
    "Software\\Nico Mak Computing\\WinZip\\filemenu";
inline constexpr std::string_view kWinZipExtract = "Software\\Nico Mak Computing\\WinZip\\extract";
inline constexpr std::string_view kMediaPlayerUrls =
    "Software\\Microsoft\\MediaPlayer\\Player\\RecentURLList";
inline constexpr std::string_view kMediaPlayerFiles =
    "Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList";
}  // namespace recent_key

// Inside the user's Application Data folder (CSIDL 26).
inline constexpr std::string_view kMediaPlayerFolder = "Microsoft\\Media Player";
inline constexpr std::string_view kOfficeRecentFolder = "Microsoft\\Office\\Recent\\";

// All keys are under HKEY_CURRENT_USER. Every operation is silent except CleanMediaPlayer,
// which reports its failures.
class RecentListCleaners {
  public:
    RecentListCleaners(platform::Platform& platform, settings::SettingsStore& settings,
                       FileTools& file_tools, sysinfo::SystemDetails& system,
                       errors::ErrorReporter& reporter);

    // The values whose one-character names "MRUList" lists, then "MRUList"; others stay.
    void CleanRunMRU();
    // Exactly one key, chosen by Windows version: 2000, XP, or any other.
    void CleanFindMRU();
    void CleanRecentDocs();
    // File1..File100 when File1 holds text, otherwise only File1.
    void CleanPaintMRU();
    void CleanWordPadMRU();
    // filemenu1/extract1 upward up to and including the first missing or empty one (<= 100).
    void CleanWinZipFileMenu();
    void CleanWinZipExtract();
    // Both list keys, then the files (not subfolders) of the user's Media Player folder.
    void CleanMediaPlayer();
    // The files of the user's MS Office Recent folder.
    void CleanMSOfficeRecent();

  private:
    void CleanFileNumberList(std::string_view key);
    void CleanUntilFirstEmpty(std::string_view key, std::string_view prefix);

    platform::Platform& platform_;
    settings::SettingsStore& settings_;
    FileTools& file_tools_;
    sysinfo::SystemDetails& system_;
    errors::ErrorReporter& reporter_;
};

}  // namespace qm::cleaners
