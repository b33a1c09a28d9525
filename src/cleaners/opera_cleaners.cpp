#include "cleaners/opera_cleaners.h"

#include <string_view>
#include <vector>

#include "cleaners/kept_sites.h"
#include "errors/runtime_error.h"
#include "paths/ascii_case.h"
#include "paths/folder_path.h"

namespace qm::cleaners {

namespace {

constexpr std::string_view kOperaAppPath =
    "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Opera.exe";
constexpr std::string_view kOpera7Profile = "Opera\\OPERA7\\profile\\";

}  // namespace

OperaCleaners::OperaCleaners(platform::Platform& platform, settings::SettingsStore& settings,
                             FileTools& tools, errors::ErrorReporter& /*reporter*/)
    : platform_(platform), settings_(settings), tools_(tools) {}

std::string OperaCleaners::GetOperaPath() {
    return settings_.GetSettingString(platform::Root::LocalMachine, kOperaAppPath, "Path", "");
}

std::string OperaCleaners::OperaFolder() {
    // Without the App Paths entry the places would be "\Cache" and "\cookies.dat" at the root
    // of whatever drive is current: nothing of Opera's, so nothing is touched.
    const std::string folder = paths::AddBackslash(GetOperaPath());
    return paths::IsAbsoluteFolderPath(folder) ? folder : std::string();
}

std::string OperaCleaners::Opera7Profile() {
    // A failed look-up gives empty text, and the profile would then be a relative path.
    const std::string app_data = tools_.GetSpecialFolder(platform::csidl::kAppData);
    if (!paths::IsAbsoluteFolderPath(app_data)) return {};
    return app_data + std::string(kOpera7Profile);
}

void OperaCleaners::DeleteFilesDirectlyIn(const std::string& folder) {
    if (tools_.FolderExists(folder)) tools_.DeleteFilesIn(folder);
}

void OperaCleaners::DeleteIfListed(const std::string& file) {
    errors::SilentStep([&] {
        if (tools_.Dir(file, mask::kNormal).empty()) return;
        errors::ThrowIfFailed(platform_.files.DeleteFile(file));
    });
}

void OperaCleaners::CleanOperaCache() {
    const std::string folder = OperaFolder();
    if (!folder.empty()) DeleteFilesDirectlyIn(folder + "Cache");
}

void OperaCleaners::CleanOpera7Cache() {
    const std::string profile = Opera7Profile();
    if (!profile.empty()) DeleteFilesDirectlyIn(profile + "cache4");
}

bool OperaCleaners::DeleteCookiesUnlessKept(const std::string& file) {
    const KeptSites kept = KeptSites::Parse(settings_.Get("cookiekeep"));
    std::string contents;
    if (!kept.empty() && platform_.files.ReadFile(file, contents) == platform::kOk) {
        // Opera stores a site's name a label at a time: a site counts as held when every one
        // of its labels is in the file, letter case aside. Unsure means kept.
        const std::string folded = paths::UpperAscii(contents);
        for (const std::string& site : kept.sites()) {
            bool all = true;
            for (std::size_t start = 0; all;) {
                const std::size_t dot = site.find('.', start);
                all = folded.find(paths::UpperAscii(site.substr(start, dot - start))) !=
                      std::string::npos;
                if (dot == std::string::npos) break;
                start = dot + 1;
            }
            if (all) {
                platform_.files.RecordKept(file);
                return true;
            }
        }
    }
    DeleteIfListed(file);
    return false;
}

bool OperaCleaners::CleanOperaCookies() {
    const std::string folder = OperaFolder();
    return !folder.empty() && DeleteCookiesUnlessKept(folder + "cookies.dat");
}

bool OperaCleaners::CleanOpera7Cookies() {
    const std::string profile = Opera7Profile();
    return !profile.empty() && DeleteCookiesUnlessKept(profile + "cookies4.dat");
}

void OperaCleaners::CleanOperaTypedURLs() {
    const std::string profile = Opera7Profile();
    if (profile.empty()) return;
    DeleteIfListed(profile + "global.dat");
    DeleteIfListed(profile + "opera.dir");
}

}  // namespace qm::cleaners
