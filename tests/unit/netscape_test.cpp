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
// What surrounds the paths in a real profile registry: NULs, lengths and key names.
const std::string kJunk = "\x76\x98\x1C\x00\x00\x00\x01\x00Profiles\x00\xFF\xFE\x03"s;

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

TEST(ProfileWalk, FindsProfilesInFileOrderAndSkipsThoseLeavingTheMozillaFolder) {
    const std::string content = kJunk + Upper(kMozilla) + "Profiles\\a\\ab12.slt" + kJunk +
                                kMozilla + "Profiles\\J\xC3\xB6rg.SLT\\prefs.js" + kJunk +
                                kMozilla + "Profiles\\no-suffix" + kJunk;
    EXPECT_EQ(
        FindProfileFolders(content, kMozilla),
        (Paths{Upper(kMozilla) + "Profiles\\a\\ab12.slt", kMozilla + "Profiles\\J\xC3\xB6rg.SLT"}));

    for (const std::string& rest :
         {"..\\..\\WINDOWS\\x.slt"s, "P\\..\\..\\x.slt"s, "P\\.\\x.slt"s, "P\\dot.\\x.slt"s,
          "P/../../x.slt"s, "\\WINDOWS\\x.slt"s, "C:\\WINDOWS\\x.slt"s, "P\0\\x.slt"s,
          "P\t<>\"|?*\\x.slt"s, "J\xC3\x28rg\\x.slt"s, "\xC0\xAE\xC0\xAE\\x.slt"s}) {
        EXPECT_EQ(FindProfileFolders(kMozilla + rest + kJunk + kMozilla + "ok.slt", kMozilla),
                  Paths{kMozilla + "ok.slt"})
            << rest;
    }
    // A ".slt" in the Mozilla folder's own path must not end a profile above that folder.
    const std::string odd = "C:\\Users\\me.slt\\AppData\\Mozilla\\";
    EXPECT_EQ(FindProfileFolders(odd + "p.slt", odd), Paths{odd + "p.slt"});
    // An empty "AppData" gives "\Mozilla\": no profile can be strictly inside that.
    EXPECT_EQ(FindProfileFolders("\\Mozilla\\p.slt", "\\Mozilla\\"), Paths{});
    EXPECT_EQ(FindProfileFolders(kMozilla + "p.slt", kAppData + "\\Mozilla"), Paths{});
}

class NetscapeCleanersTest : public ::testing::Test {
  protected:
    sim::Machine machine;
    qm::testing::OnlineReporter log;
    settings::SettingsStore settings{machine.registry(), machine.process(), log.reporter};
    FileTools tools{machine.files(), machine.shell(), log.reporter};
    NetscapeCleaners netscape{machine.platform(), settings, tools, log.reporter};

    // A used profile: history, cookies, a cache with a subfolder, and files that must stay.
    void AddProfile(const std::string& profile) {
        for (const char* name : {"history.dat", "history.mab", "localstore.rdf", "cookies.txt",
                                 "prefs.js", "cache\\_CACHE_MAP_", "cache\\sub\\kept.tmp"}) {
            machine.AddFile(profile + "\\" + name);
        }
    }
    void CleanAll() {
        settings.SaveSettingString(platform::Root::CurrentUser, kShellFoldersPath, "AppData",
                                   kAppData);
        netscape.CleanNetScapeURLS();
        netscape.CleanNetScapeCookies();
        netscape.CleanNetScapeCache();
    }
    Paths Deleted() const {
        Paths paths;
        for (const sim::Deletion& d : machine.deletions()) paths.push_back(d.path);
        return paths;
    }
};

TEST_F(NetscapeCleanersTest, CleansTheNamedProfilesAndNothingElse) {
    const std::string first =
        kMozilla + "Profiles\\" + std::string(150, 'n') + "\\\xE6\x97\xA5.slt";
    const std::string second = kMozilla + "Profiles\\work\\cd34.slt";
    const std::string no_cache = kMozilla + "Profiles\\old\\ef56.slt";
    const std::string victim = "C:\\Victim\\x.slt";
    for (const std::string& profile : {first, second, victim}) AddProfile(profile);
    machine.AddFile(no_cache + "\\cookies.txt");
    machine.AddFile(kMozilla + "registry.dat", kJunk + first + kJunk + kMozilla +
                                                   "..\\..\\..\\..\\Victim\\x.slt" + kJunk +
                                                   Upper(second) + kJunk + no_cache + kJunk);

    CleanAll();

    EXPECT_EQ(Deleted(),
              (Paths{first + "\\history.dat", first + "\\history.mab", first + "\\localstore.rdf",
                     second + "\\history.dat", second + "\\history.mab",
                     second + "\\localstore.rdf", first + "\\cookies.txt", second + "\\cookies.txt",
                     first + "\\cache\\_CACHE_MAP_", second + "\\cache\\_CACHE_MAP_"}));
    EXPECT_TRUE(log.sent.empty());
}

TEST_F(NetscapeCleanersTest, FilesInUseStayAndOnlyHistoryFailuresAreReported) {
    const std::string profile = kMozilla + "p.slt";
    AddProfile(profile);
    CleanAll();  // no registry.dat
    machine.AddFile(kMozilla + "registry.dat", profile);
    machine.Lock(kMozilla + "registry.dat", sim::LockMode::Exclusive);
    CleanAll();  // a registry.dat that cannot be read
    EXPECT_TRUE(machine.deletions().empty());

    machine.Unlock(kMozilla + "registry.dat");
    machine.Lock(profile + "\\history.dat");
    machine.Lock(profile + "\\localstore.rdf", sim::LockMode::Exclusive);
    machine.AddFile(profile + "\\history.mab", "", platform::attr::kReadOnly);
    machine.AddFile(profile + "\\cookies.txt", "", platform::attr::kReadOnly);
    machine.Lock(profile + "\\cache\\_CACHE_MAP_");
    CleanAll();

    EXPECT_TRUE(machine.deletions().empty());
    // history.dat and history.mab resist; localstore.rdf does not even count as present.
    EXPECT_EQ(log.CountFor(errors::label::kCleanNetScapeURLS), 2);
    EXPECT_EQ(log.sent.size(), 2u);
}

}  // namespace
}  // namespace qm::cleaners
