// What the Windows-wide cleaners rely on: the temporary folder, deletion at the next
// restart, the Recent Documents list and the Recycle Bin.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "backend.h"

namespace qm::contract {
namespace {

using platform::kOk;

constexpr char kRecentDocs[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs";

class ShellCleaningContract : public ::testing::Test {
  protected:
    // Shortcuts in the Recent folder whose name begins with `prefix`.
    std::size_t RecentShortcutsFor(const std::string& prefix) {
        std::string recent;
        EXPECT_EQ(shell_.GetFolderPath(8 /* CSIDL_RECENT */, recent), kOk);
        std::vector<platform::DirEntry> entries;
        files_.List(recent + "\\" + prefix + "*.lnk", entries);
        return entries.size();
    }
    bool RecentDocsListed() {
        platform::RegKey key = 0;
        const bool listed = registry_.OpenKey(platform::Root::CurrentUser, kRecentDocs, key) == kOk;
        if (listed) registry_.CloseKey(key);
        return listed;
    }

    std::uint32_t Attributes(const std::string& path, platform::Status expected = kOk) {
        std::uint32_t attributes = 0;
        EXPECT_EQ(files_.GetAttributes(path, attributes), expected) << path;
        return attributes;
    }

    std::unique_ptr<Backend> backend_ = MakeBackend();
    platform::Shell& shell_ = backend_->shell();
    platform::FileSystem& files_ = backend_->files();
    platform::Registry& registry_ = backend_->registry();
};

TEST_F(ShellCleaningContract, TempPathAndSchedulingAtRestartWhichLeavesEntriesUntilThen) {
    std::string temp;
    ASSERT_EQ(files_.GetTempPath(temp), kOk);
    EXPECT_EQ(temp.substr(1, 1) + temp.substr(temp.size() - 1), ":\\") << temp;
    EXPECT_NE(Attributes(temp.substr(0, temp.size() - 1)) & platform::attr::kDirectory, 0u);

    const std::string folder = backend_->ScratchFolder();
    const std::string file = folder + "\\index.dat", empty_folder = folder + "\\History.IE5";
    ASSERT_EQ(files_.WriteFile(file, "index"), kOk);
    ASSERT_EQ(files_.CreateDirectory(empty_folder), kOk);

    if (backend_->system().GetVersion().platform == 1) GTEST_SKIP() << "Windows 9x refuses";
    EXPECT_EQ(files_.ScheduleDeleteAtRestart(file), kOk);
    EXPECT_EQ(files_.ScheduleDeleteAtRestart(empty_folder), kOk);
    EXPECT_EQ(files_.ScheduleDeleteAtRestart(folder + "\\missing.dat"),
              platform::kErrorFileNotFound);
    Attributes(file);  // nothing happens before the restart
}

TEST_F(ShellCleaningContract, ClearingRecentDocumentsForgetsTheList) {
    const std::string folder = backend_->ScratchFolder();
    const std::string name = folder.substr(folder.find_last_of('\\') + 1) + ".txt";
    const std::string document = folder + "\\" + name;
    ASSERT_EQ(files_.WriteFile(document, "opened lately"), kOk);
    if (!backend_->AddRecentDocument(document)) GTEST_SKIP() << "no Recent Documents set-up";
    ASSERT_EQ(RecentShortcutsFor(name), 1u);
    ASSERT_TRUE(RecentDocsListed());
    shell_.ClearRecentDocs();
    EXPECT_FALSE(RecentDocsListed());
    // Windows also deletes the shortcuts in Recent; Wine's shell leaves them (its clearing
    // is unfinished), so only the simulated machine is held to that here.
    EXPECT_TRUE(backend_->IsReal() || RecentShortcutsFor(name) == 0);
    Attributes(document);  // the document itself stays
}

TEST_F(ShellCleaningContract, EmptyingABinWithSomethingInItSucceeds) {
    const std::string file = backend_->ScratchFolder() + "\\recycled.txt";
    ASSERT_EQ(files_.WriteFile(file, "thrown away"), kOk);
    if (!backend_->RecycleFile(file)) GTEST_SKIP() << "no Recycle Bin set-up";
    Attributes(file, platform::kErrorFileNotFound);

    EXPECT_EQ(shell_.EmptyRecycleBin(), 0) << "S_OK";
    // Emptying an empty bin: S_OK or E_UNEXPECTED depending on the Windows version, never
    // anything else; the cleaner refreshes the icon on any non-zero answer.
    const std::int32_t again = shell_.EmptyRecycleBin();
    EXPECT_TRUE(again == 0 || again == static_cast<std::int32_t>(0x8000FFFFu)) << std::hex << again;
}

}  // namespace
}  // namespace qm::contract
