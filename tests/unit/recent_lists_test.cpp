#include "cleaners/recent_lists.h"

#include <gtest/gtest.h>

#include "core_test_support.h"
#include "errors/labels.h"

namespace qm::cleaners {
namespace {

using platform::RegType;
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

    void Put(std::string_view path, Names names, RegType type = RegType::Sz,
             std::string_view text = "C:\\x") {
        for (const std::string& name : names)
            qm::testing::WriteRaw(machine.registry(), platform::Root::CurrentUser, path, name, type,
                                  qm::testing::Utf16Bytes(text));
    }
    // The names (registry values) or paths the machine lost, in order; then forgets them.
    Names TakeLost(bool paths = false) {
        Names lost;
        for (const auto& d : machine.deletions()) lost.push_back(paths ? d.path : d.value_name);
        machine.ClearDeletions();
        return lost;
    }
};

TEST_F(RecentListsTest, RegistryListsFollowTheirStopRulesValueTypesAndWindowsVersion) {
    // Run: the values whose names MRUList lists, in its order, then MRUList itself.
    Put(key::kRunMRU, {"`", "a", "b", "c", "z", "{"});
    Put(key::kRunMRU, {"MRUList"}, RegType::Sz, "zca");
    cleaners.CleanRunMRU();
    EXPECT_EQ(TakeLost(), (Names{"z", "c", "a", "MRUList"}));

    // Paint and WordPad: a File1 with text sweeps File1..File100, gaps and all.
    Put(key::kPaint, {"File0", "File1", "File3", "File100", "File101"});
    cleaners.CleanPaintMRU();
    EXPECT_EQ(TakeLost(), (Names{"File1", "File3", "File100"}));
    Put(key::kWordPad, {"File1"}, RegType::Binary);  // reads as empty
    Put(key::kWordPad, {"File2"});
    cleaners.CleanWordPadMRU();
    EXPECT_EQ(TakeLost(), (Names{"File1"}));

    // WinZip: upward until the first missing or empty value, which is tried too.
    Put(key::kWinZipFileMenu, {"filemenu1", "filemenu2", "filemenu4"});
    Put(key::kWinZipExtract, {"extract1", "extract3"});
    Put(key::kWinZipExtract, {"extract2"}, RegType::ExpandSz);
    cleaners.CleanWinZipFileMenu();
    cleaners.CleanWinZipExtract();
    EXPECT_EQ(TakeLost(), (Names{"filemenu1", "filemenu2", "extract1", "extract2"}));
    // A full list: exactly the hundred from 1, never 0 or 101.
    Names hundred;
    for (int n = 0; n <= 101; ++n) Put(key::kWinZipExtract, {"extract" + std::to_string(n)});
    for (int n = 1; n <= 100; ++n) hundred.push_back("extract" + std::to_string(n));
    cleaners.CleanWinZipExtract();
    EXPECT_EQ(TakeLost(), hundred);
}

TEST_F(RecentListsTest, MediaPlayerAndOfficeCleanTheCurrentUsersFilesOnly) {
    machine.SetSpecialFolder(platform::csidl::kAppData, "C:\\Users\\Ann\\AppData");
    const std::string player = "C:\\Users\\Ann\\AppData\\Microsoft\\Media Player\\";
    const std::string office = "C:\\Users\\Ann\\AppData\\Microsoft\\Office\\Recent\\";
    for (auto file : {"a.wmdb", "b.bin", "Art\\cover.jpg"}) machine.AddFile(player + file);
    machine.AddFile(office + "a.doc.lnk", "", platform::attr::kReadOnly);
    machine.AddFile(office + "b.doc.lnk");
    machine.Lock(player + "b.bin");

    cleaners.CleanMediaPlayer();
    cleaners.CleanMSOfficeRecent();
    EXPECT_EQ(TakeLost(true), (Names{player + "a.wmdb", office + "b.doc.lnk"}));
    EXPECT_EQ(log.CountFor(errors::label::kCleanMediaPlayer), 1);  // the locked file
    EXPECT_EQ(log.sent.size(), 1u);                                // Office stays silent

    // Without the Application Data folder nothing names the user's files: none go.
    machine.ClearSpecialFolder(platform::csidl::kAppData);
    cleaners.CleanMediaPlayer();
    cleaners.CleanMSOfficeRecent();
    EXPECT_TRUE(machine.deletions().empty());
}

}  // namespace
}  // namespace qm::cleaners
