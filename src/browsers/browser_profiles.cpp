#include "browsers/browser_profiles.h"

#include <algorithm>

#include "browsers/profile_texts.h"
#include "paths/ascii_case.h"
#include "paths/folder_path.h"

namespace qm::browsers {

namespace {

namespace attr = platform::attr;
namespace csidl = platform::csidl;

// Larger than any such file a browser writes; a larger one is not read.
constexpr std::uint64_t kMaxProfileList = 16u << 20;

bool IsNumbered(std::string_view name) {
    if (!name.starts_with("Profile ") || name.size() == 8) return false;
    return std::all_of(name.begin() + 8, name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A small file of another program, whole; empty when it is missing, unreadable or too large.
std::string ReadProfileList(platform::FileSystem& files, const std::string& path) {
    std::vector<platform::DirEntry> entries;
    std::string contents;
    if (files.List(path, entries) != platform::kOk || entries.size() != 1 ||
        entries.front().size > kMaxProfileList || files.ReadFile(path, contents) != platform::kOk)
        return {};
    return contents;
}

}  // namespace

const ChromiumBrowser kChromiumBrowsers[11] = {
    {"Chrome", "Google\\Chrome", "chrome.exe"},
    {"Chrome Beta", "Google\\Chrome Beta", "chrome.exe"},
    {"Chrome Dev", "Google\\Chrome Dev", "chrome.exe"},
    {"Chrome Canary", "Google\\Chrome SxS", "chrome.exe"},
    {"Edge", "Microsoft\\Edge", "msedge.exe"},
    {"Edge Beta", "Microsoft\\Edge Beta", "msedge.exe"},
    {"Edge Dev", "Microsoft\\Edge Dev", "msedge.exe"},
    {"Edge Canary", "Microsoft\\Edge SxS", "msedge.exe"},
    {"Brave", "BraveSoftware\\Brave-Browser", "brave.exe"},
    {"Vivaldi", "Vivaldi", "vivaldi.exe"},
    {"Chromium", "Chromium", "chrome.exe"},
};

ProfileFinder::ProfileFinder(platform::Platform& platform)
    : platform_(platform), guard_(platform) {}

bool ProfileFinder::IsFolder(const std::string& path, bool allow_link) {
    std::uint32_t attributes = 0;
    return platform_.files.GetAttributes(path, attributes) == platform::kOk &&
           (attributes & attr::kDirectory) != 0 &&
           (allow_link || (attributes & attr::kReparsePoint) == 0);
}

bool ProfileFinder::IsFile(const std::string& path) {
    std::uint32_t attributes = 0;
    return platform_.files.GetAttributes(path, attributes) == platform::kOk &&
           (attributes & attr::kDirectory) == 0;
}

std::vector<std::string> ProfileFinder::ChromiumProfileNames(const std::string& user_data) {
    const std::string state = ReadProfileList(platform_.files, user_data + "\\Local State");
    if (const auto listed = ProfilesInLocalState(state)) return *listed;
    std::vector<std::string> names;
    std::vector<platform::DirEntry> entries;
    if (platform_.files.List(user_data + "\\*", entries) != platform::kOk) return names;
    for (const platform::DirEntry& entry : entries) {
        if (entry.name == "Default" || IsNumbered(entry.name)) names.push_back(entry.name);
    }
    return names;
}

std::vector<BrowserProfile> ProfileFinder::Chromium() {
    std::vector<BrowserProfile> profiles;
    std::string local;
    if (platform_.shell.GetFolderPath(csidl::kLocalAppData, local) != platform::kOk ||
        !paths::IsAbsoluteFolderPath(local))
        return profiles;
    local = std::string(paths::WithoutTrailingBackslash(local));
    for (const ChromiumBrowser& browser : kChromiumBrowsers) {
        const std::string user_data =
            local + "\\" + std::string(browser.vendor_path) + "\\User Data";
        if (!IsFolder(user_data, true)) continue;
        std::vector<std::string> seen;
        for (const std::string& name : ChromiumProfileNames(user_data)) {
            const std::string folder = user_data + "\\" + name;
            const std::string folded = paths::UpperAscii(name);
            if (std::find(seen.begin(), seen.end(), folded) != seen.end()) continue;
            if (!IsFolder(folder, false) || !IsFile(folder + "\\Preferences")) continue;
            seen.push_back(folded);
            profiles.push_back({std::string(browser.name), Family::Chromium, folder, folder});
        }
    }
    return profiles;
}

std::vector<BrowserProfile> ProfileFinder::Firefox() {
    std::vector<BrowserProfile> profiles;
    std::string roaming, local;
    if (platform_.shell.GetFolderPath(csidl::kAppData, roaming) != platform::kOk ||
        platform_.shell.GetFolderPath(csidl::kLocalAppData, local) != platform::kOk ||
        !paths::IsAbsoluteFolderPath(roaming) || !paths::IsAbsoluteFolderPath(local))
        return profiles;
    const std::string base = paths::AddBackslash(roaming) + "Mozilla\\Firefox";
    const std::string local_base = paths::AddBackslash(local) + "Mozilla\\Firefox";
    std::vector<std::string> seen;
    for (const IniProfile& listed :
         ProfilesInIni(ReadProfileList(platform_.files, base + "\\profiles.ini"))) {
        BrowserProfile profile{"Firefox", Family::Firefox, "", ""};
        if (listed.relative) {
            const auto below = RelativeProfilePath(listed.path);
            if (!below) continue;
            profile.folder = base + "\\" + *below;
            profile.local_folder = local_base + "\\" + *below;
            if (!IsFolder(profile.folder, false)) continue;
        } else {
            const std::string folder(paths::WithoutTrailingBackslash(listed.path));
            if (!paths::IsAbsoluteFolderPath(folder) || !IsFolder(folder, true) ||
                guard_.IsProtected(folder))
                continue;
            profile.folder = profile.local_folder = folder;
        }
        const std::string folded = paths::UpperAscii(profile.folder);
        if (std::find(seen.begin(), seen.end(), folded) != seen.end()) continue;
        seen.push_back(folded);
        profiles.push_back(std::move(profile));
    }
    return profiles;
}

bool ProfileFinder::InUse(const BrowserProfile& profile) {
    const std::string lock =
        profile.family == Family::Chromium
            ? profile.folder.substr(0, profile.folder.find_last_of('\\')) + "\\lockfile"
            : profile.folder + "\\parent.lock";
    return platform_.files.OpenForDelete(lock) == platform::kErrorSharingViolation;
}

bool ProfileFinder::AnyInUse() {
    for (const auto& profiles : {Chromium(), Firefox()}) {
        for (const BrowserProfile& profile : profiles) {
            if (InUse(profile)) return true;
        }
    }
    return false;
}

std::string FoundText(const std::vector<BrowserProfile>& profiles) {
    std::string text;
    for (std::size_t i = 0; i < profiles.size();) {
        std::size_t count = 0;
        const std::string& browser = profiles[i].browser;
        while (i < profiles.size() && profiles[i].browser == browser) ++count, ++i;
        if (!text.empty()) {
            text += ", " + browser + ": " + std::to_string(count);
        } else {
            text = browser + ": " + std::to_string(count) + (count == 1 ? " profile" : " profiles");
        }
    }
    return text;
}

}  // namespace qm::browsers
