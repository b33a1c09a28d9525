#pragma once
// The file-system tools every cleaner is built from. Deletion is plain deletion: nothing goes
// to the Recycle Bin and nothing is overwritten first.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "errors/error_reporter.h"
#include "paths/folder_path.h"
#include "platform/file_system.h"
#include "platform/shell.h"

namespace qm::cleaners {

// Attribute masks of a listing: 0 = normal files only, 16 adds folders, 22 = everything.
namespace mask {
inline constexpr std::uint32_t kNormal = 0;
inline constexpr std::uint32_t kWithFolders = 16;
inline constexpr std::uint32_t kEverything = 22;
}  // namespace mask

class FileTools {
  public:
    FileTools(platform::FileSystem& files, platform::Shell& shell, errors::ErrorReporter& reporter);

    // The names of "folder\pattern" that the attribute mask lets through: hidden, system and
    // folder entries only when their bits are in the mask. A missing folder raises
    // RuntimeError 76; no match gives an empty list.
    std::vector<platform::DirEntry> Dir(std::string_view pattern_path, std::uint32_t mask);

    bool FileExists(std::string_view path);
    bool FolderExists(std::string_view path);
    // Deletes the normal files matching each ";"-separated pattern, then WipeDir(folder).
    // A file whose name `spare` answers true for stays.
    void WipeFiles(std::string_view folder, std::string_view patterns,
                   const std::function<bool(std::string_view name)>& spare = {});
    // Empties and removes every subfolder reachable through a normal listing.
    void WipeDir(std::string_view folder);
    // Deletes the normal files directly in `folder`, each in a step of its own so that a file
    // held open stays and the others still go. Failures pass silently, or with `label` are
    // reported under it; subfolders are left alone.
    void DeleteFilesIn(std::string_view folder);
    void DeleteFilesIn(std::string_view folder, std::string_view label);
    // 0 = done, -1 = refused, otherwise the error number that stopped it.
    std::int32_t DeleteFolderTree(std::string_view path);
    // True when the folder existed and is gone afterwards (read-only contents included).
    bool KillFolder(std::string_view path);

    // Special folders: GetFolderClean gives no trailing backslash, GetSpecialFolder gives one;
    // both give empty text when the look-up fails.
    std::string GetFolderClean(int csidl);
    std::string GetInternetCacheFolder();
    std::string GetCookiesFolder();
    std::string GetHistoryFolder();
    std::string GetSpecialFolder(int csidl);

  private:
    platform::FileSystem& files_;
    platform::Shell& shell_;
    errors::ErrorReporter& reporter_;
};

}  // namespace qm::cleaners
