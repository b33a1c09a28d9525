#include "cleaners/opera_cleaners.h"

#include <gtest/gtest.h>

#include "cleaners/netscape_cleaners.h"
#include "core_test_support.h"

namespace qm::cleaners {
namespace {

namespace attr = platform::attr;
using platform::Root;
using Paths = std::vector<std::string>;

constexpr std::string_view kOperaKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Opera.exe";
const std::string kAppData = "C:\\Documents and Settings\\Tester\\Application Data";
const std::string kOpera7 = kAppData + "\\Opera\\OPERA7\\profile";

Paths DeletedFiles(const sim::Machine& machine) {
    Paths paths;
    for (const sim::Deletion& d : machine.deletions()) paths.push_back(d.path);
    return paths;
}

// The drive's files, remembering every path the cleaners hand to it: the simulated drive
// refuses anything that is not a "C:" path, so only the record shows whether a cleaner went
// looking in a relative place (on Windows, the current drive or folder).
class PathRecordingFiles : public platform::FileSystem {
  public:
    explicit PathRecordingFiles(platform::FileSystem& drive) : drive_(drive) {}
    Paths paths;

    platform::Status List(std::string_view p, std::vector<platform::DirEntry>& e) override {
        return Seen(p), drive_.List(p, e);
    }
    platform::Status GetAttributes(std::string_view p, std::uint32_t& a) override {
        return Seen(p), drive_.GetAttributes(p, a);
    }
    platform::Status SetAttributes(std::string_view p, std::uint32_t a) override {
        return Seen(p), drive_.SetAttributes(p, a);
    }
    platform::Status DeleteFile(std::string_view p) override {
        return Seen(p), drive_.DeleteFile(p);
    }
    platform::Status RemoveDirectory(std::string_view p) override {
        return Seen(p), drive_.RemoveDirectory(p);
    }
    platform::Status CreateDirectory(std::string_view p) override {
        return Seen(p), drive_.CreateDirectory(p);
    }
    platform::Status OpenForRead(std::string_view p) override {
        return Seen(p), drive_.OpenForRead(p);
    }
    platform::Status ReadFile(std::string_view p, std::string& c) override {
        return Seen(p), drive_.ReadFile(p, c);
    }
    platform::Status WriteFile(std::string_view p, std::string_view c) override {
        return Seen(p), drive_.WriteFile(p, c);
    }
    platform::Status ScheduleDeleteAtRestart(std::string_view p) override {
        return Seen(p), drive_.ScheduleDeleteAtRestart(p);
    }
    platform::Status GetTempPath(std::string& p) override { return drive_.GetTempPath(p); }

  private:
    void Seen(std::string_view path) { paths.emplace_back(path); }
    platform::FileSystem& drive_;
};

class OperaCleanersTest : public ::testing::Test {
  protected:
    sim::Machine machine;
    qm::testing::OnlineReporter log;
    settings::SettingsStore settings{machine.registry(), machine.process(), log.reporter};
    FileTools tools{machine.files(), machine.shell(), log.reporter};
    OperaCleaners opera{machine.platform(), settings, tools, log.reporter};

    void InstallOpera(const std::string& folder) {
        settings.SaveSettingString(Root::LocalMachine, kOperaKey, "Path", folder);
    }
    void CleanAll() {
        opera.CleanOperaCache();
        opera.CleanOpera7Cache();
        opera.CleanOperaCookies();
        opera.CleanOpera7Cookies();
        opera.CleanOperaTypedURLs();
    }
};

TEST_F(OperaCleanersTest, ProgramFolderLosesOnlyCacheFilesAndCookieFile) {
    const std::string folder = "C:\\Program Files\\Opera";
    InstallOpera(folder);
    EXPECT_EQ(opera.GetOperaPath(), folder);
    machine.AddFile(folder + "\\Cache\\opr00001.tmp");
    machine.AddFile(folder + "\\Cache\\opr00002.htm");
    machine.AddFile(folder + "\\Cache\\sub\\opr00003.gif");
    machine.AddFile(folder + "\\Cache\\pinned.tmp", "", attr::kReadOnly);
    machine.AddFile(folder + "\\Cache\\hidden.tmp", "", attr::kHidden);
    machine.AddFile(folder + "\\Cache\\busy.tmp");
    machine.Lock(folder + "\\Cache\\busy.tmp");
    machine.AddFile(folder + "\\cookies.dat");
    machine.AddFile(folder + "\\opera.ini");
    machine.AddFile(folder + "\\Opera.exe");

    opera.CleanOperaCache();
    opera.CleanOperaCookies();

    EXPECT_EQ(DeletedFiles(machine),
              (Paths{folder + "\\Cache\\opr00001.tmp", folder + "\\Cache\\opr00002.htm",
                     folder + "\\cookies.dat"}));
    EXPECT_TRUE(machine.Exists(folder + "\\Cache\\sub\\opr00003.gif"));
    EXPECT_TRUE(machine.Exists(folder + "\\Cache\\busy.tmp"));
    EXPECT_TRUE(log.sent.empty());
}

TEST_F(OperaCleanersTest, Opera7ProfileLosesOnlyItsCacheCookiesAndTypedAddresses) {
    machine.AddFile(kOpera7 + "\\cache4\\opr0A1B2.tmp");
    machine.AddFile(kOpera7 + "\\cache4\\sesn\\opr0A1B3.tmp");
    machine.AddFile(kOpera7 + "\\cookies4.dat");
    machine.AddFile(kOpera7 + "\\global.dat");
    machine.AddFile(kOpera7 + "\\opera.dir");
    machine.AddFile(kOpera7 + "\\opera6.adr");
    machine.AddFile(kAppData + "\\Opera\\OPERA8\\profile\\cookies4.dat");

    opera.CleanOpera7Cache();
    opera.CleanOpera7Cookies();
    opera.CleanOperaTypedURLs();

    EXPECT_EQ(DeletedFiles(machine),
              (Paths{kOpera7 + "\\cache4\\opr0A1B2.tmp", kOpera7 + "\\cookies4.dat",
                     kOpera7 + "\\global.dat", kOpera7 + "\\opera.dir"}));
    EXPECT_TRUE(log.sent.empty());

    // A second run over the cleaned profile finds nothing more and raises nothing.
    machine.ClearDeletions();
    CleanAll();
    EXPECT_TRUE(machine.deletions().empty());
}

TEST_F(OperaCleanersTest, MissingOrRelativeFoldersDeleteNothingAnywhere) {
    // What a careless cleaner would find at the root of the drive.
    machine.AddFile("C:\\Cache\\root.tmp");
    machine.AddFile("C:\\cookies.dat");
    machine.AddFile("C:\\Opera\\OPERA7\\profile\\cookies4.dat");
    machine.AddFile("C:\\Opera\\OPERA7\\profile\\global.dat");
    machine.AddFile(kOpera7 + "\\cookies4.dat");
    machine.ClearSpecialFolder(platform::csidl::kAppData);

    CleanAll();  // no App Paths entry at all
    InstallOpera("Opera");
    CleanAll();
    InstallOpera("");
    CleanAll();
    EXPECT_TRUE(machine.deletions().empty());
    EXPECT_TRUE(log.sent.empty());
}

TEST(BrowserCleaners, NeverLookInARelativePlace) {
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

    // Opera with an empty App Paths value and no Application Data folder; the Mozilla folder
    // from an "AppData" value of the expandable type, which reads as empty.
    settings.SaveSettingString(Root::LocalMachine, kOperaKey, "Path", "");
    machine.ClearSpecialFolder(platform::csidl::kAppData);
    qm::testing::WriteRaw(machine.registry(), Root::CurrentUser, kShellFoldersPath, "AppData",
                          platform::RegType::ExpandSz, qm::testing::Utf16Bytes(kAppData));

    opera.CleanOperaCache();
    opera.CleanOpera7Cache();
    opera.CleanOperaCookies();
    opera.CleanOpera7Cookies();
    opera.CleanOperaTypedURLs();
    netscape.CleanNetScapeURLS();
    netscape.CleanNetScapeCookies();
    netscape.CleanNetScapeCache();

    EXPECT_EQ(files.paths, Paths{});
    EXPECT_TRUE(machine.deletions().empty());
}

}  // namespace
}  // namespace qm::cleaners
