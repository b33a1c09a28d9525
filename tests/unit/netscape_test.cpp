#include "cleaners/netscape_cleaners.h"

#include <gtest/gtest.h>

#include "cleaners/netscape_profiles.h"
#include "core_test_support.h"
#include "errors/labels.h"
#include "paths/ascii_case.h"
#include "platform/sim/windows_1252.h"

namespace qm::cleaners {
namespace {

using Paths = std::vector<std::string>;
using namespace std::string_literals;

// User "José": registry.dat spells his folders in the ANSI code page (Windows-1252).
const std::string kAppData = "C:\\Documents and Settings\\Jos\u00e9\\Application Data";
const std::string kMozilla = kAppData + "\\Mozilla\\";
const std::string kMozillaUpper = paths::UpperAscii(kMozilla);
const std::string kDefaut = "d\u00e9faut";
// What surrounds the paths in a real profile registry: NULs, lengths and key names.
const std::string kJunk = "\x76\x98\x1C\x00\x00\x00\x01\x00Profiles\x00\xFF\xFE\x03"s;
const ProfileCodePage kWindows1252{sim::Utf8ToWindows1252, sim::Windows1252ToUtf8};

std::string Ansi(const std::string& utf8) {
    std::string ansi;
    EXPECT_TRUE(sim::Utf8ToWindows1252(utf8, ansi)) << utf8;
    return ansi;
}

TEST(ProfileWalk, FindsProfilesInFileOrderAndSkipsThoseLeavingTheMozillaFolder) {
    const auto find = [](const std::string& text) {
        return FindProfileFolders(text, kMozilla, kWindows1252);
    };
    const std::string content = kJunk + Ansi(kMozillaUpper + "Profiles\\a\\ab12.slt") + kJunk +
                                Ansi(kMozilla + "Profiles\\" + kDefaut + ".SLT\\prefs.js") + kJunk +
                                Ansi(kMozilla + "Profiles\\no-suffix") + kJunk;
    EXPECT_EQ(find(content), (Paths{kMozillaUpper + "Profiles\\a\\ab12.slt",
                                    kMozilla + "Profiles\\" + kDefaut + ".SLT"}));

    for (const std::string& rest :
         {"..\\..\\WINDOWS\\x.slt"s, "P\\..\\..\\x.slt"s, "P\\.\\x.slt"s, "P\\dot.\\x.slt"s,
          "P/../../x.slt"s, "\\WINDOWS\\x.slt"s, "C:\\WINDOWS\\x.slt"s, "P\0\\x.slt"s,
          "P\t<>\"|?*\\x.slt"s, "P\x1F\\x.slt"s}) {
        EXPECT_EQ(find(Ansi(kMozilla) + rest + kJunk + Ansi(kMozilla) + "ok.slt"),
                  Paths{kMozilla + "ok.slt"})
            << rest;
    }
    // Where the ANSI code page is UTF-8 itself, malformed and overlong sequences are refused.
    const auto same = [](std::string_view from, std::string& to) { return to.assign(from), true; };
    for (const std::string& rest : {"J\xC3\x28rg\\x.slt"s, "\xC0\xAE\xC0\xAE\\x.slt"s})
        EXPECT_EQ(FindProfileFolders(kMozilla + rest + kMozilla + "ok.slt", kMozilla, {same, same}),
                  Paths{kMozilla + "ok.slt"});
    // A stretch holding a byte that is no character (here 0x81) is skipped; the walk goes on.
    const auto holes = [](std::string_view from, std::string& to) {
        return sim::Windows1252ToUtf8(from, to) && from.find('\x81') == std::string_view::npos;
    };
    EXPECT_EQ(FindProfileFolders(Ansi(kMozilla) + "P\x81.slt" + Ansi(kMozilla) + "ok.slt", kMozilla,
                                 {sim::Utf8ToWindows1252, holes}),
              Paths{kMozilla + "ok.slt"});
    // A Mozilla folder the code page cannot spell ("Ж") is none the browser wrote down.
    const std::string cyrillic = "C:\\\u0416\\Mozilla\\";
    EXPECT_EQ(FindProfileFolders(cyrillic + "p.slt", cyrillic, kWindows1252), Paths{});
    // A ".slt" in the Mozilla folder's own path must not end a profile above that folder.
    const std::string odd = "C:\\Users\\me.slt\\AppData\\Mozilla\\";
    EXPECT_EQ(FindProfileFolders(odd + "p.slt", odd, kWindows1252), Paths{odd + "p.slt"});
    // An empty "AppData" gives "\Mozilla\": no profile can be strictly inside that.
    EXPECT_EQ(FindProfileFolders("\\Mozilla\\p.slt", "\\Mozilla\\", kWindows1252), Paths{});
}

// A machine whose Application Data holds the Mozilla folder, and the Netscape cleaners on it.
class NetscapeCleanersTest : public ::testing::Test {
  protected:
    NetscapeCleanersTest() {
        settings.SaveSettingString(platform::Root::CurrentUser, kShellFoldersPath, "AppData",
                                   kAppData);
    }
    sim::Machine machine;
    qm::testing::OnlineReporter log;
    settings::SettingsStore settings{machine.registry(), machine.process(), log.reporter};
    FileTools tools{machine.files(), machine.shell(), log.reporter};
    NetscapeCleaners netscape{machine.platform(), settings, tools, log.reporter};
};

TEST_F(NetscapeCleanersTest, CleanOnlyTheNamedProfilesAndReportOnlyHistoryFailures) {
    const auto clean_all = [&] {
        netscape.CleanNetScapeURLS();
        netscape.CleanNetScapeCookies();
        netscape.CleanNetScapeCache();
    };
    const std::string first = kMozilla + std::string(150, 'n') + "\\" + kDefaut + ".slt";
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
    machine.AddFile(registry, kJunk + Ansi(first) + kJunk + Ansi(kMozilla) +
                                  "..\\..\\..\\..\\Victim\\x.slt" + kJunk + Ansi(second) + kJunk +
                                  Ansi(no_cache) + kJunk);
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
    Paths deleted;
    for (const sim::Deletion& deletion : machine.deletions()) deleted.push_back(deletion.path);
    EXPECT_EQ(deleted,
              (Paths{first + "\\history.dat", first + "\\history.mab", first + "\\localstore.rdf",
                     first + "\\cookies.txt", first + "\\cache\\_CACHE_MAP_"}));
    EXPECT_TRUE(machine.Exists(no_cache + "\\cookies.txt"));
    // history.dat and history.mab resist alike, and the same failure goes out once per run;
    // localstore.rdf does not even count as present.
    EXPECT_EQ(log.CountFor(errors::label::kCleanNetScapeURLS), 1);
    EXPECT_EQ(log.sent.size(), 1u);
}

// With sites to keep, cookies.txt keeps their lines (and its comments) and loses the rest in
// one step; a file that keeps none goes whole, as without the list.
TEST_F(NetscapeCleanersTest, KeptSitesKeepTheirCookieLinesAndTheRestGoInOneStep) {
    const std::string kept = kMozilla + "Profiles\\k.slt", gone = kMozilla + "Profiles\\g.slt";
    machine.AddFile(kMozilla + "registry.dat", kJunk + Ansi(kept) + kJunk + Ansi(gone) + kJunk);
    const std::string header = "# Netscape HTTP Cookie File\r\n";
    const std::string mail = ".mail.example.com\tTRUE\t/\tFALSE\t2000000000\tsid\t1\r\n";
    const std::string server = "#HttpOnly_example.com\tFALSE\t/\tTRUE\t2000000000\ttok\t2\r\n";
    const std::string others =
        "badexample.com\tTRUE\t/\tFALSE\t2000000000\tx\t3\r\n"
        "example.com.evil\tTRUE\t/\tFALSE\t0\ty\t4\r\n"
        "example.com no tabs at all\r\n\tTRUE\t/\tFALSE\t0\tz\t5\r\n";
    machine.AddFile(kept + "\\cache\\map");
    machine.AddFile(gone + "\\cache\\map");
    machine.AddFile(kept + "\\cookies.txt", header + mail + others + server);
    machine.AddFile(gone + "\\cookies.txt", header + others);
    settings.Save("cookiekeep", "Example.COM");
    netscape.CleanNetScapeCookies();
    EXPECT_EQ(machine.Peek(kept + "\\cookies.txt"), header + mail + server);
    EXPECT_FALSE(machine.Exists(gone + "\\cookies.txt"));
    EXPECT_FALSE(machine.Exists(kept + "\\cookies.txt.qmnew"));
}

}  // namespace
}  // namespace qm::cleaners
