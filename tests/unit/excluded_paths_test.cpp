// Places no item deletes: which paths an exclusion covers, and the temporary folder's item
// cleaning around them, for real and in the preview.
#include <gtest/gtest.h>

#include <algorithm>

#include "browser_machine.h"
#include "clean/cleaner_steps.h"
#include "cleaners/excluded_paths.h"
#include "cli/unattended.h"
#include "core_test_support.h"
#include "main_window_fixture.h"

namespace qm::testing {
namespace {

using cleaners::ExcludedPaths;

class ExcludedPathsTest : public MainWindowTest {
  protected:
    ExcludedPathsTest() {
        machine_.AddFolder("C:\\Temp\\keep\\deep");
        machine_.AddFolderLink("C:\\Link", "C:\\Temp");
    }
    bool Covers(std::string_view entries, std::string_view path) {
        ExcludedPaths excluded = ExcludedPaths::Parse(entries);
        return excluded.Covers(path, machine_.files());
    }
    void Exclude(std::string_view entries) {
        settings_.SaveSettingString(settings::kSettingsRoot, settings::kSettingsPath,
                                    cleaners::kExcludeValue, entries);
    }
};

TEST_F(ExcludedPathsTest, AnEntryCoversItselfWhatIsBelowItAndEveryOtherNameOfIt) {
    for (const char* path : {"C:\\Temp\\keep", "C:\\Temp\\keep\\deep\\a.txt", "c:/temp/KEEP/x",
                             "C:\\Link\\keep\\a.txt", "C:\\Temp\\deep\\..\\keep\\b"})
        EXPECT_TRUE(Covers(" C:\\Temp\\keep\\ | D:\\x", path)) << path;
    for (const char* path : {"C:\\Temp\\keeper", "C:\\Temp\\kee", "C:\\Temp", "D:\\Temp\\keep"})
        EXPECT_FALSE(Covers("C:\\Temp\\keep", path)) << path;

    EXPECT_TRUE(Covers("C:\\Temp\\*.cfg", "C:\\Temp\\a.CFG"));
    EXPECT_TRUE(Covers("C:\\Temp\\*.cfg", "C:\\Link\\dir.cfg\\inside.txt"));
    EXPECT_FALSE(Covers("C:\\Temp\\*.cfg", "C:\\Temp\\a.cfgx"));
    EXPECT_FALSE(Covers("C:\\Temp\\*.cfg", "C:\\Temp\\sub\\a.cfg"));
    EXPECT_TRUE(Covers("D:\\", "D:\\any\\thing"));
}

TEST_F(ExcludedPathsTest, EntriesThatNameNoPlaceForCertainAreLeftOut) {
    for (const char* entry : {"keep", "Temp\\keep", "\\Temp\\keep", "C:Temp", "C:\\*\\keep",
                              "C:\\Temp\\keep.", "C:\\Te<mp", "\\\\server"}) {
        EXPECT_FALSE(ExcludedPaths::IsValidEntry(entry)) << entry;
        EXPECT_TRUE(ExcludedPaths::Parse(entry).empty()) << entry;
    }
    const ExcludedPaths two = ExcludedPaths::Parse("||C:\\a|relative|\\\\server\\share\\b*|");
    EXPECT_EQ(two.paths(), (std::vector<std::string>{"C:\\a", "\\\\server\\share\\b*"}));
    EXPECT_EQ(ExcludedPaths::Join(two.paths()), "C:\\a|\\\\server\\share\\b*");
}

TEST_F(ExcludedPathsTest, TheTempItemLeavesExcludedPlacesAndThePreviewSaysSo) {
    const std::string temp = "C:\\Temp";
    machine_.SetTempPath(temp + "\\");
    for (const char* file : {"\\old.tmp", "\\keep\\deep\\a.log", "\\keep\\b.log", "\\x\\y.cfg",
                             "\\x\\z.tmp", "\\settings.cfg"})
        machine_.AddFile(temp + file, "x");
    Exclude("C:\\Link\\keep|C:\\Temp\\x\\*.cfg|" + temp + "\\settings.cfg");

    cli::Unattended cli(machine_.platform(), settings_, reporter_);
    const std::vector<const clean::CleaningItem*> items{clean::FindByValueName("temp")};
    const auto records = cli.PreviewRecords(items);
    ASSERT_EQ(records.size(), 1u);
    std::vector<std::string> kept, gone;
    for (const dry_run::DryDeletion& entry : records[0])
        (entry.kind == dry_run::DryDeletion::Kind::Kept ? kept : gone).push_back(entry.path);
    EXPECT_NE(std::find(kept.begin(), kept.end(), temp + "\\keep"), kept.end());
    EXPECT_NE(std::find(kept.begin(), kept.end(), temp + "\\x\\y.cfg"), kept.end());
    EXPECT_NE(std::find(kept.begin(), kept.end(), temp + "\\settings.cfg"), kept.end());
    for (const std::string& path : gone) EXPECT_EQ(path.find("cfg"), std::string::npos) << path;

    machine_.ClearDeletions();
    Tick("chkTemp");
    machine_.AnswerNextBox(platform::mb::kIdOk);
    window_.Command7().Click();
    for (const char* file :
         {"\\keep\\deep\\a.log", "\\keep\\b.log", "\\x\\y.cfg", "\\settings.cfg"})
        EXPECT_TRUE(machine_.Exists(temp + file)) << file;
    EXPECT_FALSE(machine_.Exists(temp + "\\old.tmp"));
    EXPECT_FALSE(machine_.Exists(temp + "\\x\\z.tmp"));

    // An exclusion of the whole folder leaves the item nothing to do.
    machine_.AddFile(temp + "\\new.tmp", "x");
    Exclude(temp);
    machine_.AnswerNextBox(platform::mb::kIdOk);
    window_.Command7().Click();
    EXPECT_TRUE(machine_.Exists(temp + "\\new.tmp"));
}

// The cache's own call takes an entry's copy with it, so the entry stays with its copy.
TEST_F(ExcludedPathsTest, ACachedCopyInAnExcludedPlaceKeepsItsEntry) {
    const std::string content = file_tools_.GetInternetCacheFolder() + "\\Content.IE5";
    machine_.AddUrlCacheEntry("http://kept.test/", platform::cache_entry::kNormal,
                              content + "\\KEEP\\a.htm");
    machine_.AddUrlCacheEntry("http://gone.test/", platform::cache_entry::kNormal,
                              content + "\\GONE\\b.htm");
    Exclude(content + "\\KEEP");
    Tick("chkIECache");
    machine_.AnswerNextBox(platform::mb::kIdOk);
    window_.Command7().Click();
    EXPECT_EQ(machine_.UrlCacheUrls(), std::vector<std::string>{"http://kept.test/"});
    EXPECT_TRUE(machine_.Exists(content + "\\KEEP\\a.htm"));
    EXPECT_FALSE(machine_.Exists(content + "\\GONE\\b.htm"));
}

}  // namespace
}  // namespace qm::testing

namespace qm::testing {
namespace {

// A database the user excludes is neither rewritten nor reported as a failure.
TEST(ExcludedDatabases, AnExcludedBrowserDatabaseStaysByteForByteWithoutAComplaint) {
    sim::Machine machine;
    PlaceBrowserFixtures(machine);
    std::string local;
    machine.shell().GetFolderPath(platform::csidl::kLocalAppData, local);
    const std::string cookies = local + "\\Chromium\\User Data\\Default\\Network\\Cookies";
    const std::string other = local + "\\Chromium\\User Data\\Profile 1\\Network\\Cookies";
    const std::string before = *machine.Peek(cookies), other_before = *machine.Peek(other);
    OnlineReporter log;
    settings::SettingsStore settings{machine.registry(), machine.process(), log.reporter};
    settings.Save(cleaners::kExcludeValue, cookies);
    std::vector<std::string> lst_cache;
    clean::CatalogueSteps steps{machine.platform(), settings, log.reporter, lst_cache};
    steps.Run(clean::StepId::CleanChromiumCookies);
    EXPECT_EQ(steps.TakeEndLine(), std::nullopt);
    EXPECT_TRUE(*machine.Peek(cookies) == before);
    EXPECT_FALSE(*machine.Peek(other) == other_before);
    EXPECT_TRUE(log.sent.empty());
}

}  // namespace
}  // namespace qm::testing
