#pragma once
// The places no item ever deletes, as the settings value "exclude" lists them: full paths of
// folders or files separated by "|" (a character no Windows name may hold), the last name
// of each free to be a wildcard pattern ("C:\Logs\keep", "C:\Temp\*.cfg"). A listed folder
// keeps everything below it. Paths are compared as the folder guard compares them: by what
// the folder really opens (through links, substituted drives and short names) as well as by
// text, so no second spelling of an excluded place gets past.
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/file_system.h"

namespace qm::cleaners {

// The settings value that lists the excluded places.
inline constexpr std::string_view kExcludeValue = "exclude";

class ExcludedPaths {
  public:
    ExcludedPaths() = default;
    // Entries that are not a full path with a plain folder part (relative paths, wildcards
    // above the last name, names Windows would quietly change) keep nothing and are left out;
    // the options dialog refuses them when they are added.
    static ExcludedPaths Parse(std::string_view text);
    // The settings form of `paths`, in the order given.
    static std::string Join(const std::vector<std::string>& paths);
    // Whether `path` could be an entry: what the options dialog checks before adding one.
    static bool IsValidEntry(std::string_view path);

    bool empty() const { return entries_.empty(); }
    const std::vector<std::string>& paths() const { return paths_; }

    // The excluded place that `path` is or lies in, as the start of `path` itself
    // ("C:\Temp\keep" for "C:\Temp\keep\a.txt"); nullopt when none is. `files` tells
    // identities; what it answers is remembered per folder for the life of this object.
    std::optional<std::string_view> PlaceOf(std::string_view path, platform::FileSystem& files);
    bool Covers(std::string_view path, platform::FileSystem& files) {
        return PlaceOf(path, files).has_value();
    }

  private:
    struct Entry {
        std::string folder_key;   // the folder part, folded as ParseFolder folds it
        std::string folder_text;  // the folder part as written, "C:\" for a drive root
        std::string pattern;      // the last name, possibly with wildcards
        std::optional<platform::FileIdentity> folder_identity;
        bool identity_looked_up = false;
    };
    struct FolderFacts {
        std::optional<platform::FileIdentity> identity;
        std::string key;
    };
    const FolderFacts& FactsOf(std::string_view folder, platform::FileSystem& files);

    std::vector<std::string> paths_;
    std::vector<Entry> entries_;
    std::unordered_map<std::string, FolderFacts> folders_;
};

}  // namespace qm::cleaners
