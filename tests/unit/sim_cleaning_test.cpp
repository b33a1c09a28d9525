// The simulated machine's cleaning surfaces where Wine cannot show Windows' behaviour or a
// contract suite cannot set the scene: an empty cache, the History question and its timers,
// another program in front, the restart itself, and the Recent and Recycle Bin set-up.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/machine.h"

namespace qm::sim {
namespace {

using platform::kOk;
namespace mb = platform::mb;

constexpr const char* kProfile = "C:\\Documents and Settings\\Tester";

std::vector<std::string> DeletedPaths(const Machine& machine, Deletion::Kind kind) {
    std::vector<std::string> paths;
    for (const Deletion& deletion : machine.deletions()) {
        if (deletion.kind == kind) paths.push_back(deletion.path);
    }
    return paths;
}

TEST(SimCleaning, UrlCacheProbeWalkAndDeletion) {
    Machine machine;
    platform::UrlCache& cache = machine.url_cache();
    std::uint32_t size = 0;
    platform::UrlCacheWalk walk = 7;
    platform::UrlCacheEntry entry;
    EXPECT_EQ(cache.FindFirst(size, walk, entry), platform::kErrorNoMoreItems);
    EXPECT_EQ(walk, 0u);

    const std::string file =
        std::string(kProfile) +
        "\\Local Settings\\Temporary Internet Files\\Content.IE5\\AB12\\a[1].htm";
    machine.AddUrlCacheEntry("http://a.test/", platform::cache_entry::kNormal, file);
    machine.AddUrlCacheEntry("Cookie:tester@b.test/", platform::cache_entry::kCookie);
    machine.AddUrlCacheEntry("http://c.test/long/page.htm");
    EXPECT_TRUE(machine.Exists(file));

    ASSERT_EQ(cache.FindFirst(size, walk, entry), platform::kErrorInsufficientBuffer);
    EXPECT_EQ(size, Machine::UrlCacheEntrySize("http://a.test/"));
    ASSERT_EQ(cache.FindFirst(size, walk, entry), kOk);
    EXPECT_EQ(entry.source_url, "http://a.test/");
    // The usual loop deletes the entry it stands on; the walk must still reach the rest.
    EXPECT_EQ(cache.DeleteEntry("http://a.test/"), kOk);
    EXPECT_FALSE(machine.Exists(file));

    size = 0;
    EXPECT_EQ(cache.FindNext(walk, size, entry), platform::kErrorInsufficientBuffer);
    EXPECT_EQ(size, Machine::UrlCacheEntrySize("Cookie:tester@b.test/"));
    EXPECT_EQ(cache.FindNext(walk, size, entry), kOk);
    EXPECT_EQ(entry.source_url, "Cookie:tester@b.test/");
    EXPECT_EQ(entry.type, platform::cache_entry::kCookie);
    // An entry ahead of the cursor that goes is simply not met any more.
    EXPECT_EQ(cache.DeleteEntry("http://c.test/long/page.htm"), kOk);
    size = 4096;
    EXPECT_EQ(cache.FindNext(walk, size, entry), platform::kErrorNoMoreItems);
    cache.Close(walk);
    EXPECT_EQ(cache.FindNext(walk, size, entry), platform::kErrorInvalidHandle);

    EXPECT_EQ(cache.DeleteEntry("http://a.test/"), platform::kErrorFileNotFound);
    EXPECT_EQ(machine.UrlCacheUrls(), std::vector<std::string>{"Cookie:tester@b.test/"});
    EXPECT_EQ(DeletedPaths(machine, Deletion::Kind::UrlCacheEntry),
              (std::vector<std::string>{"http://a.test/", "http://c.test/long/page.htm"}));
}

TEST(SimCleaning, HistoryDeleteWaitsInItsQuestionWhileTimersTick) {
    Machine machine;
    machine.AddHistoryItem("Today");
    machine.AddHistoryItem("Last Week", {"&Open", "E&xplore", "&Delete"});
    platform::Shell& shell = machine.shell();
    std::size_t count = 0;
    ASSERT_EQ(shell.HistoryItemCount(count), kOk);
    ASSERT_EQ(count, 2u);
    std::vector<std::string> verbs;
    ASSERT_EQ(shell.HistoryItemVerbs(1, verbs), kOk);
    EXPECT_EQ(verbs, (std::vector<std::string>{"&Open", "E&xplore", "&Delete"}));
    EXPECT_EQ(shell.InvokeHistoryVerb(1, 0), kOk);  // opening deletes nothing
    EXPECT_EQ(shell.InvokeHistoryVerb(2, 0), platform::kErrorInvalidParameter);

    // Outside a question there is nothing to confirm.
    EXPECT_FALSE(machine.desktop().ConfirmOwnQuestion());

    // The cleaner's way: a 300 ms timer confirms the question the verb opens.
    const std::uint32_t start = machine.now();
    std::uint32_t confirmed_at = 0;
    machine.loop().StartTimer(1, 300, [&] {
        if (machine.desktop().ConfirmOwnQuestion()) confirmed_at = machine.now() - start;
        machine.loop().StopTimer(1);
    });
    ASSERT_EQ(shell.InvokeHistoryVerb(1, 2), kOk);
    EXPECT_EQ(confirmed_at, 300u);
    EXPECT_LT(machine.now() - start, 400u) << "the verb returns once the question is answered";
    EXPECT_EQ(machine.HistoryItems(), std::vector<std::string>{"Today"});
    EXPECT_EQ(DeletedPaths(machine, Deletion::Kind::HistoryItem),
              std::vector<std::string>{"Last Week"});
    EXPECT_TRUE(machine.boxes().empty()) << "the scripted user was not needed";
}

TEST(SimCleaning, QuestionBehindAnotherProgramWaitsForTheUser) {
    Machine machine;
    machine.AddHistoryItem("Today");
    machine.SetOtherProgramActive(true);
    int refused = 0;
    machine.loop().StartTimer(1, 300, [&] {
        if (!machine.desktop().ConfirmOwnQuestion()) ++refused;
    });
    machine.AnswerNextBox(mb::kIdNo);
    const std::uint32_t start = machine.now();
    ASSERT_EQ(machine.shell().InvokeHistoryVerb(0, 1), kOk);

    EXPECT_GE(machine.now() - start, 10'000u);
    EXPECT_GE(refused, 30);
    EXPECT_EQ(machine.input_sent_to_other_programs(), 0);
    ASSERT_EQ(machine.boxes().size(), 1u);
    EXPECT_EQ(machine.boxes()[0].text, "Are you sure you want to delete the selected item(s)?");
    EXPECT_EQ(machine.boxes()[0].answer, mb::kIdNo);
    EXPECT_EQ(machine.HistoryItems(), std::vector<std::string>{"Today"});
    EXPECT_TRUE(machine.deletions().empty());

    // Unscripted, the user takes the default button and the item goes.
    machine.loop().StopTimer(1);
    ASSERT_EQ(machine.shell().InvokeHistoryVerb(0, 1), kOk);
    EXPECT_TRUE(machine.HistoryItems().empty());
    EXPECT_EQ(machine.unscripted_boxes(), 1);
}

TEST(SimCleaning, RestartCarriesOutScheduledDeletionsInOrder) {
    Machine machine;
    const std::string cache = std::string(kProfile) + "\\Local Settings\\History\\History.IE5";
    machine.AddFile(cache + "\\index.dat", "index");
    machine.AddFile(cache + "\\MSHist01\\index.dat", "day");
    machine.AddFile("C:\\kept\\readonly.dat", "", platform::attr::kReadOnly);
    machine.Lock(cache + "\\index.dat", LockMode::Exclusive);
    // The browser has one cache entry in use; its refused deletion waits for the restart.
    machine.AddUrlCacheEntry("http://held.test/");
    machine.AddUrlCacheEntry("http://kept.test/");
    machine.LockUrlCacheEntry("http://held.test/");
    machine.LockUrlCacheEntry("http://kept.test/");
    EXPECT_EQ(machine.url_cache().DeleteEntry("http://held.test/"),
              platform::kErrorSharingViolation);
    platform::FileSystem& files = machine.files();

    EXPECT_EQ(files.ScheduleDeleteAtRestart(cache + "\\index.dat"), kOk);
    EXPECT_EQ(files.ScheduleDeleteAtRestart(cache), kOk);  // not empty at restart: stays
    EXPECT_EQ(files.ScheduleDeleteAtRestart(cache + "\\MSHist01\\index.dat"), kOk);
    EXPECT_EQ(files.ScheduleDeleteAtRestart(cache + "\\MSHist01"), kOk);  // empty by then
    EXPECT_EQ(files.ScheduleDeleteAtRestart("C:\\kept\\readonly.dat"), kOk);
    EXPECT_EQ(files.ScheduleDeleteAtRestart(cache + "\\missing.dat"), platform::kErrorFileNotFound);
    EXPECT_EQ(machine.ScheduledAtRestart().size(), 5u);
    EXPECT_TRUE(machine.deletions().empty()) << "nothing goes before the restart";

    machine.Restart();
    EXPECT_FALSE(machine.Exists(cache + "\\index.dat")) << "a restart ends the lock";
    EXPECT_FALSE(machine.Exists(cache + "\\MSHist01"));
    EXPECT_TRUE(machine.Exists(cache));
    EXPECT_TRUE(machine.Exists("C:\\kept\\readonly.dat"));
    EXPECT_TRUE(machine.ScheduledAtRestart().empty());
    EXPECT_EQ(machine.UrlCacheUrls(), std::vector<std::string>{"http://kept.test/"});
    EXPECT_EQ(machine.url_cache().DeleteEntry("http://kept.test/"), kOk) << "no longer in use";
    EXPECT_EQ(machine.deletions().size(), 5u);

    machine.SetVersion({true, 4, 10, 67766446, 1});
    EXPECT_EQ(files.ScheduleDeleteAtRestart(cache), platform::kErrorCallNotImplemented);
    EXPECT_TRUE(machine.ScheduledAtRestart().empty());
}

TEST(SimCleaning, TempPathRecentDocumentsAndRecycleBin) {
    Machine machine;
    std::string temp;
    ASSERT_EQ(machine.files().GetTempPath(temp), kOk);
    EXPECT_EQ(temp, std::string(kProfile) + "\\Local Settings\\Temp\\");
    EXPECT_TRUE(machine.Exists(temp));
    machine.SetTempPath("C:\\TEMP");
    ASSERT_EQ(machine.files().GetTempPath(temp), kOk);
    EXPECT_EQ(temp, "C:\\TEMP\\");

    const std::string recent = std::string(kProfile) + "\\Recent";
    machine.AddRecentDocument("report.doc");
    machine.AddRecentDocument("notes.txt");
    machine.AddFile(recent + "\\Desktop.ini");
    machine.Lock(recent + "\\notes.txt.lnk");
    EXPECT_TRUE(machine.Exists(recent + "\\report.doc.lnk"));
    platform::RegKey key = 0;
    const char* recent_docs = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs";
    ASSERT_EQ(machine.registry().OpenKey(platform::Root::CurrentUser, recent_docs, key), kOk);
    platform::RegType type{};
    std::uint32_t size = 0;
    EXPECT_EQ(machine.registry().QueryValueInfo(key, "MRUListEx", type, size), kOk);
    EXPECT_EQ(size, 12u);  // two numbers and the end mark
    machine.registry().CloseKey(key);

    machine.shell().ClearRecentDocs();
    EXPECT_FALSE(machine.Exists(recent + "\\report.doc.lnk"));
    EXPECT_TRUE(machine.Exists(recent + "\\notes.txt.lnk")) << "held open: stays";
    EXPECT_TRUE(machine.Exists(recent + "\\Desktop.ini")) << "not a shortcut";
    EXPECT_NE(machine.registry().OpenKey(platform::Root::CurrentUser, recent_docs, key), kOk);

    platform::Shell& shell = machine.shell();
    constexpr auto kUnexpected = static_cast<std::int32_t>(0x8000FFFFu);
    EXPECT_EQ(shell.EmptyRecycleBin(), kUnexpected);
    machine.AddToRecycleBin("Dc1.txt", "old");
    machine.AddToRecycleBin("Dc2\\inner.txt", "older");
    machine.AddToRecycleBin("Dc3.doc");
    machine.Lock("C:\\RECYCLER\\S-1-5-21-1004336348-1177238915-682003330-1003\\Dc3.doc");
    EXPECT_EQ(machine.RecycleBinFiles(),
              (std::vector<std::string>{"Dc1.txt", "Dc2\\inner.txt", "Dc3.doc"}));
    EXPECT_NE(shell.EmptyRecycleBin(), 0) << "a file held open is not emptied";
    EXPECT_EQ(machine.RecycleBinFiles(), std::vector<std::string>{"Dc3.doc"});
    machine.Restart();
    EXPECT_EQ(shell.EmptyRecycleBin(), 0);
    EXPECT_TRUE(machine.RecycleBinFiles().empty());
    EXPECT_TRUE(machine.Exists("C:\\RECYCLER")) << "the bin's own folders stay";
    shell.UpdateRecycleBinIcon();
    EXPECT_EQ(machine.recycle_bin_icon_updates(), 1);
}

}  // namespace
}  // namespace qm::sim
