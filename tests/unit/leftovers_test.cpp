#include "cleaners/leftovers.h"

#include <gtest/gtest.h>

#include "core_test_support.h"

namespace qm::cleaners {
namespace {

using Paths = std::vector<std::string>;

class LeftoversTest : public ::testing::Test {
  protected:
    sim::Machine machine;
    qm::testing::OnlineReporter log;
    settings::SettingsStore settings{machine.registry(), machine.process(), log.reporter};
    FileTools tools{machine.files(), machine.shell(), log.reporter};
    LeftoverCleaners cleaners{machine.platform(), settings, tools, log.reporter};

    Paths TakeLostPaths() {
        Paths paths;
        for (const sim::Deletion& d : machine.deletions()) paths.push_back(d.path);
        machine.ClearDeletions();
        return paths;
    }
};

TEST_F(LeftoversTest, TempFolderIsEmptiedUpToALockedFileAndMustFitTheBuffer) {
    machine.SetTempPath("C:\\Temp\\");
    machine.AddFile("C:\\Temp\\a.tmp", "", platform::attr::kHidden | platform::attr::kReadOnly);
    for (auto file : {"b.tmp", "c.tmp", "Sub\\d.tmp"})
        machine.AddFile("C:\\Temp\\" + std::string(file));
    machine.Lock("C:\\Temp\\b.tmp");
    cleaners.CleanTempFolder();
    EXPECT_EQ(TakeLostPaths(), (Paths{"C:\\Temp\\a.tmp"}));
    machine.Unlock("C:\\Temp\\b.tmp");
    cleaners.CleanTempFolder();
    EXPECT_EQ(TakeLostPaths(), (Paths{"C:\\Temp\\b.tmp", "C:\\Temp\\c.tmp", "C:\\Temp\\Sub\\d.tmp",
                                      "C:\\Temp\\Sub", "C:\\Temp"}));

    // 254 characters and the NUL fill the buffer; one more and no text comes back.
    const std::string fits = "C:\\" + std::string(250, 'a') + "\\";
    const std::string too_long = "C:\\" + std::string(251, 'a') + "\\";
    machine.SetTempPath(fits);
    EXPECT_EQ(cleaners.GetTempFolder(), fits);
    machine.AddFile(too_long + "x.tmp");
    machine.SetTempPath(too_long);
    EXPECT_EQ(cleaners.GetTempFolder(), "");
    cleaners.CleanTempFolder();
    EXPECT_TRUE(machine.deletions().empty());
}

TEST_F(LeftoversTest, TempFolderHoldingWindowsProgramsOrTheProfileIsRefused) {
    machine.SetSpecialFolder(platform::csidl::kProgramFilesX86, "C:\\Program Files (x86)");
    machine.AddFile("C:\\WINDOWS\\system32\\kernel32.dll");
    machine.AddFile("C:\\Program Files (x86)\\Tool\\tool.exe");
    for (auto temp :
         {"C:\\", "c:/", "Temp\\", "\\WINDOWS\\", "C:\\WINDOWS\\system32\\..\\",
          "c:/windows/SYSTEM32//", "\\\\?\\C:\\Program Files\\", "C:\\Program Files (x86)",
          "C:\\Documents and Settings", "C:\\DOCUMENTS AND SETTINGS\\TESTER\\"}) {
        machine.SetTempPath(temp);
        cleaners.CleanTempFolder();
        EXPECT_EQ(TakeLostPaths(), Paths{}) << temp;
    }

    // Neighbours and folders inside the vital ones are ordinary; a look-up that fails
    // protects nothing.
    machine.ClearSpecialFolder(platform::csidl::kProgramFilesX86);
    for (std::string temp :
         {"C:\\WIN\\", "C:\\Program Files\\Temp\\", "C:\\Program Files (x86)\\"}) {
        machine.AddFile(temp + "old.tmp");
        machine.SetTempPath(temp);
        cleaners.CleanTempFolder();
        EXPECT_FALSE(machine.Exists(temp + "old.tmp")) << temp;
    }
}

// Drive C: as Windows lists it when a folder is asked for by its short name.
class ShortNameFiles : public platform::FileSystem {
  public:
    explicit ShortNameFiles(platform::FileSystem& real) : real_(real) {}
    platform::Status List(std::string_view pattern, std::vector<platform::DirEntry>& out) override {
        if (pattern != "C:\\DOCUME~1") return real_.List(pattern, out);
        out = {{"Documents and Settings", platform::attr::kDirectory, 0}};
        return platform::kOk;
    }
    // clang-format off
    platform::Status GetAttributes(std::string_view p, std::uint32_t& a) override { return real_.GetAttributes(p, a); }
    platform::Status SetAttributes(std::string_view p, std::uint32_t a) override { return real_.SetAttributes(p, a); }
    platform::Status DeleteFile(std::string_view p) override { return real_.DeleteFile(p); }
    platform::Status RemoveDirectory(std::string_view p) override { return real_.RemoveDirectory(p); }
    platform::Status CreateDirectory(std::string_view p) override { return real_.CreateDirectory(p); }
    platform::Status OpenForRead(std::string_view p) override { return real_.OpenForRead(p); }
    platform::Status ReadFile(std::string_view p, std::string& c) override { return real_.ReadFile(p, c); }
    platform::Status WriteFile(std::string_view p, std::string_view c) override { return real_.WriteFile(p, c); }
    platform::Status ScheduleDeleteAtRestart(std::string_view p) override { return real_.ScheduleDeleteAtRestart(p); }
    platform::Status GetTempPath(std::string& p) override { return real_.GetTempPath(p); }
    // clang-format on

  private:
    platform::FileSystem& real_;
};

TEST_F(LeftoversTest, ShortNameOfTheProfilesParentIsRefusedToo) {
    ShortNameFiles short_names(machine.files());
    platform::Platform& real = machine.platform();
    platform::Platform platform{real.registry, short_names,    real.shell,
                                real.system,   real.dialogs,   real.loop,
                                real.process,  real.url_cache, real.desktop};
    LeftoverCleaners with_short_names{platform, settings, tools, log.reporter};
    EXPECT_TRUE(with_short_names.IsProtectedTempFolder("C:\\DOCUME~1\\"));
    EXPECT_FALSE(with_short_names.IsProtectedTempFolder("C:\\DOCUME~1\\TESTER\\LOCALS~1\\Temp"));
}

TEST_F(LeftoversTest, RecycleBinIconIsRefreshedOnlyWhenEmptyingFails) {
    machine.AddToRecycleBin("Dc1.txt");
    const auto pumps = machine.pumps();
    cleaners.EmptyRecycleBin();
    EXPECT_TRUE(machine.RecycleBinFiles().empty());
    EXPECT_EQ(machine.recycle_bin_icon_updates(), 0);
    cleaners.EmptyRecycleBin();  // already empty: the platform answers with an error
    EXPECT_EQ(machine.recycle_bin_icon_updates(), 1);
    EXPECT_EQ(machine.pumps(), pumps + 2);
    EXPECT_TRUE(machine.boxes().empty());
}

TEST_F(LeftoversTest, OutlookLosesOnlyTheDefaultIdentitysDeletedItems) {
    auto put = [&](std::string_view path, std::string_view name, std::string_view text,
                   platform::RegType type = platform::RegType::Sz) {
        qm::testing::WriteRaw(machine.registry(), platform::Root::CurrentUser, path, name, type,
                              qm::testing::Utf16Bytes(text));
    };
    const std::string ann = "Identities\\{A1}\\Software\\Microsoft\\Outlook Express\\5.0";
    const std::string bob = "Identities\\{B2}\\Software\\Microsoft\\Outlook Express\\5.0";
    for (auto file : {"Ann\\Deleted Items.dbx", "Ann\\Inbox.dbx", "Bob\\Deleted Items.dbx"}) {
        machine.AddFile("C:\\Mail\\" + std::string(file));
    }
    put(bob, "Store Root", "C:\\Mail\\Bob\\");
    cleaners.CleanOutlookDeleted();  // no default identity yet
    put("Identities", "Default User ID", "{A1}");
    put(ann, "Store Root", "C:\\Mail\\Ann", platform::RegType::ExpandSz);
    cleaners.CleanOutlookDeleted();
    put(ann, "Store Root", "Mail\\Ann");  // relative: no folder of Ann's
    cleaners.CleanOutlookDeleted();
    put(ann, "Store Root", "C:\\Mail\\Ann");
    machine.Lock("C:\\Mail\\Ann\\Deleted Items.dbx", sim::LockMode::Exclusive);
    cleaners.CleanOutlookDeleted();
    EXPECT_EQ(TakeLostPaths(), Paths{});

    machine.Unlock("C:\\Mail\\Ann\\Deleted Items.dbx");
    cleaners.CleanOutlookDeleted();
    EXPECT_EQ(TakeLostPaths(), (Paths{"C:\\Mail\\Ann\\Deleted Items.dbx"}));
    EXPECT_TRUE(log.sent.empty());
}

}  // namespace
}  // namespace qm::cleaners
