#include "cleaners/ie_cleaners.h"

#include <gtest/gtest.h>

#include "clean/catalogue.h"
#include "core_test_support.h"
#include "platform/dry_run/dry_run.h"

namespace qm::cleaners {
namespace {

namespace attr = platform::attr;
namespace entry_type = platform::cache_entry;
using platform::RegType;
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
        // A history record carries the normal bit too, and a walk may reach it.
        machine.AddUrlCacheEntry("Visited: tester@http://a.test/",
                                 entry_type::kUrlHistory | entry_type::kNormal);
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

TEST_F(IECleanersTest, HistoryTypedUrlsAndAutoCompleteRemoveTheirTracesAndWriteExactValues) {
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

    // Internet Explorer reads these by exact name, key and type; a text is not a number.
    const std::vector<std::uint8_t> no = {'n', 0, 'o', 0}, zero = {0, 0, 0, 0};
    const std::tuple<std::string, const char*, RegType, std::vector<std::uint8_t>> written[] = {
        {"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Url History",
         "DaysToKeep", RegType::Dword, zero},
        {"Software\\Microsoft\\Internet Explorer\\Main", "Use FormSuggest", RegType::Sz, no},
        {"Software\\Microsoft\\Explorer\\AutoComplete", "Use AutoComplete", RegType::Sz, no}};
    for (const auto& [key, name, type, data] : written) {
        const auto raw = qm::testing::ReadRaw(machine.registry(), Root::CurrentUser, key, name);
        EXPECT_TRUE(raw.exists && raw.type == type && raw.data == data) << key << "\\" << name;
    }
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

TEST_F(IECleanersTest, BinCookieAndCacheItemsTakeTheirOwnOnlyAndReportNothing) {
    AddBrowsingTraces();
    // A file some program holds open stays in the bin, and the run goes on without a word.
    machine.AddToRecycleBin("Dc1.txt");
    machine.AddToRecycleBin("Dc2.txt");
    machine.Lock(machine.RecycleBinFolder() + "\\Dc2.txt");
    clean::CatalogueSteps steps{machine.platform(), settings, log.reporter, lst_cache};
    for (const clean::StepId step : clean::steps::kRecycleBin) steps.Run(step);
    for (const clean::StepId step : clean::steps::kCookies) steps.Run(step);
    EXPECT_EQ(machine.RecycleBinFiles(), Names{"Dc2.txt"});
    EXPECT_EQ(machine.recycle_bin_icon_updates(), 1);
    EXPECT_TRUE(log.sent.empty());
    for (const clean::StepId step : clean::steps::kIECache) steps.Run(step);
    // Cookies, history records and entries in use are not the walk's to take.
    EXPECT_EQ(
        machine.UrlCacheUrls(),
        (Names{"Cookie:tester@a.test/", "Visited: tester@http://a.test/", "http://busy.test/"}));
    EXPECT_TRUE(lst_cache.empty());
    for (const char* gone : {"AB12", "SYS0"}) EXPECT_FALSE(machine.Exists(content + "\\" + gone));
    for (const char* kept : {"HID0", "LNK0\\elsewhere.gif", "index.dat"})
        EXPECT_TRUE(machine.Exists(content + "\\" + kept)) << kept;
}

TEST_F(IECleanersTest, EveryCacheWalkIsClosedHoweverItEnds) {
    const Names urls = {"http://1.test/", "http://2.test/", "http://3.test/"};
    for (const std::string& url : urls) machine.AddUrlCacheEntry(url);
    // Broken at a size probe or at the fetch after it, at each entry in turn; then whole.
    for (std::size_t broken = 0; broken <= urls.size() * 2; ++broken) {
        const std::string url = broken < urls.size() * 2 ? urls[broken / 2] : "";
        if (!url.empty())
            machine.BreakUrlCacheWalkAt(url, platform::kErrorInvalidHandle, broken % 2);
        ie.ListUrlCacheEntries(lst_cache);
        EXPECT_EQ(lst_cache, Names(urls.begin(), urls.begin() + broken / 2)) << broken;
        EXPECT_EQ(machine.open_url_cache_walks(), 0u) << broken;
        if (!url.empty()) machine.BreakUrlCacheWalkAt(url, platform::kOk, true);
    }
}

TEST_F(IECleanersTest, IndexFilesAreScheduledForTheRestartBut9xRefuses) {
    AddBrowsingTraces();
    machine.SetVersion({true, 4, 10, 67766446, 1});  // Windows 98
    ie.KillIndexDat();
    EXPECT_TRUE(machine.ScheduledAtRestart().empty());

    machine.SetVersion({true, 5, 1, 2600, 2});
    ie.KillIndexDat();
    // An unknown cache folder must not send either cleaner looking somewhere else.
    machine.ClearSpecialFolder(platform::csidl::kInternetCache);
    ie.KillIndexDat();
    ie.CleanIECacheFiles();
    EXPECT_EQ(machine.ScheduledAtRestart(),
              (Names{content + "\\index.dat", content, history + "\\index.dat", history,
                     history + "\\index.dat", history}));
    EXPECT_TRUE(machine.deletions().empty());
    EXPECT_TRUE(log.sent.empty());
}

// With sites to keep, their cookie files stay and every other one goes; with none, all go.
TEST_F(IECleanersTest, TheCookieItemSparesTheFilesOfKeptSitesOnly) {
    const std::string cookies = tools.GetCookiesFolder();
    const char* files[] = {"tester@mail.example[1].txt",    "tester@www.mail.example[2].txt",
                           "tester@badmail.example[1].txt", "tester@other.test[1].txt",
                           "tester@mail.example.txt",       "index.dat"};
    for (const char* name : files) machine.AddFile(cookies + "\\" + name, "c");
    settings.Save("cookiekeep", "MAIL.example");
    {
        // The preview shows what stays beside what goes.
        dry_run::DryRun dry(machine.platform());
        clean::CatalogueSteps preview{dry.platform(), settings, log.reporter, lst_cache};
        for (const clean::StepId step : clean::steps::kCookies) preview.Run(step);
        std::vector<std::string> kept, gone;
        for (const dry_run::DryDeletion& d : dry.record()) {
            if (d.kind == dry_run::DryDeletion::Kind::Kept) kept.push_back(d.path);
            if (d.kind == dry_run::DryDeletion::Kind::File) gone.push_back(d.path);
        }
        EXPECT_EQ(kept, (std::vector<std::string>{cookies + "\\tester@mail.example.txt",
                                                  cookies + "\\tester@mail.example[1].txt",
                                                  cookies + "\\tester@www.mail.example[2].txt"}));
        EXPECT_EQ(gone.size(), 2u);
    }
    clean::CatalogueSteps steps{machine.platform(), settings, log.reporter, lst_cache};
    for (const clean::StepId step : clean::steps::kCookies) steps.Run(step);
    std::vector<std::string> left;
    for (const char* name : files)
        if (machine.Exists(cookies + "\\" + name)) left.push_back(name);
    EXPECT_EQ(left, (std::vector<std::string>{"tester@mail.example[1].txt",
                                              "tester@www.mail.example[2].txt",
                                              "tester@mail.example.txt", "index.dat"}));
    settings.Save("cookiekeep", " ");
    for (const clean::StepId step : clean::steps::kCookies) steps.Run(step);
    EXPECT_TRUE(machine.Exists(cookies + "\\index.dat"));
    EXPECT_FALSE(machine.Exists(cookies + "\\tester@mail.example[1].txt"));
}

}  // namespace
}  // namespace qm::cleaners
