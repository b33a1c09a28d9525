#include "browsers/cookie_sites.h"

#include <algorithm>
#include <set>
#include <string_view>

#include "browsers/browser_profiles.h"
#include "cleaners/file_tools.h"
#include "cleaners/kept_sites.h"
#include "cleaners/netscape_cleaners.h"
#include "database/connection.h"
#include "errors/error_reporter.h"
#include "settings/settings_store.h"

namespace qm::browsers {
namespace {

class SiteSet {
  public:
    void Add(std::string_view host) {
        std::string folded = cleaners::KeptSites::Folded(host);
        if (!folded.empty()) sites_.insert(std::move(folded));
    }
    std::vector<std::string> Sorted() const { return {sites_.begin(), sites_.end()}; }

  private:
    std::set<std::string> sites_;
};

void AddTableHosts(database::PlatformVfs& vfs, const std::string& path, std::string_view query,
                   SiteSet& sites) {
    database::Connection db;
    if (db.OpenReadOnly(vfs, path) != database::Opened::Ok) return;
    if (const auto hosts = db.Column(query)) {
        for (const std::string& host : *hosts) sites.Add(host);
    }
}

// A cookie line starts with its domain up to the first tab; "#HttpOnly_" marks one only the
// server may read, any other "#" line is a comment.
void AddCookieFileHosts(std::string_view text, SiteSet& sites) {
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos) continue;
        line = line.substr(0, tab);
        if (line.starts_with("#HttpOnly_")) line.remove_prefix(10);
        if (!line.starts_with('#')) sites.Add(line);
    }
}

}  // namespace

std::vector<std::string> SitesWithCookies(platform::Platform& platform) {
    SiteSet sites;
    errors::ErrorReporter quiet;  // offline: what goes wrong here is never reported
    database::PlatformVfs vfs(platform.files);
    ProfileFinder finder(platform);
    for (const BrowserProfile& profile : finder.Chromium()) {
        for (const char* store : {"\\Network\\Cookies", "\\Cookies"})
            AddTableHosts(vfs, profile.folder + store, "SELECT host_key FROM cookies", sites);
    }
    for (const BrowserProfile& profile : finder.Firefox())
        AddTableHosts(vfs, profile.folder + "\\cookies.sqlite", "SELECT host FROM moz_cookies",
                      sites);

    settings::SettingsStore settings(platform.registry, platform.process, quiet);
    cleaners::FileTools tools(platform.files, platform.shell, quiet);
    cleaners::NetscapeCleaners netscape(platform, settings, tools, quiet);
    for (const std::string& file : netscape.CookieFiles()) {
        std::string text;
        if (platform.files.ReadFile(file, text) == platform::kOk) AddCookieFileHosts(text, sites);
    }

    const std::string folder = tools.GetCookiesFolder();
    std::vector<platform::DirEntry> entries;
    if (!folder.empty() && platform.files.List(folder + "\\*.txt", entries) == platform::kOk) {
        for (const platform::DirEntry& entry : entries) {
            if ((entry.attributes & platform::attr::kDirectory) == 0)
                sites.Add(cleaners::SiteOfCookieFile(entry.name));
        }
    }
    return sites.Sorted();
}

}  // namespace qm::browsers
