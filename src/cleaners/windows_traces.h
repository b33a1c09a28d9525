#pragma once
// Windows' own record of its user since Vista, beside the jump lists: the thumbnail cache,
// Explorer's typed paths, searches and dialog lists, the clipboard, the resolver's cache and
// the user's error reports. Each cleaner keeps to its documented places; the machine's error
// reports, the icon cache and the rest of Explorer's key stay.
#include <optional>
#include <string>
#include <string_view>

#include "cleaners/file_tools.h"
#include "cleaners/folder_guard.h"
#include "platform/platform.h"

namespace qm::cleaners {

// The Explorer keys emptied, below HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer.
inline constexpr std::string_view kExplorerKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
inline constexpr std::string_view kExplorerLists[] = {
    "TypedPaths",
    "WordWheelQuery",
    "ComDlg32\\OpenSavePidlMRU",
    "ComDlg32\\LastVisitedPidlMRU",
    "ComDlg32\\OpenSaveMRU",
    "ComDlg32\\LastVisitedMRU",
    "Map Network Drive MRU",
};

// Whether this Windows keeps the trace an item of the Windows panel cleans (by value name);
// true for every other name.
bool HasWindowsTrace(platform::Platform& platform, std::string_view value_name);

class WindowsTraceCleaners {
  public:
    WindowsTraceCleaners(platform::Platform& platform, FileTools& tools, FolderGuard& guard);

    void CleanJumpLists();
    void CleanThumbnailCache();
    void CleanExplorerLists();
    void CleanClipboard();
    void FlushDnsCache();
    void CleanErrorReports();
    // The line that replaces the item's end line when something stayed; taken once.
    std::optional<std::string> TakeEndLine();

  private:
    // The folder below the local application data folder, when it is a plain folder of its
    // own: not a link, not a protected folder. Empty otherwise.
    std::string LocalFolder(std::string_view relative);
    // Empties the key below Explorer's: its values and subkeys go, the key stays. False when
    // something could not be removed.
    bool EmptyKey(std::string path);

    platform::Platform& platform_;
    FileTools& tools_;
    FolderGuard& guard_;
    std::optional<std::string> end_line_;
};

}  // namespace qm::cleaners
