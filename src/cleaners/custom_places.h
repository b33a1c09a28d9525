#pragma once
// The user's own places to clean: up to eight, each a folder (with a name pattern, and
// whether its subfolders count) or a single file. In the settings key each has two values:
// "customN" ("tt"/"uu", remembered like every item's tick) and "customNplace", the place as
//   folder|<path>|<pattern>|<1: subfolders too, 0: the folder alone>
//   file|<path>
// Copies of Quillmoss that know nothing of them ignore both.
#include <optional>
#include <string>
#include <string_view>

#include "cleaners/folder_guard.h"
#include "platform/platform.h"

namespace qm::cleaners {

inline constexpr int kCustomSlots = 8;

struct CustomPlace {
    enum class Kind : std::uint8_t { Folder, File };
    Kind kind = Kind::Folder;
    std::string path;
    std::string pattern = "*.*";  // folders only
    bool subfolders = false;      // folders only

    // The settings form, and back. A text of any other form is no place (nullopt).
    std::string Format() const;
    static std::optional<CustomPlace> Parse(std::string_view text);
    // What the item's box says: "C:\Logs\*.log, with subfolders" or "C:\x\notes.txt".
    std::string Caption() const;
};

// The settings value names of slot 1..kCustomSlots.
std::string CustomTickValue(int slot);
// The name of the slot's box on the Custom panel, "chkCustom1" to "chkCustom6".
std::string CustomBoxName(int slot);
std::string CustomPlaceValue(int slot);

// Why a place may not be cleaned, or nullopt when it may. Asked when the user adds one and
// again before each clean: the folder guard judges folders by what they really open.
enum class PlaceRefusal : std::uint8_t {
    NotAFullPath,  // relative, on "the current drive", or with names Windows would change
    BadPattern,    // a pattern with a backslash or characters no name may hold
    Protected,     // is, or holds, a folder whose loss costs more than any trace
    NotThere,      // nothing at the path (a drive that is gone, a folder not made yet)
    WrongKind,     // a folder where a file was named, or the other way round
};
std::optional<PlaceRefusal> CheckCustomPlace(const CustomPlace& place,
                                             platform::Platform& platform);
// The message for a refusal, for the dialog and the item's line.
std::string_view RefusalText(PlaceRefusal refusal);

// Cleans one place: a folder's matching files go (in its subfolders too when they count,
// where subfolders that end up empty go as well when the pattern takes every name); the
// folder itself stays; links found inside are removed as links when they would go, never
// followed. A file that cannot go is left and the walk goes on. The check comes first: a
// refused place is not touched and the refusal comes back.
std::optional<PlaceRefusal> CleanCustomPlace(const CustomPlace& place,
                                             platform::Platform& platform);

}  // namespace qm::cleaners
