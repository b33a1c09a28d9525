#include "cleaners/opera_cleaners.h"

#include <gtest/gtest.h>

#include "cleaners/netscape_cleaners.h"
#include "core_test_support.h"

namespace qm::cleaners {
namespace {

using platform::Root;
using Paths = std::vector<std::string>;

constexpr std::string_view kOperaKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Opera.exe";
const std::string kAppData = "C:\\Documents and Settings\\Tester\\Application Data";

TEST(OperaCleaners, OnlyCacheFilesCookiesAndTypedAddressesGo) {
    sim::Machine machine;
    qm::testing::OnlineReporter log;
    settings::SettingsStore settings{machine.registry(), machine.process(), log.reporter};
    FileTools tools{machine.files(), machine.shell(), log.reporter};
    OperaCleaners opera{machine.platform(), settings, tools, log.reporter};
    const std::string folder = "C:\\Program Files\\Opera";
    const std::string profile = kAppData + "\\Opera\\OPERA7\\profile";
    settings.SaveSettingString(Root::LocalMachine, kOperaKey, "Path", folder);
    for (const std::string& file :
         {folder + "\\Cache\\opr1.tmp", folder + "\\Cache\\sub\\opr2.tmp", folder + "\\cookies.dat",
          folder + "\\Cache\\busy.tmp", folder + "\\opera.ini", profile + "\\cache4\\opr3.tmp",
          profile + "\\cache4\\sesn\\opr4.tmp", profile + "\\cookies4.dat",
          profile + "\\global.dat", profile + "\\opera.dir", profile + "\\opera6.adr",
          kAppData + "\\Opera\\OPERA8\\profile\\cookies4.dat"}) {
        machine.AddFile(file);
    }
    machine.AddFile(folder + "\\Cache\\pinned.tmp", "", platform::attr::kReadOnly);
    machine.AddFile(folder + "\\Cache\\hidden.tmp", "", platform::attr::kHidden);
    machine.Lock(folder + "\\Cache\\busy.tmp");

    EXPECT_EQ(opera.GetOperaPath(), folder);
    opera.CleanOperaCache();
    opera.CleanOpera7Cache();
    opera.CleanOperaCookies();
    opera.CleanOpera7Cookies();
    opera.CleanOperaTypedURLs();

    Paths deleted;
    for (const sim::Deletion& d : machine.deletions()) deleted.push_back(d.path);
    EXPECT_EQ(deleted, (Paths{folder + "\\Cache\\opr1.tmp", profile + "\\cache4\\opr3.tmp",
                              folder + "\\cookies.dat", profile + "\\cookies4.dat",
                              profile + "\\global.dat", profile + "\\opera.dir"}));
    EXPECT_TRUE(log.sent.empty());
}

// The drive, remembering every path handed to it: the simulated drive refuses anything that
// is not a "C:" path, so only this record shows a cleaner looking in a relative place (on
// Windows, the root of the current drive or the current folder).
struct PathRecordingFiles : platform::FileSystem {
    using S = platform::Status;
    using V = std::string_view;
    platform::FileSystem& files;
    Paths paths;
    explicit PathRecordingFiles(platform::FileSystem& drive) : files(drive) {}
    void Seen(V p) { paths.emplace_back(p); }

    S List(V p, std::vector<platform::DirEntry>& e) override { return Seen(p), files.List(p, e); }
    S GetAttributes(V p, std::uint32_t& a) override { return Seen(p), files.GetAttributes(p, a); }
    S SetAttributes(V p, std::uint32_t a) override { return Seen(p), files.SetAttributes(p, a); }
    S DeleteFile(V p) override { return Seen(p), files.DeleteFile(p); }
    S RemoveDirectory(V p) override { return Seen(p), files.RemoveDirectory(p); }
    S CreateDirectory(V p) override { return Seen(p), files.CreateDirectory(p); }
    S OpenForRead(V p) override { return Seen(p), files.OpenForRead(p); }
    S ReadFile(V p, std::string& c) override { return Seen(p), files.ReadFile(p, c); }
    S WriteFile(V p, V c) override { return Seen(p), files.WriteFile(p, c); }
    S ScheduleDeleteAtRestart(V p) override { return Seen(p), files.ScheduleDeleteAtRestart(p); }
    S GetTempPath(std::string& p) override { return files.GetTempPath(p); }
};

TEST(BrowserCleaners, WithoutTheirFoldersLookNowhere) {
    sim::Machine machine;
    PathRecordingFiles files{machine.files()};
    platform::Platform& real = machine.platform();
    platform::Platform recorded{real.registry, files,          real.shell,
                                real.system,   real.dialogs,   real.loop,
                                real.process,  real.url_cache, real.desktop};
    qm::testing::OnlineReporter log;
    settings::SettingsStore settings{machine.registry(), machine.process(), log.reporter};
    FileTools tools{files, machine.shell(), log.reporter};
    OperaCleaners opera{recorded, settings, tools, log.reporter};
    NetscapeCleaners netscape{recorded, settings, tools, log.reporter};
    const auto clean_all = [&] {
        opera.CleanOperaCache();
        opera.CleanOpera7Cache();
        opera.CleanOperaCookies();
        opera.CleanOpera7Cookies();
        opera.CleanOperaTypedURLs();
        netscape.CleanNetScapeURLS();
        netscape.CleanNetScapeCookies();
        netscape.CleanNetScapeCache();
    };
    machine.AddFile("C:\\Opera\\OPERA7\\profile\\cookies4.dat");
    machine.AddFile(kAppData + "\\Opera\\OPERA7\\profile\\cookies4.dat");
    machine.ClearSpecialFolder(platform::csidl::kAppData);

    clean_all();  // no App Paths entry, no Application Data folder, no "AppData" value
    settings.SaveSettingString(Root::LocalMachine, kOperaKey, "Path", "");
    clean_all();
    settings.SaveSettingString(Root::LocalMachine, kOperaKey, "Path", "Opera");
    // The expandable type reads as empty text, which would give "\Mozilla\".
    qm::testing::WriteRaw(machine.registry(), Root::CurrentUser, kShellFoldersPath, "AppData",
                          platform::RegType::ExpandSz, qm::testing::Utf16Bytes(kAppData));
    clean_all();

    EXPECT_EQ(files.paths, Paths{});
    EXPECT_TRUE(machine.deletions().empty());
}

}  // namespace
}  // namespace qm::cleaners
