#include "cleaners/leftovers.h"

#include <gtest/gtest.h>

#include "core_test_support.h"

namespace qm::cleaners {
namespace {

using platform::Root;
using platform::Status;

class LeftoversTest : public ::testing::Test {
  protected:
    sim::Machine machine;
    qm::testing::OnlineReporter log;
    settings::SettingsStore settings{machine.registry(), machine.process(), log.reporter};
    FileTools tools{machine.files(), machine.shell(), log.reporter};
    LeftoverCleaners cleaners{machine.platform(), settings, tools, log.reporter};
};

TEST_F(LeftoversTest, TempFolderIsEmptiedButKeptAndMustFitTheBuffer) {
    machine.SetTempPath("C:\\Temp\\");
    machine.AddFile("C:\\Temp\\a.tmp", "", platform::attr::kHidden | platform::attr::kReadOnly);
    machine.AddFile("C:\\Temp\\Sub\\c.tmp");
    std::string folder;
    EXPECT_TRUE(cleaners.CleanTempFolder(folder));
    EXPECT_EQ(folder, "C:\\Temp\\");
    // Programs need the folder itself, empty; "." and ".." are all it lists.
    EXPECT_EQ(tools.Dir("C:\\Temp\\", mask::kEverything).size(), 2u);

    // 254 characters and the NUL fill the buffer; one more and no text comes back.
    const std::string fits = "C:\\" + std::string(250, 'a') + "\\";
    machine.SetTempPath(fits);
    EXPECT_EQ(cleaners.GetTempFolder(), fits);
    machine.SetTempPath("C:\\" + std::string(251, 'a') + "\\");
    EXPECT_EQ(cleaners.GetTempFolder(), "");
}

TEST_F(LeftoversTest, RecycleBinIconIsRefreshedOnlyWhenEmptyingFails) {
    machine.AddToRecycleBin("Dc1.txt");
    cleaners.EmptyRecycleBin();
    EXPECT_TRUE(machine.RecycleBinFiles().empty());
    cleaners.EmptyRecycleBin();  // already empty: the platform answers with an error
    EXPECT_EQ(machine.recycle_bin_icon_updates(), 1) << "refreshed after the failure only";
}

TEST_F(LeftoversTest, OutlookLosesOnlyTheDefaultIdentitysDeletedItems) {
    const std::string ann = "Identities\\{A1}" + std::string(mail_key::kOutlookExpress);
    const std::string bob = "Identities\\{B2}" + std::string(mail_key::kOutlookExpress);
    const std::string mail = "C:\\Mail\\Ann\\Deleted Items.dbx";
    machine.AddFile(mail);
    machine.AddFile("C:\\Mail\\Bob\\Deleted Items.dbx");
    settings.SaveSettingString(Root::CurrentUser, bob, "Store Root", "C:\\Mail\\Bob");
    cleaners.CleanOutlookDeleted();  // no default identity yet
    settings.SaveSettingString(Root::CurrentUser, "Identities", "Default User ID", "{A1}");
    settings.SaveSettingString(Root::CurrentUser, ann, "Store Root", "Mail\\Ann");  // relative
    cleaners.CleanOutlookDeleted();
    settings.SaveSettingString(Root::CurrentUser, ann, "Store Root", "C:\\Mail\\Ann\\");
    machine.Lock(mail, sim::LockMode::Exclusive);
    cleaners.CleanOutlookDeleted();
    EXPECT_TRUE(machine.deletions().empty());

    machine.Unlock(mail);
    cleaners.CleanOutlookDeleted();
    EXPECT_EQ(machine.deletions().size(), 1u);
    EXPECT_FALSE(machine.Exists(mail));
}

}  // namespace
}  // namespace qm::cleaners
