#include "cleaners/recent_lists.h"

#include <gtest/gtest.h>

#include "core_test_support.h"
#include "errors/labels.h"

namespace qm::cleaners {
namespace {

using platform::RegType;
using sim::Deletion;
namespace key = recent_key;
using Names = std::vector<std::string>;

class RecentListsTest : public ::testing::Test {
  protected:
    sim::Machine machine;
    qm::testing::OnlineReporter log;
    settings::SettingsStore settings{machine.registry(), machine.process(), log.reporter};
    FileTools tools{machine.files(), machine.shell(), log.reporter};
    sysinfo::SystemDetails details{machine.system(), settings, log.reporter};
    RecentListCleaners cleaners{machine.platform(), settings, tools, details, log.reporter};

    void Put(std::string_view path, Names names, RegType type = RegType::Sz) {
        for (const std::string& name : names) {
            qm::testing::WriteRaw(machine.registry(), platform::Root::CurrentUser, path, name, type,
                                  qm::testing::Utf16Bytes("C:\\x"));
        }
    }
    // The registry values the machine lost, by name, in order; then forgets them.
    Names TakeLostValues() {
        Names names;
        for (const Deletion& d : machine.deletions()) {
            EXPECT_EQ(d.kind, Deletion::Kind::RegistryValue) << d.path;
            names.push_back(d.value_name);
        }
        machine.ClearDeletions();
        return names;
    }
};

TEST_F(RecentListsTest, RunListLosesOnlyWhatMRUListNames) {
    Put(key::kRunMRU, {"a", "b", "c", "d"});
    qm::testing::WriteRaw(machine.registry(), platform::Root::CurrentUser, key::kRunMRU, "MRUList",
                          RegType::Sz, qm::testing::Utf16Bytes("cab"));
    cleaners.CleanRunMRU();
    EXPECT_EQ(TakeLostValues(), (Names{"c", "a", "b", "MRUList"}));
    // A list not stored as plain text names no entries.
    qm::testing::WriteRaw(machine.registry(), platform::Root::CurrentUser, key::kRunMRU, "MRUList",
                          RegType::ExpandSz, qm::testing::Utf16Bytes("d"));
    cleaners.CleanRunMRU();
    EXPECT_EQ(TakeLostValues(), (Names{"MRUList"}));
}

TEST_F(RecentListsTest, FindListIsChosenByWindowsVersion) {
    const std::pair<platform::VersionRecord, std::string_view> cases[] = {
        {{true, 4, 10, 67766446, 1}, key::kFindOther},  // 98
        {{true, 4, 90, 73010104, 1}, key::kFindOther},  // ME
        {{true, 5, 0, 2195, 2}, key::kFindWin2000},
        {{true, 5, 1, 2600, 2}, key::kFindWinXP},
    };
    for (const auto& [version, cleared] : cases) {
        for (auto path : {key::kFindOther, key::kFindWin2000, key::kFindWinXP}) Put(path, {"a"});
        machine.SetVersion(version);
        cleaners.CleanFindMRU();
        for (auto path : {key::kFindOther, key::kFindWin2000, key::kFindWinXP}) {
            EXPECT_EQ(qm::testing::KeyExists(machine.registry(), platform::Root::CurrentUser, path),
                      path != cleared)
                << path << " on " << version.major << "." << version.minor;
        }
    }
}

TEST_F(RecentListsTest, NumberedListsFollowTheirStopRules) {
    // Paint and WordPad: a File1 with text sweeps File1..File100, gaps and all.
    Put(key::kPaint, {"File1", "File3", "File100", "File101"});
    cleaners.CleanPaintMRU();
    EXPECT_EQ(TakeLostValues(), (Names{"File1", "File3", "File100"}));
    Put(key::kPaint, {"File2"});
    Put(key::kWordPad, {"File1"}, RegType::Binary);  // reads as empty
    Put(key::kWordPad, {"File2"});
    cleaners.CleanPaintMRU();
    cleaners.CleanWordPadMRU();
    EXPECT_EQ(TakeLostValues(), (Names{"File1"}));

    // WinZip: upward until the first missing or empty value, which is tried too.
    Put(key::kWinZipFileMenu, {"filemenu1", "filemenu2", "filemenu4"});
    Put(key::kWinZipExtract, {"extract1", "extract3"});
    Put(key::kWinZipExtract, {"extract2"}, RegType::ExpandSz);
    cleaners.CleanWinZipFileMenu();
    cleaners.CleanWinZipExtract();
    EXPECT_EQ(TakeLostValues(), (Names{"filemenu1", "filemenu2", "extract1", "extract2"}));
}

TEST_F(RecentListsTest, MediaPlayerAndOfficeCleanTheCurrentUsersFilesOnly) {
    machine.SetSpecialFolder(platform::csidl::kAppData, "C:\\Users\\Ann\\AppData");
    const std::string player = "C:\\Users\\Ann\\AppData\\Microsoft\\Media Player\\";
    const std::string office = "C:\\Users\\Ann\\AppData\\Microsoft\\Office\\Recent\\";
    const std::string admin =
        "C:\\Documents and Settings\\Administrator\\Application Data\\Microsoft\\Media Player\\";
    Put(key::kMediaPlayerUrls, {"URL0"});
    for (auto file : {"a.wmdb", "b.bin", "c.bin", "Art\\cover.jpg"}) machine.AddFile(player + file);
    machine.AddFile(admin + "theirs.wmdb");
    machine.AddFile(office + "a.doc.lnk", "", platform::attr::kReadOnly);
    machine.AddFile(office + "b.doc.lnk");
    machine.AddFile(office + "desktop.ini", "", platform::attr::kHidden);
    machine.Lock(player + "b.bin");

    cleaners.CleanMediaPlayer();
    cleaners.CleanMSOfficeRecent();
    Names lost;
    for (const Deletion& d : machine.deletions()) lost.push_back(d.path);
    EXPECT_EQ(lost, (Names{"HKCU\\" + std::string(key::kMediaPlayerUrls), player + "a.wmdb",
                           player + "c.bin", office + "b.doc.lnk"}));
    EXPECT_EQ(log.CountFor(errors::label::kCleanMediaPlayer), 1);  // the locked file
    EXPECT_EQ(log.sent.size(), 1u);                                // Office stays silent

    // Without the Application Data folder nothing names the user's files: none go.
    machine.ClearDeletions();
    machine.ClearSpecialFolder(platform::csidl::kAppData);
    cleaners.CleanMediaPlayer();
    cleaners.CleanMSOfficeRecent();
    EXPECT_TRUE(machine.deletions().empty());
}

}  // namespace
}  // namespace qm::cleaners
