#pragma once
// What a dry run would have removed, in the order the cleaners asked for it, and the keys and
// cache entries it has hidden since, so that whatever reads back after a deletion finds it gone.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace qm::dry_run {

// What a Kept entry's value_name says when the place is never touched (rather than holding
// cookies of a site to keep).
inline constexpr std::string_view kKeptExcluded = "excluded";
// ... and when it holds pinned entries, or entries whose pins cannot be told.
inline constexpr std::string_view kKeptPinned = "pinned";

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
        Rows,             // rows of a database's table (value_name); size: how many
        Kept,             // a file left in place for what the user keeps; nothing goes
        SessionTrace,     // what the session holds (path: "the clipboard", ...), emptied
    };
    Kind kind;
    std::string path;        // files and folders: as asked; registry: "HKCU\path"; cache: URL
    std::string value_name;  // RegistryValue, Rows (the table); Kept: kKeptExcluded or empty
    std::uint64_t size = 0;  // files only: bytes
};

// Names compare as Windows compares them (ASCII letters without regard to case), and a
// hidden name hides everything below it: "C:\A" hides "c:\a\b.txt", "HKCU\K" hides "HKCU\K\S".
// Each name is kept as a 64-bit hash of its folded form; two names meeting in one hash is
// beyond all odds. Files have HiddenFiles, whose room does not grow with their number.
class HiddenNames {
  public:
    void Hide(std::string_view name);
    // The name itself or one of the folders or keys above it was hidden.
    bool Contains(std::string_view name) const;
    bool ContainsExactly(std::string_view name) const;
    static std::string Fold(std::string_view name);

  private:
    // The hash of the folded name, and of every folder or key above it on the way.
    template <class Visit>
    static std::uint64_t Hash(std::string_view name, Visit&& at_each_parent);

    std::unordered_set<std::uint64_t> names_;
};

}  // namespace qm::dry_run
