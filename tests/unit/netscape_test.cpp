#include "cleaners/netscape_cleaners.h"

#include <gtest/gtest.h>

#include "cleaners/netscape_profiles.h"
#include "core_test_support.h"
#include "errors/labels.h"

namespace qm::cleaners {
namespace {

using Paths = std::vector<std::string>;
using namespace std::string_literals;

const std::string kAppData = "C:\\Documents and Settings\\Tester\\Application Data";
const std::string kMozilla = kAppData + "\\Mozilla\\";
const std::string kMozillaUpper = "C:\\DOCUMENTS AND SETTINGS\\TESTER\\APPLICATION DATA\\MOZILLA\\";
// What surrounds the paths in a real profile registry: NULs, lengths and key names.
const std::string kJunk = "\x76\x98\x1C\x00\x00\x00\x01\x00Profiles\x00\xFF\xFE\x03"s;

TEST(ProfileWalk, FindsProfilesInFileOrderAndSkipsThoseLeavingTheMozillaFolder) {
    const auto find = [](const std::string& text) { return FindProfileFolders(text, kMozilla); };
    const std::string content = kJunk + kMozillaUpper + "Profiles\\a\\ab12.slt" + kJunk + kMozilla +
                                "Profiles\\J\xC3\xB6rg.SLT\\prefs.js" + kJunk + kMozilla +
                                "Profiles\\no-suffix" + kJunk;
    EXPECT_EQ(find(content), (Paths{kMozillaUpper + "Profiles\\a\\ab12.slt",
                                    kMozilla + "Profiles\\J\xC3\xB6rg.SLT"}));

    for (const std::string& rest :
         {"..\\..\\WINDOWS\\x.slt"s, "P\\..\\..\\x.slt"s, "P\\.\\x.slt"s, "P\\dot.\\x.slt"s,
          "P/../../x.slt"s, "\\WINDOWS\\x.slt"s, "C:\\WINDOWS\\x.slt"s, "P\0\\x.slt"s,
          "P\t<>\"|?*\\x.slt"s, "J\xC3\x28rg\\x.slt"s, "\xC0\xAE\xC0\xAE\\x.slt"s}) {
        EXPECT_EQ(find(kMozilla + rest + kJunk + kMozilla + "ok.slt"), Paths{kMozilla + "ok.slt"})
            << rest;
    }
    // A ".slt" in the Mozilla folder's own path must not end a profile above that folder.
    const std::string odd = "C:\\Users\\me.slt\\AppData\\Mozilla\\";
    EXPECT_EQ(FindProfileFolders(odd + "p.slt", odd), Paths{odd + "p.slt"});
    // An empty "AppData" gives "\Mozilla\": no profile can be strictly inside that.
    EXPECT_EQ(FindProfileFolders("\\Mozilla\\p.slt", "\\Mozilla\\"), Paths{});
}

TEST(NetscapeCleaners, CleanOnlyTheNamedProfilesAndReportOnlyHistoryFailures) {
    sim::Machine machine;
    qm::testing::OnlineReporter log;
    settings::SettingsStore settings{machine.registry(), machine.process(), log.reporter};
    FileTools tools{machine.files(), machine.shell(), log.reporter};
    NetscapeCleaners netscape{machine.platform(), settings, tools, log.reporter};
    const auto clean_all = [&] {
        netscape.CleanNetScapeURLS();
        netscape.CleanNetScapeCookies();
        netscape.CleanNetScapeCache();
    };
    settings.SaveSettingString(platform::Root::CurrentUser, kShellFoldersPath, "AppData", kAppData);
    const std::string first = kMozilla + std::string(150, 'n') + "\\\xE6\x97\xA5.slt";
    const std::string second = kMozillaUpper + "PROFILES\\WORK\\CD34.SLT";
    const std::string no_cache = kMozilla + "Profiles\\old\\ef56.slt";
    const std::string registry = kMozilla + "registry.dat";
    // Used profiles: history, cookies, a cache with a subfolder, and files that must stay.
    for (const std::string& profile : {first, second, std::string("C:\\Victim\\x.slt")}) {
        for (const char* name : {"history.dat", "history.mab", "localstore.rdf", "cookies.txt",
                                 "prefs.js", "cache\\_CACHE_MAP_", "cache\\sub\\kept.tmp"}) {
            machine.AddFile(profile + "\\" + name);
        }
    }
    machine.AddFile(no_cache + "\\cookies.txt");
    machine.AddFile(registry, kJunk + first + kJunk + kMozilla + "..\\..\\..\\..\\Victim\\x.slt" +
                                  kJunk + second + kJunk + no_cache + kJunk);
    machine.Lock(registry, sim::LockMode::Exclusive);
    clean_all();  // a registry.dat that cannot be read
    EXPECT_TRUE(machine.deletions().empty());

    // In the second profile everything is in use or read-only.
    machine.Unlock(registry);
    machine.Lock(second + "\\history.dat");
    machine.Lock(second + "\\localstore.rdf", sim::LockMode::Exclusive);
    machine.AddFile(second + "\\history.mab", "", platform::attr::kReadOnly);
    machine.AddFile(second + "\\cookies.txt", "", platform::attr::kReadOnly);
    machine.Lock(second + "\\cache\\_CACHE_MAP_");
    clean_all();

    // Five files of the first profile; the one without a cache keeps its cookies.
    EXPECT_EQ(machine.deletions().size(), 5u);
    EXPECT_FALSE(machine.Exists(first + "\\cache\\_CACHE_MAP_"));
    EXPECT_TRUE(machine.Exists(no_cache + "\\cookies.txt"));
    // history.dat and history.mab resist; localstore.rdf does not even count as present.
    EXPECT_EQ(log.CountFor(errors::label::kCleanNetScapeURLS), 2);
    EXPECT_EQ(log.sent.size(), 2u);
}

}  // namespace
}  // namespace qm::cleaners
