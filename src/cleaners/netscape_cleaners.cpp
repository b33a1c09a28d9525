#include "cleaners/netscape_cleaners.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "cleaners/netscape_profiles.h"
#include "errors/labels.h"
#include "errors/runtime_error.h"

namespace qm::cleaners {

namespace {

constexpr std::array<std::string_view, 3> kHistoryFiles = {"history.dat", "history.mab",
                                                           "localstore.rdf"};

}  // namespace

NetscapeCleaners::NetscapeCleaners(platform::Platform& platform, settings::SettingsStore& settings,
                                   FileTools& tools, errors::ErrorReporter& reporter)
    : platform_(platform), settings_(settings), tools_(tools), reporter_(reporter) {}

template <class Step>
void NetscapeCleaners::Run(ErrorStyle style, Step&& step) {
    if (style == ErrorStyle::Reporting) {
        errors::ReportingStep(reporter_, errors::label::kCleanNetScapeURLS, step);
    } else {
        errors::SilentStep(step);
    }
}

std::string NetscapeCleaners::MozillaFolder() {
    const std::string app_data =
        settings_.GetSettingString(platform::Root::CurrentUser, kShellFoldersPath, "AppData", "");
    // An empty value (missing, or REG_EXPAND_SZ, which the settings store reads as empty)
    // would make this "\Mozilla\" at the root of the current drive: not the user's profile,
    // so it is not searched at all.
    const std::string mozilla = paths::AddBackslash(app_data) + "Mozilla\\";
    return paths::IsAbsoluteFolderPath(mozilla) ? mozilla : std::string();
}

std::vector<std::string> NetscapeCleaners::Profiles(ErrorStyle style) {
    const std::string mozilla = MozillaFolder();
    if (mozilla.empty()) return {};
    const std::string profile_registry = mozilla + "registry.dat";
    if (!tools_.FileExists(profile_registry)) return {};

    std::string content;
    Run(style, [&] {
        const platform::Status status = platform_.files.ReadFile(profile_registry, content);
        if (status != platform::kOk) content.clear();
        errors::ThrowIfFailed(status);
    });
    platform::SystemInfo& system = platform_.system;
    const ProfileCodePage ansi{[&](std::string_view utf8, std::string& bytes) {
                                   return system.ToAnsiCodePage(utf8, bytes);
                               },
                               [&](std::string_view bytes, std::string& utf8) {
                                   return system.FromAnsiCodePage(bytes, utf8);
                               }};
    std::vector<std::string> profiles = FindProfileFolders(content, mozilla, ansi);
    for (std::string& profile : profiles) profile = paths::AddBackslash(profile);
    return profiles;
}

void NetscapeCleaners::Delete(ErrorStyle style, const std::string& path) {
    Run(style, [&] { errors::ThrowIfFailed(platform_.files.DeleteFile(path)); });
}

void NetscapeCleaners::CleanNetScapeURLS() {
    for (const std::string& profile : Profiles(ErrorStyle::Reporting)) {
        for (const std::string_view name : kHistoryFiles) {
            const std::string file = profile + std::string(name);
            if (tools_.FileExists(file)) Delete(ErrorStyle::Reporting, file);
        }
    }
}

void NetscapeCleaners::CleanNetScapeCookies() {
    const KeptSites kept = KeptSites::Parse(settings_.Get("cookiekeep"));
    // The cache folder is the sign of a profile in use; one without it keeps its cookies.
    for (const std::string& profile : Profiles(ErrorStyle::Silent)) {
        if (!tools_.FolderExists(profile + "cache")) continue;
        const std::string path = profile + "cookies.txt";
        if (kept.empty() || !KeepCookies(path, kept)) Delete(ErrorStyle::Silent, path);
    }
}

std::vector<std::string> NetscapeCleaners::CookieFiles() {
    std::vector<std::string> files;
    for (const std::string& profile : Profiles(ErrorStyle::Silent)) {
        if (tools_.FileExists(profile + "cookies.txt")) files.push_back(profile + "cookies.txt");
    }
    return files;
}

bool NetscapeCleaners::KeepCookies(const std::string& path, const KeptSites& kept) {
    std::string text;
    if (platform_.files.ReadFile(path, text) != platform::kOk) return false;
    std::string rewritten;
    bool any = false;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = std::string_view(text).substr(start, end - start);
        start = end + 1;
        // A cookie line: domain, flag, path, secure, expiry, name, value, split by tabs; one
        // only the server may read starts "#HttpOnly_". Other "#" lines are comments.
        std::string_view domain = line.substr(0, line.find('\t'));
        const bool http_only = domain.starts_with("#HttpOnly_");
        if (http_only) domain.remove_prefix(10);
        const bool comment = !http_only && domain.starts_with('#');
        const bool keep =
            !comment && line.find('\t') != std::string_view::npos && kept.Keeps(domain);
        if (comment || keep) rewritten.append(line).push_back('\n');
        any = any || keep;
    }
    if (!any) return false;
    platform_.files.RecordKept(path);
    const std::string fresh = path + ".qmnew";
    if (platform_.files.WriteFileThrough(fresh, rewritten) != platform::kOk ||
        platform_.files.MoveFileReplacing(fresh, path) != platform::kOk)
        platform_.files.DeleteFile(fresh);
    return true;
}

void NetscapeCleaners::CleanNetScapeCache() {
    for (const std::string& profile : Profiles(ErrorStyle::Silent)) {
        if (tools_.FolderExists(profile + "cache")) tools_.DeleteFilesIn(profile + "cache");
    }
}

}  // namespace qm::cleaners
