#pragma once
// What the browsers' own files say about their profiles: Local State (JSON) of the Chromium
// family and profiles.ini of Firefox. Pure text work, so it can be fuzzed on its own. The
// files belong to other programs and may be damaged or crafted; the cleaners delete inside
// every folder named here, so only plain names and paths come out.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm::browsers {

// A single folder name Windows takes as it is: not empty, no separator or other character
// a file name may not hold, not "." or "..", not ending in a dot or blank.
bool IsPlainFolderName(std::string_view name);

// The profile folder names that Local State lists under profile.info_cache, in its order,
// plain names only. nullopt when the text is no JSON, too large or too deeply nested, or
// has no such list: the caller then looks for the usual profile folders itself.
std::optional<std::vector<std::string>> ProfilesInLocalState(std::string_view json);

// The address of every bookmark in a Chromium-family Bookmarks file, folders searched all
// the way down; nullopt when the text is no such file (the caller then keeps everything).
std::optional<std::vector<std::string>> BookmarkedUrls(std::string_view json);

struct IniProfile {
    std::string path;  // as written
    bool relative = false;
};

// The Path and IsRelative of each [Profile...] section of profiles.ini, in file order;
// sections without a Path are left out.
std::vector<IniProfile> ProfilesInIni(std::string_view ini);

// A relative profile path ("Profiles/abcd.default") in Windows form, when each of its names
// is plain; nullopt otherwise (an absolute path, "..", an empty name, a drive).
std::optional<std::string> RelativeProfilePath(std::string_view path);

}  // namespace qm::browsers
