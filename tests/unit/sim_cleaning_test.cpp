// The simulated machine's cleaning surfaces where Wine cannot show Windows' behaviour or a
// contract suite cannot set the scene: an empty cache, entries that go ahead of a walk, and the
// History question with its timers and its user. The cleaner tests cover the rest.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/machine.h"

namespace qm::sim {
namespace {

using platform::kOk;

TEST(SimCleaning, UrlCacheWalkFromEmptyToEntriesGoneAheadOfIt) {
    Machine machine;
    platform::UrlCache& cache = machine.url_cache();
    std::uint32_t size = 0;
    platform::UrlCacheWalk walk = 7;
    platform::UrlCacheEntry entry;
    EXPECT_EQ(cache.FindFirst(size, walk, entry), platform::kErrorNoMoreItems);
    EXPECT_EQ(walk, 0u);

    const std::string file =
        "C:\\Documents and Settings\\Tester\\Local Settings\\Temporary "
        "Internet Files\\Content.IE5\\AB12\\a.htm";
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
    std::vector<std::string> recorded;
    for (const Deletion& d : machine.deletions())
        if (d.kind == Deletion::Kind::UrlCacheEntry) recorded.push_back(d.path);
    EXPECT_EQ(recorded, (std::vector<std::string>{"http://a.test/", "http://b.test/"}));
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
    ASSERT_EQ(machine.deletions().size(), 1u);
    EXPECT_EQ(machine.deletions()[0].path, "Last Week");
    EXPECT_TRUE(machine.boxes().empty()) << "the scripted user was not needed";

    // Behind another program nothing answers: after ten seconds the user does, and No keeps.
    machine.SetOtherProgramActive(true);
    machine.AnswerNextBox(platform::mb::kIdNo);
    const std::uint32_t asked = machine.now();
    ASSERT_EQ(machine.shell().InvokeHistoryVerb(0, 1), kOk);
    EXPECT_GE(machine.now() - asked, 10'000u);
    ASSERT_EQ(machine.boxes().size(), 1u);
    EXPECT_EQ(machine.boxes()[0].text, "Are you sure you want to delete the selected item(s)?");
    EXPECT_EQ(machine.HistoryItems(), std::vector<std::string>{"Today"});
}

}  // namespace
}  // namespace qm::sim
