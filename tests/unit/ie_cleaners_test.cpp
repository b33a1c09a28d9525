#include "cleaners/ie_cleaners.h"

#include <gtest/gtest.h>

#include "core_test_support.h"

namespace qm::cleaners {
namespace {

namespace attr = platform::attr;
namespace entry_type = platform::cache_entry;
using platform::Root;
using qm::testing::KeyExists;
using Names = std::vector<std::string>;

class IECleanersTest : public ::testing::Test {
  protected:
    sim::Machine machine;
    qm::testing::OnlineReporter log;
    settings::SettingsStore settings{machine.registry(), machine.process(), log.reporter};
    FileTools tools{machine.files(), machine.shell(), log.reporter};
    IECleaners ie{machine.platform(), settings, tools, log.reporter};
    const std::string content = tools.GetInternetCacheFolder() + "\\Content.IE5";
    const std::string history = tools.GetHistoryFolder() + "\\History.IE5";
    std::vector<std::string> lst_cache{"stale"};

    // What a user leaves after some browsing.
    void AddBrowsingTraces() {
        machine.AddHistoryItem("a.test");
        machine.AddHistoryItem("b.test");
        machine.AddHistoryItem("lowercase.test", {"&Open", "&delete"});
        settings.SaveSettingString(Root::CurrentUser, ie_keys::kTypedUrls, "url1", "http://a/");
        settings.SaveSettingString(Root::CurrentUser, ie_keys::kIntelliFormsSpw, "h", "secret");
        machine.AddUrlCacheEntry("http://a.test/", entry_type::kNormal, content + "\\AB12\\a.htm");
        machine.AddUrlCacheEntry("Cookie:tester@a.test/", entry_type::kCookie);
        machine.AddUrlCacheEntry("http://busy.test/", entry_type::kNormal | entry_type::kSticky);
        machine.LockUrlCacheEntry("http://busy.test/");
        machine.AddFile(content + "\\AB12\\ghost.js", "", attr::kHidden | attr::kReadOnly);
        machine.AddFolder(content + "\\SYS0", attr::kSystem);
        machine.AddFolder(content + "\\HID0", attr::kHidden);
        machine.AddFile(content + "\\LNK0\\elsewhere.gif");
        machine.AddFolder(content + "\\LNK0", 0x400);  // a junction: its target is not ours
        machine.AddFile(content + "\\index.dat", "", attr::kHidden | attr::kSystem);
        machine.AddFile(history + "\\index.dat");
    }
};

TEST_F(IECleanersTest, HistoryTypedUrlsAndAutoCompleteRemoveExactlyTheirTraces) {
    AddBrowsingTraces();
    ie.CleanUrlHistory();
    ie.CleanAutoComplete();
    ie.CleanTypedURLs();
    ie.CleanTypedURLs();  // a missing key is no error
    // Last to first, so that no item slips past; only the exact verb counts.
    EXPECT_EQ(machine.HistoryItems(), (Names{"lowercase.test"}));
    EXPECT_FALSE(KeyExists(machine.registry(), Root::CurrentUser, ie_keys::kTypedUrls));
    EXPECT_FALSE(KeyExists(machine.registry(), Root::CurrentUser, ie_keys::kIntelliFormsSpw));
    EXPECT_TRUE(log.sent.empty());
}

TEST_F(IECleanersTest, Timer1NeverAnswersForAnotherProgramAndStopsWithTheVerb) {
    // Another program stays in front: the question waits for the user, who declines, and the
    // timer does not outlive the verb to answer some later question of ours.
    machine.AddHistoryItem("declined.test");
    machine.SetOtherProgramActive(true);
    machine.AnswerNextBox(platform::mb::kIdNo);
    ie.CleanUrlHistory();
    EXPECT_FALSE(machine.TimerRunning(kTimer1Id));
    // When the other program goes to the back a second later, the still ticking timer answers.
    machine.At(1000, [&] { machine.SetOtherProgramActive(false); });
    ie.CleanUrlHistory();
    EXPECT_TRUE(machine.HistoryItems().empty());
    EXPECT_EQ(machine.boxes().size(), 1u);
    EXPECT_EQ(machine.input_sent_to_other_programs(), 0);
}

TEST_F(IECleanersTest, CookieAndCacheItemsTakeNormalEntriesAndCacheSubfoldersOnly) {
    AddBrowsingTraces();
    ie.ListUrlCacheEntries(lst_cache);
    EXPECT_EQ(lst_cache, (Names{"http://a.test/", "http://busy.test/"}));
    ie.DeleteListedCacheEntries(lst_cache);
    EXPECT_EQ(machine.UrlCacheUrls().size(), 2u) << "the cookie and the locked entry stay";
    ie.CleanIECacheFiles();
    EXPECT_FALSE(machine.Exists(content + "\\AB12"));
    EXPECT_FALSE(machine.Exists(content + "\\SYS0"));
    for (const char* kept : {"HID0", "LNK0\\elsewhere.gif", "index.dat"}) {
        EXPECT_TRUE(machine.Exists(content + "\\" + kept)) << kept;
    }

    // An unknown cache folder must not send either cleaner looking somewhere else.
    machine.ClearDeletions();
    machine.ClearSpecialFolder(platform::csidl::kInternetCache);
    ie.CleanIECacheFiles();
    ie.KillIndexDat();
    EXPECT_TRUE(machine.deletions().empty());
    EXPECT_EQ(machine.ScheduledAtRestart(), (Names{history + "\\index.dat", history}));
}

TEST_F(IECleanersTest, CacheWalkOfAHugeCache) {
    Names normal;
    for (int i = 0; i < 10'000; ++i) {
        const auto url = "http://site" + std::to_string(i) + ".test/" + std::string(i % 97, 'p');
        machine.AddUrlCacheEntry(url, i % 3 == 0 ? entry_type::kCookie : entry_type::kNormal);
        if (i % 3 != 0) normal.push_back(url);
    }
    ie.ListUrlCacheEntries(lst_cache);
    EXPECT_EQ(lst_cache, normal);
}

TEST_F(IECleanersTest, IndexFilesAreScheduledForTheRestartBut9xRefuses) {
    AddBrowsingTraces();
    machine.SetVersion({true, 4, 10, 67766446, 1});  // Windows 98
    ie.KillIndexDat();
    EXPECT_TRUE(machine.ScheduledAtRestart().empty());

    machine.SetVersion({true, 5, 1, 2600, 2});
    ie.KillIndexDat();
    EXPECT_EQ(machine.ScheduledAtRestart(),
              (Names{content + "\\index.dat", content, history + "\\index.dat", history}));
    EXPECT_TRUE(machine.deletions().empty());
    EXPECT_TRUE(log.sent.empty());
}

}  // namespace
}  // namespace qm::cleaners
