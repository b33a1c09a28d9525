// What the Windows-wide cleaners rely on: the temporary folder, deletion at the next
// restart, the History namespace, the Recent Documents list, the Recycle Bin and the
// own-question answer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "backend.h"

namespace qm::contract {
namespace {

using platform::kOk;

constexpr int kRecentFolder = 8;  // CSIDL_RECENT
constexpr const char* kRecentDocs =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs";

class ShellCleaningContract : public ::testing::Test {
  protected:
    // Shortcuts in the Recent folder whose name begins with `prefix`.
    std::vector<std::string> RecentShortcutsFor(const std::string& prefix) {
        std::string recent;
        EXPECT_EQ(shell_.GetFolderPath(kRecentFolder, recent), kOk);
        std::vector<platform::DirEntry> entries;
        files_.List(recent + "\\*.lnk", entries);
        std::vector<std::string> found;
        for (const platform::DirEntry& entry : entries) {
            if (entry.name.compare(0, prefix.size(), prefix) == 0) found.push_back(entry.name);
        }
        return found;
    }

    std::unique_ptr<Backend> backend_ = MakeBackend();
    platform::Shell& shell_ = backend_->shell();
    platform::FileSystem& files_ = backend_->files();
};

TEST_F(ShellCleaningContract, TempPathIsAnExistingFolderEndingInABackslash) {
    std::string temp;
    ASSERT_EQ(files_.GetTempPath(temp), kOk);
    ASSERT_GE(temp.size(), 3u);
    EXPECT_EQ(temp[1], ':') << temp;
    EXPECT_EQ(temp.back(), '\\') << temp;
    std::uint32_t attributes = 0;
    ASSERT_EQ(files_.GetAttributes(temp.substr(0, temp.size() - 1), attributes), kOk) << temp;
    EXPECT_NE(attributes & platform::attr::kDirectory, 0u);
}

TEST_F(ShellCleaningContract, SchedulingAtRestartNeedsTheEntryAndLeavesItUntilThen) {
    const std::string folder = backend_->ScratchFolder();
    const std::string file = folder + "\\index.dat";
    const std::string empty_folder = folder + "\\History.IE5";
    ASSERT_EQ(files_.WriteFile(file, "index"), kOk);
    ASSERT_EQ(files_.CreateDirectory(empty_folder), kOk);

    if (backend_->system().GetVersion().platform == 1) {
        EXPECT_EQ(files_.ScheduleDeleteAtRestart(file), platform::kErrorCallNotImplemented);
        return;
    }
    EXPECT_EQ(files_.ScheduleDeleteAtRestart(file), kOk);
    EXPECT_EQ(files_.ScheduleDeleteAtRestart(empty_folder), kOk);
    EXPECT_EQ(files_.ScheduleDeleteAtRestart(folder + "\\missing.dat"),
              platform::kErrorFileNotFound);
    EXPECT_EQ(files_.ScheduleDeleteAtRestart(folder + "\\missing\\index.dat"),
              platform::kErrorPathNotFound);
    // Nothing happens before the restart.
    std::string contents;
    EXPECT_EQ(files_.ReadFile(file, contents), kOk);
    std::uint32_t attributes = 0;
    EXPECT_EQ(files_.GetAttributes(empty_folder, attributes), kOk);
}

TEST_F(ShellCleaningContract, HistoryNamespaceRefusesItemsPastTheEnd) {
    std::size_t count = 0;
    ASSERT_EQ(shell_.HistoryItemCount(count), kOk);
    std::vector<std::string> verbs{"stale"};
    EXPECT_NE(shell_.HistoryItemVerbs(count, verbs), kOk);
    EXPECT_TRUE(verbs.empty());
    EXPECT_NE(shell_.InvokeHistoryVerb(count, 0), kOk);
    if (count > 0) {
        ASSERT_EQ(shell_.HistoryItemVerbs(count - 1, verbs), kOk);
        EXPECT_FALSE(verbs.empty());
        EXPECT_NE(shell_.InvokeHistoryVerb(count - 1, verbs.size()), kOk);
    }
}

TEST_F(ShellCleaningContract, ClearingRecentDocumentsForgetsTheList) {
    const std::string folder = backend_->ScratchFolder();
    const std::string name = folder.substr(folder.find_last_of('\\') + 1) + ".txt";
    const std::string document = folder + "\\" + name;
    ASSERT_EQ(files_.WriteFile(document, "opened lately"), kOk);
    if (!backend_->AddRecentDocument(document)) GTEST_SKIP() << "no Recent Documents set-up";
    ASSERT_EQ(RecentShortcutsFor(name).size(), 1u);
    platform::Registry& registry = backend_->registry();
    platform::RegKey key = 0;
    ASSERT_EQ(registry.OpenKey(platform::Root::CurrentUser, kRecentDocs, key), kOk);
    registry.CloseKey(key);

    shell_.ClearRecentDocs();
    EXPECT_NE(registry.OpenKey(platform::Root::CurrentUser, kRecentDocs, key), kOk);
    registry.CloseKey(key);
    // Windows also deletes the shortcuts in Recent; Wine's shell leaves them (its clearing
    // is unfinished), so only the simulated machine is held to that here.
    if (!backend_->IsReal()) {
        EXPECT_TRUE(RecentShortcutsFor(name).empty());
    }
    shell_.ClearRecentDocs();  // an empty list clears without complaint
    std::string contents;
    EXPECT_EQ(files_.ReadFile(document, contents), kOk) << "the document itself stays";
}

TEST_F(ShellCleaningContract, EmptyingABinWithSomethingInItSucceeds) {
    const std::string file = backend_->ScratchFolder() + "\\recycled.txt";
    ASSERT_EQ(files_.WriteFile(file, "thrown away"), kOk);
    if (!backend_->RecycleFile(file)) GTEST_SKIP() << "no Recycle Bin set-up";
    std::uint32_t attributes = 0;
    ASSERT_EQ(files_.GetAttributes(file, attributes), platform::kErrorFileNotFound);

    EXPECT_EQ(shell_.EmptyRecycleBin(), 0) << "S_OK";
    // Emptying an empty bin: S_OK or E_UNEXPECTED depending on the Windows version, never
    // anything else; the cleaner refreshes the icon on any non-zero answer.
    const std::int32_t again = shell_.EmptyRecycleBin();
    EXPECT_TRUE(again == 0 || again == static_cast<std::int32_t>(0x8000FFFFu)) << std::hex << again;
    shell_.UpdateRecycleBinIcon();
}

TEST_F(ShellCleaningContract, NoQuestionOpenMeansNothingIsConfirmed) {
    platform::Desktop* desktop = backend_->desktop();
    if (desktop == nullptr) GTEST_SKIP() << "this backend offers no desktop yet";
    EXPECT_FALSE(desktop->ConfirmOwnQuestion());
}

}  // namespace
}  // namespace qm::contract
