// The real browsers' profiles (tests/fixtures/browsers, made by Chromium and Firefox) on a
// simulated machine, where Windows keeps them: every browser item cleaned, then no file an
// item owns holds a trace, and every other file is byte for byte as it was.
#include <gtest/gtest.h>

#include "browser_machine.h"
#include "browsers/browser_cleaners.h"
#include "database/connection.h"

namespace qm::browsers {
namespace {

// The files the browser items own: their traces must go, the rest must stay untouched.
bool Owned(const std::string& path) {
    for (const char* part :
         {"\\History", "\\Favicons", "\\Top Sites", "\\Shortcuts", "\\Network Action Predictor",
          "\\DIPS", "\\Cache\\", "\\Code Cache\\", "\\GPUCache\\", "\\Cookies", "\\Sessions",
          "\\Web Data", "places.sqlite", "favicons.sqlite", "cookies.sqlite", "formhistory.sqlite",
          "sessionstore", "\\cache2\\"}) {
        if (path.find(part) != std::string::npos) return true;
    }
    return false;
}

std::vector<std::string> Traces() {
    std::vector<std::string> traces;
    std::istringstream markers(
        testing::SlurpFixture(std::filesystem::path(QM_BROWSER_FIXTURES) / "markers.txt"));
    for (std::string kind, marker; markers >> kind && std::getline(markers >> std::ws, marker);) {
        if (kind == "visited" || kind == "cookie" || kind == "keptcookie" || kind == "form")
            traces.push_back(marker);
    }
    return traces;
}

TEST(BrowserFixtures, EveryItemLeavesNoTraceInWhatItOwnsAndTouchesNothingElse) {
    sim::Machine machine;
    const std::map<std::string, std::string> before = testing::PlaceBrowserFixtures(machine);
    BrowserCleaners cleaners(machine.platform());
    for (auto clean :
         {&BrowserCleaners::CleanChromiumHistory, &BrowserCleaners::CleanChromiumCache,
          &BrowserCleaners::CleanChromiumCookies, &BrowserCleaners::CleanChromiumSessions,
          &BrowserCleaners::CleanChromiumForms, &BrowserCleaners::CleanFirefoxHistory,
          &BrowserCleaners::CleanFirefoxCache, &BrowserCleaners::CleanFirefoxCookies,
          &BrowserCleaners::CleanFirefoxSessions, &BrowserCleaners::CleanFirefoxForms}) {
        (cleaners.*clean)();
        EXPECT_EQ(cleaners.TakeEndLine(), std::nullopt);
    }
    const std::vector<std::string> traces = Traces();
    ASSERT_GE(traces.size(), 10u);
    std::size_t owned = 0;
    for (const auto& [path, contents] : before) {
        const std::optional<std::string> now = machine.Peek(path);
        if (!Owned(path)) {
            EXPECT_TRUE(now == contents) << path;
            continue;
        }
        ++owned;
        for (const std::string& trace : traces)
            EXPECT_EQ(now.value_or("").find(trace), std::string::npos) << trace << " in " << path;
    }
    EXPECT_GT(owned, 50u);

    // What the user keeps is still there and whole.
    std::string local;
    machine.shell().GetFolderPath(platform::csidl::kLocalAppData, local);
    database::PlatformVfs vfs(machine.files());
    for (const char* profile : {"Default", "Profile 1"}) {
        database::Connection favicons, forms;
        const std::string folder = local + "\\Chromium\\User Data\\" + profile;
        ASSERT_EQ(favicons.Open(vfs, folder + "\\Favicons"), database::Opened::Ok);
        EXPECT_EQ(favicons.Integer("SELECT count(*) FROM icon_mapping WHERE page_url LIKE "
                                   "'%qm-bookmarked-page%'"),
                  1);
        EXPECT_EQ(favicons.Text("PRAGMA integrity_check"), "ok");
        favicons.Close();
        ASSERT_EQ(forms.Open(vfs, folder + "\\Web Data"), database::Opened::Ok);
        EXPECT_GT(forms.Integer("SELECT count(*) FROM keywords"), 0);
    }
}

// Cookies of a kept site stay, whatever letter case the list uses; all others go, and the
// kept rows are exactly as they were.
TEST(BrowserFixtures, KeptSitesKeepTheirCookiesInBothBrowsersDatabases) {
    // "keep.test" ends "qmkeep.test" but is not a site above it: it keeps nothing.
    for (const auto& [list, kept] :
         {std::pair{" QMKEEP.test ", "qmkeepcookie"}, std::pair{"keep.test", ""}}) {
        SCOPED_TRACE(list);
        sim::Machine machine;
        testing::PlaceBrowserFixtures(machine);
        std::string local, roaming;
        machine.shell().GetFolderPath(platform::csidl::kLocalAppData, local);
        machine.shell().GetFolderPath(platform::csidl::kAppData, roaming);
        const std::string sites = list;
        BrowserCleaners cleaners(machine.platform(),
                                 [&] { return cleaners::KeptSites::Parse(sites); });
        cleaners.CleanChromiumCookies();
        cleaners.CleanFirefoxCookies();
        EXPECT_EQ(cleaners.TakeEndLine(), std::nullopt);
        database::PlatformVfs vfs(machine.files());
        const std::pair<std::string, const char*> stores[] = {
            {local + "\\Chromium\\User Data\\Default\\Network\\Cookies",
             "SELECT group_concat(name) FROM cookies"},
            {local + "\\Chromium\\User Data\\Profile 1\\Network\\Cookies",
             "SELECT group_concat(name) FROM cookies"},
            {roaming + "\\Mozilla\\Firefox\\Profiles\\qoxma0fs.qmprofile\\cookies.sqlite",
             "SELECT group_concat(name) FROM moz_cookies"}};
        for (const auto& [path, names] : stores) {
            database::Connection db;
            ASSERT_EQ(db.Open(vfs, path), database::Opened::Ok) << path;
            EXPECT_EQ(db.Text(names), kept) << path;
            EXPECT_EQ(machine.Peek(path)->find("qmcookie"), std::string::npos);
        }
    }
}

}  // namespace
}  // namespace qm::browsers
