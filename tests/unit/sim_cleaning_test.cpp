// The simulated machine's cleaning surfaces where Wine cannot show Windows' behaviour or a
// contract suite cannot set the scene: an empty cache, the History question and its timers,
// another program in front, and the restart itself. The cleaner tests cover the rest.
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

TEST(SimCleaning, UrlCacheWalkFromEmptyToEntriesGoneAheadOfIt) {
    Machine machine;
    platform::UrlCache& cache = machine.url_cache();
    std::uint32_t size = 0;
    platform::UrlCacheWalk walk = 7;
    platform::UrlCacheEntry entry;
    EXPECT_EQ(cache.FindFirst(size, walk, entry), platform::kErrorNoMoreItems);
    EXPECT_EQ(walk, 0u);

    const std::string file = std::string(kProfile) +
                             "\\Local Settings\\Temporary Internet Files\\Content.IE5\\AB12\\a.htm";
    machine.AddUrlCacheEntry("http://a.test/", platform::cache_entry::kNormal, file);
    machine.AddUrlCacheEntry("http://b.test/");
    size = 4096;
    ASSERT_EQ(cache.FindFirst(size, walk, entry), kOk);
    EXPECT_EQ(cache.DeleteEntry("http://a.test/"), kOk);
    EXPECT_FALSE(machine.Exists(file)) << "the entry's local file goes with it";
    // An entry ahead of the cursor that goes is simply not met any more.
    EXPECT_EQ(cache.DeleteEntry("http://b.test/"), kOk);
    EXPECT_EQ(cache.FindNext(walk, size, entry), platform::kErrorNoMoreItems);
    cache.Close(walk);
    EXPECT_EQ(cache.FindNext(walk, size, entry), platform::kErrorInvalidHandle);
    EXPECT_EQ(DeletedPaths(machine, Deletion::Kind::UrlCacheEntry),
              (std::vector<std::string>{"http://a.test/", "http://b.test/"}));
}

TEST(SimCleaning, HistoryDeleteWaitsInItsQuestionWhileTimersTick) {
    Machine machine;
    machine.AddHistoryItem("Today");
    machine.AddHistoryItem("Last Week", {"&Open", "E&xplore", "&Delete"});
    EXPECT_EQ(machine.shell().InvokeHistoryVerb(1, 0), kOk);  // opening deletes nothing
    EXPECT_FALSE(machine.desktop().ConfirmOwnQuestion()) << "no question open yet";

    // The cleaner's way: a 300 ms timer confirms the question the verb opens.
    const std::uint32_t start = machine.now();
    std::uint32_t confirmed_at = 0;
    machine.loop().StartTimer(1, 300, [&] {
        if (machine.desktop().ConfirmOwnQuestion()) confirmed_at = machine.now() - start;
        machine.loop().StopTimer(1);
    });
    ASSERT_EQ(machine.shell().InvokeHistoryVerb(1, 2), kOk);
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
    EXPECT_EQ(machine.HistoryItems(), std::vector<std::string>{"Today"});
    EXPECT_TRUE(machine.deletions().empty());
}

TEST(SimCleaning, RestartCarriesOutScheduledDeletionsInOrder) {
    Machine machine;
    const std::string cache = std::string(kProfile) + "\\Local Settings\\History\\History.IE5";
    machine.AddFile(cache + "\\index.dat", "index");
    machine.AddFile(cache + "\\MSHist01\\index.dat", "day");
    machine.AddFile("C:\\kept\\readonly.dat", "", platform::attr::kReadOnly);
    machine.Lock(cache + "\\index.dat", LockMode::Exclusive);
    // The browser has a cache entry in use; its refused deletion waits for the restart.
    machine.AddUrlCacheEntry("http://held.test/");
    machine.LockUrlCacheEntry("http://held.test/");
    EXPECT_EQ(machine.url_cache().DeleteEntry("http://held.test/"),
              platform::kErrorSharingViolation);
    platform::FileSystem& files = machine.files();
    for (const std::string& path :
         {cache + "\\index.dat", cache /* not empty at restart: stays */,
          cache + "\\MSHist01\\index.dat", cache + "\\MSHist01" /* empty by then: goes */,
          std::string("C:\\kept\\readonly.dat")}) {
        EXPECT_EQ(files.ScheduleDeleteAtRestart(path), kOk) << path;
    }
    EXPECT_EQ(files.ScheduleDeleteAtRestart(cache + "\\missing.dat"), platform::kErrorFileNotFound);
    EXPECT_TRUE(machine.deletions().empty()) << "nothing goes before the restart";

    machine.Restart();
    EXPECT_FALSE(machine.Exists(cache + "\\index.dat")) << "a restart ends the lock";
    EXPECT_FALSE(machine.Exists(cache + "\\MSHist01"));
    EXPECT_TRUE(machine.Exists(cache));
    EXPECT_TRUE(machine.Exists("C:\\kept\\readonly.dat"));
    EXPECT_TRUE(machine.ScheduledAtRestart().empty());
    EXPECT_TRUE(machine.UrlCacheUrls().empty());
    EXPECT_EQ(machine.deletions().size(), 4u);

    machine.SetVersion({true, 4, 10, 67766446, 1});  // Windows 98 refuses
    EXPECT_EQ(files.ScheduleDeleteAtRestart(cache), platform::kErrorCallNotImplemented);
}

}  // namespace
}  // namespace qm::sim
