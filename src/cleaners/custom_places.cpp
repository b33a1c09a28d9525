#include "cleaners/custom_places.h"

#include <vector>

#include "cleaners/name_pattern.h"
#include "cleaners/reparse_point.h"
#include "paths/folder_path.h"

namespace qm::cleaners {

namespace attr = platform::attr;

namespace {

constexpr std::string_view kFolderTag = "folder";
constexpr std::string_view kFileTag = "file";

std::vector<std::string_view> Fields(std::string_view text) {
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t cut = text.find('|');
        fields.push_back(text.substr(0, cut));
        if (cut == std::string_view::npos) return fields;
        text.remove_prefix(cut + 1);
    }
}

bool TakesEveryName(std::string_view pattern) {
    return pattern == "*" || pattern == "*.*";
}

// A pattern is one name, wildcards allowed: what Windows lets a name hold, and * and ?.
bool IsPlainPattern(std::string_view pattern) {
    if (pattern.empty()) return false;
    std::string name(pattern);
    for (char& c : name) {
        if (c == '*' || c == '?') c = 'x';
    }
    return name.find('\\') == std::string::npos && paths::IsAbsoluteFolderPath("C:\\" + name);
}

// The walk below a checked folder; `top` is never removed.
void CleanFolder(const std::string& folder, const CustomPlace& place, platform::FileSystem& files,
                 bool top) {
    std::vector<platform::DirEntry> entries;
    if (files.List(folder + "\\*", entries) != platform::kOk) entries.clear();
    for (const platform::DirEntry& entry : entries) {
        if (paths::IsDotEntry(entry.name)) continue;
        const std::string path = folder + "\\" + entry.name;
        if ((entry.attributes & attr::kDirectory) == 0) {
            if (!MatchesPattern(entry.name, place.pattern)) continue;
            if ((entry.attributes & attr::kReadOnly) != 0)
                files.ForceDeleteFile(path);
            else
                files.DeleteFile(path);
            continue;
        }
        if (!place.subfolders) continue;
        // A link is an entry of this folder, not a folder of the user's to walk into.
        if (IsFolderLink(entry.attributes)) {
            if (TakesEveryName(place.pattern)) files.RemoveDirectory(path);
            continue;
        }
        CleanFolder(path, place, files, false);
    }
    if (!top && TakesEveryName(place.pattern)) files.RemoveDirectory(folder);
}

}  // namespace

std::string CustomPlace::Format() const {
    if (kind == Kind::File) return std::string(kFileTag) + "|" + path;
    return std::string(kFolderTag) + "|" + path + "|" + pattern + "|" + (subfolders ? "1" : "0");
}

std::optional<CustomPlace> CustomPlace::Parse(std::string_view text) {
    const std::vector<std::string_view> fields = Fields(text);
    CustomPlace place;
    if (fields.size() == 2 && fields[0] == kFileTag) {
        place.kind = Kind::File;
    } else if (fields.size() == 4 && fields[0] == kFolderTag &&
               (fields[3] == "0" || fields[3] == "1")) {
        place.pattern = std::string(fields[2]);
        place.subfolders = fields[3] == "1";
    } else {
        return std::nullopt;
    }
    place.path = std::string(fields[1]);
    if (place.path.empty()) return std::nullopt;
    return place;
}

std::string CustomPlace::Caption() const {
    if (kind == Kind::File) return path;
    std::string caption = paths::AddBackslash(path) + pattern;
    if (subfolders) caption += ", with subfolders";
    return caption;
}

std::string CustomTickValue(int slot) {
    return "custom" + std::to_string(slot);
}

std::string CustomBoxName(int slot) {
    // Appended rather than "chkCustom" + text: GCC 12's i686 build warns of an overlapping
    // copy in that form (-Wrestrict) where there is none.
    std::string name = "chkCustom";
    name += std::to_string(slot);
    return name;
}

std::string CustomPlaceValue(int slot) {
    return CustomTickValue(slot) + "place";
}

std::optional<PlaceRefusal> CheckCustomPlace(const CustomPlace& place,
                                             platform::Platform& platform) {
    const std::string_view path = paths::WithoutTrailingBackslash(place.path);
    if (!paths::IsAbsoluteFolderPath(paths::AddBackslash(path))) return PlaceRefusal::NotAFullPath;
    if (place.kind == CustomPlace::Kind::Folder) {
        if (!IsPlainPattern(place.pattern)) return PlaceRefusal::BadPattern;
        if (FolderGuard(platform).IsProtected(path)) return PlaceRefusal::Protected;
    }
    std::uint32_t attributes = 0;
    if (platform.files.GetAttributes(path, attributes) != platform::kOk) {
        return PlaceRefusal::NotThere;
    }
    const bool folder = (attributes & attr::kDirectory) != 0;
    if (folder != (place.kind == CustomPlace::Kind::Folder)) return PlaceRefusal::WrongKind;
    return std::nullopt;
}

std::string_view RefusalText(PlaceRefusal refusal) {
    switch (refusal) {
        case PlaceRefusal::NotAFullPath:
            return "Not a full path: name the drive or share and every folder.";
        case PlaceRefusal::BadPattern:
            return "The name pattern is not one name (such as *.log).";
        case PlaceRefusal::Protected:
            return "Refused: it is, or holds, a folder of Windows, the programs or your own files.";
        case PlaceRefusal::NotThere:
            return "Nothing is there.";
        case PlaceRefusal::WrongKind:
            return "It is a folder where a file was named, or a file where a folder was.";
    }
    return "";
}

std::optional<PlaceRefusal> CleanCustomPlace(const CustomPlace& place,
                                             platform::Platform& platform) {
    if (const auto refusal = CheckCustomPlace(place, platform)) return refusal;
    const std::string path(paths::WithoutTrailingBackslash(place.path));
    if (place.kind == CustomPlace::Kind::File) {
        std::uint32_t attributes = 0;
        platform.files.GetAttributes(path, attributes);
        if ((attributes & attr::kReadOnly) != 0)
            platform.files.ForceDeleteFile(path);
        else
            platform.files.DeleteFile(path);
        return std::nullopt;
    }
    CleanFolder(path, place, platform.files, true);
    return std::nullopt;
}

}  // namespace qm::cleaners
