#pragma once
// Where the browsers keep their profiles on this machine, found afresh every time they are
// asked for: the Chromium family below the user's local application data folder, Firefox
// through its profiles.ini. A browser that is not there is left out without a word.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cleaners/folder_guard.h"
#include "platform/platform.h"

namespace qm::browsers {

enum class Family : std::uint8_t { Chromium, Firefox };

struct BrowserProfile {
    std::string browser;  // as the user knows it: "Chrome", "Edge", "Firefox", ...
    Family family = Family::Chromium;
    std::string folder;        // the profile folder
    std::string local_folder;  // where its caches lie (for the Chromium family, `folder`)
};

// Every Chromium-family browser Quillmoss knows, by the folder below local application data
// that holds its "User Data".
struct ChromiumBrowser {
    std::string_view name;
    std::string_view vendor_path;
    std::string_view program;  // its program file, as its windows report it
};
extern const ChromiumBrowser kChromiumBrowsers[11];

class ProfileFinder {
  public:
    explicit ProfileFinder(platform::Platform& platform);

    // The profiles of every Chromium-family browser: the folders that "User Data\Local State"
    // lists, or "Default" and "Profile N" when it is missing or unreadable. Each is a real
    // folder (no folder link) directly below User Data holding a Preferences file.
    std::vector<BrowserProfile> Chromium();
    // The profiles profiles.ini lists. A relative one lies below the Firefox folder of
    // application data, with its caches at the same place below local application data; an
    // absolute one is its own cache folder and is left out when it is, or holds, a folder
    // the guard protects.
    std::vector<BrowserProfile> Firefox();

    // The browser holds the profile: it holds its lock file for as long as it runs (the one
    // of User Data for the Chromium family, the profile's own parent.lock for Firefox).
    bool InUse(const BrowserProfile& profile);
    // Some browser, of either family, holds one of its profiles.
    bool AnyInUse();

  private:
    bool IsFolder(const std::string& path, bool allow_link);
    bool IsFile(const std::string& path);
    std::vector<std::string> ChromiumProfileNames(const std::string& user_data);

    platform::Platform& platform_;
    cleaners::FolderGuard guard_;
};

// What was found, for the item's hint: "Chrome: 2 profiles, Edge: 1". Empty for nothing.
std::string FoundText(const std::vector<BrowserProfile>& profiles);

}  // namespace qm::browsers
