#pragma once
// Windows folder paths as the program handles them: joining names on, judging whether a path
// is one a cleaner may work in, and reducing two spellings of one folder to the same form.
// Every cleaner deletes below the paths it builds here, so the rules live in one place.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm::paths {

// The path with exactly one trailing backslash added when it has none ("" gives "\").
std::string AddBackslash(std::string_view path);

// A path as a platform buffer hands it back: the text before the first NUL.
std::string UpToFirstNul(std::string text);

// The path without its trailing backslash, except for a drive root ("C:\"), which keeps it
// so that it still names the root and not the drive's current folder.
std::string_view WithoutTrailingBackslash(std::string_view path);

// "." and "..": the entries a listing gives for the folder itself and its parent.
inline bool IsDotEntry(std::string_view name) {
    return name == "." || name == "..";
}

// True for an absolute folder path a cleaner may work in: "X:\..." or "\\server\share\...",
// every name made of characters Windows allows in a file name (valid UTF-8, no control
// characters, none of < > " | ? * / :), and no empty, "." or ".." name or a name ending in a
// dot or a blank (Windows would quietly strip those and land somewhere else). Empty or
// relative paths are refused: they resolve against the current drive or folder, which is
// nothing the user asked to clean.
bool IsAbsoluteFolderPath(std::string_view path);

// Every backslash-separated name of `path` is plain in the sense of IsAbsoluteFolderPath;
// with `allow_trailing_backslash` one backslash may end the path.
bool HasOnlyPlainNames(std::string_view path, bool allow_trailing_backslash);

// A fully qualified folder, broken down so that two spellings of one folder compare equal:
// the root ("C:" or "\\SERVER\SHARE") and the folders below it, upper-cased, with "." and
// ".." resolved and doubled, trailing or forward slashes gone.
struct FolderPath {
    std::string root;
    std::vector<std::string> parts;

    bool IsRoot() const { return parts.empty(); }
    // True when this folder is `other` or one of the folders that contain it.
    bool Contains(const FolderPath& other) const;
};

// Empty when the path is not fully qualified: a relative path or one rooted on "the current
// drive" names a different folder depending on where the program happens to stand. The long
// forms "\\?\C:\..." and "\\?\UNC\server\share\..." give the same folders as the short ones.
std::optional<FolderPath> ParseFolder(std::string_view path);

}  // namespace qm::paths
