#include "cleaners/netscape_cleaners.h"

#include <gtest/gtest.h>

#include "cleaners/netscape_profiles.h"
#include "core_test_support.h"
#include "errors/labels.h"

namespace qm::cleaners {
namespace {

namespace attr = platform::attr;
using platform::Root;
using Paths = std::vector<std::string>;
using namespace std::string_literals;

const std::string kMozilla = "C:\\Documents and Settings\\Tester\\Application Data\\Mozilla\\";
// What surrounds the paths in a real profile registry: NULs, lengths and key names.
const std::string kJunk = "\x76\x98\x1C\x00\x00\x00\x01\x00Profiles\x00\xFF\xFE\x03"s;

TEST(ProfileWalk, FindsEveryProfileInFileOrderWhateverTheLetterCase) {
    std::string upper = kMozilla;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const std::string content = kJunk + upper + "Profiles\\default\\ab12cd34.slt" + '\0' + kJunk +
                                kMozilla + "Profiles\\Work\\ef56.SLT\\prefs.js" + '\0' + kJunk;
    EXPECT_EQ(
        FindProfileFolders(content, kMozilla),
        (Paths{upper + "Profiles\\default\\ab12cd34.slt", kMozilla + "Profiles\\Work\\ef56.SLT"}));

    // The Mozilla folder named but no ".slt" after it: the walk ends with what it has.
    EXPECT_EQ(FindProfileFolders(kJunk + kMozilla + "Profiles\\default" + kJunk, kMozilla),
              Paths{});
    EXPECT_EQ(FindProfileFolders(kMozilla + "a.slt" + kJunk + kMozilla + "Profiles", kMozilla),
              Paths{kMozilla + "a.slt"});
    EXPECT_EQ(FindProfileFolders("", kMozilla), Paths{});
}

TEST(ProfileWalk, SkipsProfilesThatLeaveTheMozillaFolderAndGoesOn) {
    const Paths hostile = {
        "..\\..\\..\\..\\WINDOWS\\x.slt",
        "Profiles\\..\\..\\..\\x.slt",
        "Profiles\\.\\x.slt",
        "Profiles\\...\\x.slt",
        "Profiles\\trailing.\\x.slt",
        "Profiles\\trailing \\x.slt",
        "Profiles/../../x.slt",
        "\\WINDOWS\\x.slt",
        "Profiles\\\\x.slt",
        "C:\\WINDOWS\\x.slt",
        "Profiles\\x:stream.slt",
        "Pro\0files\\x.slt"s,
        "Pro\tfiles\\x.slt",
        "Pro<files\\x.slt",
        "Pro>files\\x.slt",
        "Pro\"files\\x.slt",
        "Pro|files\\x.slt",
        "Pro?files\\x.slt",
        "Pro*files\\x.slt",
        "J\xC3\x28rg\\x.slt",       // broken UTF-8
        "\xC0\xAE\xC0\xAE\\x.slt",  // ".." spelled as overlong UTF-8
        "\xED\xA0\x80\\x.slt",      // a lone surrogate
    };
    for (const std::string& rest : hostile) {
        const std::string content = kMozilla + rest + '\0' + kMozilla + "Profiles\\good.slt";
        EXPECT_EQ(FindProfileFolders(content, kMozilla), Paths{kMozilla + "Profiles\\good.slt"})
            << rest;
    }
    EXPECT_EQ(FindProfileFolders(kMozilla + "Profiles\\J\xC3\xB6rg\\\xE2\x82\xAC.slt", kMozilla),
              Paths{kMozilla + "Profiles\\J\xC3\xB6rg\\\xE2\x82\xAC.slt"});

    // A ".slt" inside the Mozilla folder's own path must not end a profile above it.
    const std::string odd = "C:\\Users\\me.slt\\AppData\\Mozilla\\";
    EXPECT_EQ(FindProfileFolders(odd + "Profiles\\p.slt", odd), Paths{odd + "Profiles\\p.slt"});
}

TEST(ProfileWalk, NeedsAnAbsoluteMozillaFolder) {
    const std::string content = "\\Mozilla\\Profiles\\p.slt " + kMozilla + "Profiles\\q.slt";
    EXPECT_EQ(FindProfileFolders(content, "\\Mozilla\\"), Paths{});
    EXPECT_EQ(FindProfileFolders(content, "Mozilla\\"), Paths{});
    EXPECT_EQ(FindProfileFolders(content, kMozilla.substr(0, kMozilla.size() - 1)), Paths{});

    EXPECT_TRUE(IsAbsoluteFolderPath("C:\\"));
    EXPECT_TRUE(IsAbsoluteFolderPath("d:\\Data\\Mozilla\\"));
    EXPECT_TRUE(IsAbsoluteFolderPath("\\\\server\\share\\Mozilla\\"));
    for (const char* refused : {"", "\\", "C:", "C:Mozilla\\", "\\\\server\\", "\\\\?\\C:\\x\\",
                                "\\\\.\\C:\\x\\", "C:\\a\\..\\b\\", "C:\\a\\\\b\\", "1:\\a\\"}) {
        EXPECT_FALSE(IsAbsoluteFolderPath(refused)) << refused;
    }
}

class NetscapeCleanersTest : public ::testing::Test {
  protected:
    sim::Machine machine;
    qm::testing::OnlineReporter log;
    settings::SettingsStore settings{machine.registry(), machine.process(), log.reporter};
    FileTools tools{machine.files(), machine.shell(), log.reporter};
    NetscapeCleaners netscape{machine.platform(), settings, tools, log.reporter};
    const std::string app_data = "C:\\Documents and Settings\\Tester\\Application Data";

    void SetAppData(const std::string& folder) {
        settings.SaveSettingString(Root::CurrentUser, kShellFoldersPath, "AppData", folder);
    }
    // A used profile: history, cookies, a cache with a subfolder, and files that must stay.
    void AddProfile(const std::string& profile) {
        for (const char* name :
             {"history.dat", "history.mab", "localstore.rdf", "cookies.txt", "prefs.js",
              "bookmarks.html", "cache\\_CACHE_MAP_", "cache\\0A1B2C3D", "cache\\sub\\kept.tmp"}) {
            machine.AddFile(profile + "\\" + name);
        }
    }
    void CleanAll() {
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

TEST_F(NetscapeCleanersTest, CleansEveryNamedProfileAndNothingElse) {
    SetAppData(app_data);
    const std::string mozilla = app_data + "\\Mozilla";
    const std::string first = mozilla + "\\Profiles\\default\\ab12.slt";
    const std::string second = mozilla + "\\Profiles\\work\\cd34.slt";
    const std::string unnamed = mozilla + "\\Profiles\\old\\ef56.slt";
    AddProfile(first);
    AddProfile(second);
    AddProfile(unnamed);
    std::string lower = second;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    machine.AddFile(mozilla + "\\registry.dat", kJunk + first + '\0' + kJunk + lower + '\0');
    // A profile that keeps its cookies: no cache folder.
    machine.AddFile(first + "\\Nocache.slt\\cookies.txt");

    CleanAll();

    EXPECT_EQ(Deleted(), (Paths{
                             first + "\\history.dat",
                             first + "\\history.mab",
                             first + "\\localstore.rdf",
                             second + "\\history.dat",
                             second + "\\history.mab",
                             second + "\\localstore.rdf",
                             first + "\\cookies.txt",
                             second + "\\cookies.txt",
                             first + "\\cache\\0A1B2C3D",
                             first + "\\cache\\_CACHE_MAP_",
                             second + "\\cache\\0A1B2C3D",
                             second + "\\cache\\_CACHE_MAP_",
                         }));
    EXPECT_TRUE(machine.Exists(first + "\\cache\\sub\\kept.tmp"));
    EXPECT_TRUE(machine.Exists(mozilla + "\\registry.dat"));
    EXPECT_TRUE(log.sent.empty());
}

TEST_F(NetscapeCleanersTest, CookieFileStaysInAProfileWithoutCache) {
    SetAppData(app_data);
    const std::string profile = app_data + "\\Mozilla\\Profiles\\p.slt";
    machine.AddFile(profile + "\\cookies.txt");
    machine.AddFile(app_data + "\\Mozilla\\registry.dat", kJunk + profile + '\0');
    netscape.CleanNetScapeCookies();
    netscape.CleanNetScapeCache();
    EXPECT_TRUE(machine.deletions().empty());
}

TEST_F(NetscapeCleanersTest, HostileProfileRegistryCannotReachOutside) {
    SetAppData(app_data);
    const std::string mozilla = app_data + "\\Mozilla\\";
    const std::string victim = "C:\\Victim\\x.slt";
    AddProfile(victim);
    AddProfile(mozilla + "Profiles\\good.slt");
    machine.AddFile(mozilla + "registry.dat", mozilla + "..\\..\\..\\..\\Victim\\x.slt" + '\0' +
                                                  mozilla + "Profiles/../../../../../Victim/x.slt" +
                                                  '\0' + "C:\\Victim\\x.slt" + '\0' + mozilla +
                                                  "Profiles\\good.slt");
    CleanAll();
    EXPECT_EQ(Deleted().size(), 6u);
    for (const std::string& path : Deleted()) {
        EXPECT_EQ(path.rfind(mozilla + "Profiles\\good.slt\\", 0), 0u) << path;
    }
}

TEST_F(NetscapeCleanersTest, UnusableAppDataOrProfileRegistryDoesNothing) {
    // A Mozilla folder at the root of the drive, with its own registry, that an empty AppData
    // would have pointed at.
    AddProfile("C:\\Mozilla\\Profiles\\p.slt");
    machine.AddFile("C:\\Mozilla\\registry.dat",
                    "\\Mozilla\\Profiles\\p.slt"s + '\0' + "C:\\Mozilla\\Profiles\\p.slt");
    const std::string profile = app_data + "\\Mozilla\\Profiles\\q.slt";
    AddProfile(profile);

    CleanAll();  // no AppData value
    qm::testing::WriteRaw(machine.registry(), Root::CurrentUser, kShellFoldersPath, "AppData",
                          platform::RegType::ExpandSz, qm::testing::Utf16Bytes(app_data));
    CleanAll();
    SetAppData(app_data);
    CleanAll();  // no registry.dat in the Mozilla folder
    machine.AddFile(app_data + "\\Mozilla\\registry.dat", profile);
    machine.Lock(app_data + "\\Mozilla\\registry.dat", sim::LockMode::Exclusive);
    CleanAll();  // held open without sharing: it cannot be read
    EXPECT_TRUE(machine.deletions().empty());
    EXPECT_TRUE(log.sent.empty());
}

TEST_F(NetscapeCleanersTest, FilesInUseStayAndOnlyHistoryFailuresAreReported) {
    SetAppData(app_data);
    const std::string profile = app_data + "\\Mozilla\\Profiles\\p.slt";
    AddProfile(profile);
    machine.AddFile(app_data + "\\Mozilla\\registry.dat", profile);
    machine.Lock(profile + "\\history.dat");                               // browser running
    machine.Lock(profile + "\\localstore.rdf", sim::LockMode::Exclusive);  // cannot even be read
    machine.AddFile(profile + "\\history.mab", "", attr::kReadOnly);
    machine.AddFile(profile + "\\cookies.txt", "", attr::kReadOnly);
    machine.Lock(profile + "\\cache\\_CACHE_MAP_");

    CleanAll();

    EXPECT_EQ(Deleted(), Paths{profile + "\\cache\\0A1B2C3D"});
    // history.dat and history.mab exist but resist; localstore.rdf does not even count as there.
    EXPECT_EQ(log.CountFor(errors::label::kCleanNetScapeURLS), 2);
    EXPECT_EQ(log.sent.size(), 2u);
}

TEST_F(NetscapeCleanersTest, LongAndNonAsciiNames) {
    const std::string user = "C:\\Documents and Settings\\J\xC3\xB6rg M\xC3\xBCller";
    SetAppData(user + "\\Anwendungsdaten");
    const std::string profile = user + "\\Anwendungsdaten\\Mozilla\\Profiles\\" +
                                std::string(120, 'n') + "\\\xE6\x97\xA5\xE6\x9C\xAC.slt";
    AddProfile(profile);
    machine.AddFile(user + "\\Anwendungsdaten\\Mozilla\\registry.dat", kJunk + profile + kJunk);
    CleanAll();
    EXPECT_EQ(Deleted().size(), 6u);
    EXPECT_FALSE(machine.Exists(profile + "\\history.dat"));
    EXPECT_FALSE(machine.Exists(profile + "\\cache\\0A1B2C3D"));
}

}  // namespace
}  // namespace qm::cleaners
