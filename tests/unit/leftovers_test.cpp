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

TEST_F(LeftoversTest, TempFolderIsEmptiedUpToALockedFileAndMustFitTheBuffer) {
    machine.SetTempPath("C:\\Temp\\");
    machine.AddFile("C:\\Temp\\a.tmp", "", platform::attr::kHidden | platform::attr::kReadOnly);
    machine.AddFile("C:\\Temp\\b.tmp");
    machine.AddFile("C:\\Temp\\Sub\\c.tmp");
    machine.Lock("C:\\Temp\\b.tmp");
    cleaners.CleanTempFolder();
    EXPECT_TRUE(machine.Exists("C:\\Temp\\Sub\\c.tmp")) << "the walk stops at the locked file";
    machine.Unlock("C:\\Temp\\b.tmp");
    cleaners.CleanTempFolder();
    // Programs need the folder itself, empty; "." and ".." are all it lists.
    EXPECT_EQ(tools.Dir("C:\\Temp\\", mask::kEverything).size(), 2u);

    // 254 characters and the NUL fill the buffer; one more and no text comes back.
    const std::string fits = "C:\\" + std::string(250, 'a') + "\\";
    machine.SetTempPath(fits);
    EXPECT_EQ(cleaners.GetTempFolder(), fits);
    machine.SetTempPath("C:\\" + std::string(251, 'a') + "\\");
    EXPECT_EQ(cleaners.GetTempFolder(), "");
}

// Drive C: as Windows lists it when a folder is asked for by its short name.
struct ShortNameFiles : qm::testing::ForwardingFiles {
    using ForwardingFiles::ForwardingFiles;
    Status List(std::string_view pattern, std::vector<platform::DirEntry>& out) override {
        if (pattern != "C:\\DOCUME~1") return real.List(pattern, out);
        out = {{"Documents and Settings", platform::attr::kDirectory, 0}};
        return platform::kOk;
    }
};

TEST_F(LeftoversTest, TempFolderHoldingWindowsProgramsOrTheProfileIsRefused) {
    for (auto temp : {"", "C:\\", "c:/", "Temp\\", "\\WINDOWS\\", "C:\\WINDOWS\\system32\\..\\",
                      "c:/windows/SYSTEM32//", "\\\\?\\C:\\Program Files\\",
                      "C:\\Documents and Settings", "C:\\DOCUMENTS AND SETTINGS\\TESTER\\"}) {
        machine.SetTempPath(temp);
        cleaners.CleanTempFolder();
        EXPECT_TRUE(machine.deletions().empty()) << temp;
    }

    // Neighbours and folders inside the vital ones are ordinary; a look-up that fails (this
    // machine has no Program Files (x86)) protects nothing.
    for (std::string temp : {"C:\\WIN\\", "C:\\WINDOWS\\Temp\\", "C:\\Program Files (x86)\\"}) {
        machine.AddFile(temp + "old.tmp");
        machine.SetTempPath(temp);
        cleaners.CleanTempFolder();
        EXPECT_FALSE(machine.Exists(temp + "old.tmp")) << temp;
    }

    // Windows often gives the temporary folder in 8.3 form.
    ShortNameFiles short_names(machine.files());
    platform::Platform platform = qm::testing::WithFiles(machine, short_names);
    LeftoverCleaners with_short_names{platform, settings, tools, log.reporter};
    EXPECT_TRUE(with_short_names.IsProtectedTempFolder("C:\\DOCUME~1\\"));
    EXPECT_FALSE(with_short_names.IsProtectedTempFolder("C:\\DOCUME~1\\TESTER\\LOCALS~1\\Temp"));
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
    qm::testing::WriteRaw(machine.registry(), Root::CurrentUser, ann, "Store Root",
                          platform::RegType::ExpandSz, qm::testing::Utf16Bytes("C:\\Mail\\Ann"));
    cleaners.CleanOutlookDeleted();
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
