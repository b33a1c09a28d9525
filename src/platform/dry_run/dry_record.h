#pragma once
// What a dry run would have removed, in the order the cleaners asked for it, and the names it
// has hidden since, so that whatever reads back after a deletion finds it gone.
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace qm::dry_run {

struct DryDeletion {
    enum class Kind {
        File,
        Folder,
        RegistryKey,
        RegistryValue,
        UrlCacheEntry,
        HistoryItem,
        RecycleBin,       // the whole bin, emptied by the shell
        RecentDocuments,  // the shell's Recent Documents list
        AtRestart,        // a file or folder scheduled for deletion at the next restart
    };
    Kind kind;
    std::string path;        // files and folders: as asked; registry: "HKCU\path"; cache: URL
    std::string value_name;  // RegistryValue only
    std::uint64_t size = 0;  // files only: bytes
};

// Names compare as Windows compares them (ASCII letters without regard to case), and a
// hidden name hides everything below it: "C:\A" hides "c:\a\b.txt", "HKCU\K" hides "HKCU\K\S".
class HiddenNames {
  public:
    void Hide(std::string_view name);
    // The name itself or one of the folders or keys above it was hidden.
    bool Contains(std::string_view name) const;
    bool ContainsExactly(std::string_view name) const;
    static std::string Fold(std::string_view name);

  private:
    std::set<std::string> names_;
};

}  // namespace qm::dry_run
