#include "cleaners/windows_traces.h"

#include <utility>
#include <vector>

#include "cleaners/jump_lists.h"
#include "cleaners/reparse_point.h"
#include "paths/folder_path.h"

namespace qm::cleaners {
namespace {

using platform::Root;
using platform::Status;
namespace attr = platform::attr;

// Explorer's lists are a level or two deep; a deeper key is no list of its.
constexpr int kDeepestList = 8;

// Windows' version as one number: 600 for Vista, 601 for 7, NT family only.
std::uint32_t NtVersion(platform::SystemInfo& system) {
    const platform::VersionRecord version = system.GetVersion();
    if (!version.ok || version.platform != 2) return 0;
    return version.major * 100 + version.minor;
}

}  // namespace

bool HasWindowsTrace(platform::Platform& platform, std::string_view value_name) {
    if (value_name == "jumplists") return NtVersion(platform.system) >= 601;
    if (value_name == "thumbcache" || value_name == "winerrors")
        return NtVersion(platform.system) >= 600;
    if (value_name == "dnscache") return platform.traces.HasDnsCache();
    return true;
}

WindowsTraceCleaners::WindowsTraceCleaners(platform::Platform& platform, FileTools& tools,
                                           FolderGuard& guard)
    : platform_(platform), tools_(tools), guard_(guard) {}

std::optional<std::string> WindowsTraceCleaners::TakeEndLine() {
    return std::exchange(end_line_, std::nullopt);
}

std::string WindowsTraceCleaners::LocalFolder(std::string_view relative) {
    const std::string local = tools_.GetFolderClean(platform::csidl::kLocalAppData);
    if (local.empty()) return {};
    const std::string folder = paths::AddBackslash(local) + std::string(relative);
    std::uint32_t attributes = 0;
    if (platform_.files.GetAttributes(folder, attributes) != platform::kOk) return {};
    if ((attributes & attr::kDirectory) == 0 || IsFolderLink(attributes)) return {};
    if (guard_.IsProtected(folder)) return {};
    return folder;
}

void WindowsTraceCleaners::CleanJumpLists() {
    end_line_ = cleaners::CleanJumpLists(platform_).KeptLine();
}

void WindowsTraceCleaners::CleanThumbnailCache() {
    const std::string folder = LocalFolder("Microsoft\\Windows\\Explorer");
    if (folder.empty()) return;
    std::vector<platform::DirEntry> entries;
    if (platform_.files.List(folder + "\\thumbcache_*.db", entries) != platform::kOk) return;
    std::size_t at_restart = 0, failed = 0;
    for (const platform::DirEntry& entry : entries) {
        if ((entry.attributes & (attr::kDirectory | attr::kReparsePoint)) != 0) continue;
        const std::string path = folder + "\\" + entry.name;
        const Status status = platform_.files.DeleteFile(path);
        if (status == platform::kOk || status == platform::kErrorFileNotFound) continue;
        // Explorer holds the cache it is using: it goes when nothing holds it, at the restart.
        if (status == platform::kErrorSharingViolation &&
            platform_.files.ScheduleDeleteAtRestart(path) == platform::kOk) {
            ++at_restart;
        } else {
            ++failed;
        }
    }
    if (failed > 0) {
        end_line_ =
            "Thumbnail cache cleaned; " + std::to_string(failed) + " files could not be removed.";
    } else if (at_restart > 0) {
        end_line_ = "Thumbnail cache cleaned; " + std::to_string(at_restart) +
                    " files Explorer holds go at the next restart.";
    }
}

bool WindowsTraceCleaners::EmptyKey(std::string path) {
    platform::Registry& registry = platform_.registry;
    const auto empty = [&](const auto& self, const std::string& key_path, int depth) -> bool {
        platform::RegKey key = 0;
        const Status opened = registry.OpenKey(Root::CurrentUser, key_path, key);
        if (opened == platform::kErrorFileNotFound) return true;
        if (opened != platform::kOk) return false;
        platform::RegKeyGuard guard(registry, key);
        std::vector<std::string> subkeys, values;
        if (registry.ListKey(key, subkeys, values) != platform::kOk) return false;
        bool all = true;
        for (const std::string& value : values) {
            const Status status = registry.DeleteValue(key, value);
            all = all && (status == platform::kOk || status == platform::kErrorFileNotFound);
        }
        for (const std::string& subkey : subkeys) {
            const std::string below = key_path + "\\" + subkey;
            if (depth >= kDeepestList || !self(self, below, depth + 1)) {
                all = false;
                continue;
            }
            const Status status = registry.DeleteKey(Root::CurrentUser, below);
            all = all && (status == platform::kOk || status == platform::kErrorFileNotFound);
        }
        return all;
    };
    return empty(empty, path, 0);
}

void WindowsTraceCleaners::CleanExplorerLists() {
    std::size_t failed = 0;
    for (const std::string_view list : kExplorerLists) {
        if (!EmptyKey(std::string(kExplorerKey) + "\\" + std::string(list))) ++failed;
    }
    if (failed > 0) {
        end_line_ =
            "Explorer's lists cleaned; " + std::to_string(failed) + " could not be emptied.";
    }
}

void WindowsTraceCleaners::CleanClipboard() {
    const Status emptied = platform_.traces.EmptyClipboard();
    Status history = platform::kOk;
    if (platform_.traces.HasClipboardHistory()) history = platform_.traces.ClearClipboardHistory();
    if (emptied != platform::kOk) {
        end_line_ = "The clipboard could not be emptied: another program holds it.";
    } else if (history != platform::kOk) {
        end_line_ = "Clipboard emptied; its history could not be cleared.";
    }
}

void WindowsTraceCleaners::FlushDnsCache() {
    const Status status = platform_.traces.FlushDnsCache();
    if (status != platform::kOk && status != platform::kErrorCallNotImplemented)
        end_line_ = "The DNS cache could not be emptied.";
}

void WindowsTraceCleaners::CleanErrorReports() {
    std::size_t failed = 0;
    for (const std::string_view place : {"ReportArchive", "ReportQueue"}) {
        const std::string folder = LocalFolder("Microsoft\\Windows\\WER\\" + std::string(place));
        if (folder.empty()) continue;
        std::vector<platform::DirEntry> entries;
        if (platform_.files.List(folder + "\\*.*", entries) != platform::kOk) continue;
        for (const platform::DirEntry& entry : entries) {
            if (paths::IsDotEntry(entry.name)) continue;
            const std::string path = folder + "\\" + entry.name;
            Status status = platform::kOk;
            if (IsFolderLink(entry.attributes)) {
                status = platform_.files.RemoveDirectory(path);  // the link alone
            } else if ((entry.attributes & attr::kDirectory) != 0) {
                status = tools_.DeleteFolderTree(path) == 0 ? platform::kOk
                                                            : platform::kErrorAccessDenied;
            } else {
                status = platform_.files.ForceDeleteFile(path);
            }
            if (status != platform::kOk) ++failed;
        }
    }
    if (failed > 0) {
        end_line_ = "Error reports cleaned; " + std::to_string(failed) + " could not be removed.";
    }
}

}  // namespace qm::cleaners
