#include <gtest/gtest.h>

#include <optional>

#include "clean/wait_seconds.h"
#include "main_window_fixture.h"

namespace qm::testing {
namespace {

using platform::mb::kIdCancel;
using platform::mb::kIdOk;

class CleanRunTest : public MainWindowTest {
  protected:
    std::vector<std::string> Lines() { return window_.List1().lines(); }
    // Clicks the start button and answers its confirmation.
    void Start(int answer) {
        machine_.AnswerNextBox(answer);
        window_.Command7().Click();
    }
    void ExpectBox(std::size_t index, std::string_view text, std::uint32_t style) {
        ASSERT_LT(index, machine_.boxes().size());
        EXPECT_EQ(machine_.boxes()[index].text, text);
        EXPECT_EQ(machine_.boxes()[index].caption, "Quillmoss");
        EXPECT_EQ(machine_.boxes()[index].style, style);
    }
    static std::vector<std::string> Then(std::vector<std::string> lines,
                                         std::initializer_list<std::string> more) {
        lines.insert(lines.end(), more);
        return lines;
    }
    void ExpectAllValues(std::string_view ticked_value, const std::set<std::string>& ticked,
                         std::string_view other_value) {
        for (const auto& item : clean::ItemsInRunOrder()) {
            const bool was_ticked = ticked.contains(std::string(item.value_name));
            EXPECT_EQ(Setting(item.value_name), was_ticked ? ticked_value : other_value)
                << item.value_name;
        }
    }
};

class RecordingSteps : public clean::CleanerSteps {
  public:
    void Run(clean::StepId step) override {
        ran.push_back(step);
        if (step == fail) throw errors::RuntimeError(70, "Permission denied");
    }
    std::vector<clean::StepId> ran;
    std::optional<clean::StepId> fail;
};

TEST_F(CleanRunTest, CancelWritesNothingAndLeavesOnlyTheStatusLines) {
    const std::string cookie = file_tools_.GetCookiesFolder() + "\\tester@site[1].txt";
    machine_.AddFile(cookie, "id=1");
    Tick("chkCookies");
    window_.TabStrip1().SelectTab(app::kPrivacyTab);
    window_.List1().AddItem("from an earlier run");
    const auto status = StatusLines();

    Start(kIdCancel);

    ASSERT_EQ(machine_.boxes().size(), 1u);
    ExpectBox(0, "Do you want to clean selected items", platform::mb::kOkCancel);
    EXPECT_EQ(Lines(), status);
    EXPECT_FALSE(window_.ItemsCleaned());
    EXPECT_TRUE(machine_.Exists(cookie));
    EXPECT_EQ(window_.TabStrip1().selected_index(), app::kPrivacyTab);
    ExpectAllValues("", {}, "<absent>");
}

TEST_F(CleanRunTest, TwoTickedItemsGiveTheirLinesAndAllTwentyFourValues) {
    const std::string cookies = file_tools_.GetCookiesFolder();
    machine_.AddFile(cookies + "\\tester@site[1].txt", "id=1");
    machine_.AddFile(cookies + "\\index.dat", "keep");
    Tick("chkInternetHistory");
    Tick("chkCookies");
    window_.TabStrip1().SelectTab(app::kPrivacyTab);
    const auto status = StatusLines();
    const std::uint32_t start = machine_.now();

    Start(kIdOk);

    const auto expected =
        Then(status, {"", "Cleaning Intenet History...", "Internet History Cleaned.", "",
                      "Cleaning Internet Cookies...", "Internet Cookies Cleaned.", "",
                      "All selected items has been cleaned."});
    EXPECT_EQ(Lines(), expected);
    EXPECT_EQ(window_.List1().selected_index(), static_cast<int>(expected.size()) - 1);
    EXPECT_TRUE(window_.ItemsCleaned());
    EXPECT_EQ(machine_.boxes().size(), 1u);
    // The run brought the Main panel with the progress list to the front.
    EXPECT_EQ(window_.TabStrip1().selected_index(), app::kMainTab);
    EXPECT_EQ(window_.FrontTopPanel(), app::kMainTab);
    ExpectAllValues("tt", {"ihistory", "cookies"}, "uu");
    EXPECT_FALSE(machine_.Exists(cookies + "\\tester@site[1].txt"));
    EXPECT_TRUE(machine_.Exists(cookies + "\\index.dat"));
    EXPECT_GE(machine_.now() - start, 2000u) << "one second's pause after each cleaned item";
    EXPECT_TRUE(reports_.empty());
}

TEST_F(CleanRunTest, NothingTickedAsksForASelectionAndRecordsUuEverywhere) {
    // A first run cleans something; the second run is judged by its own ticks alone.
    Tick("chkTemp");
    Start(kIdOk);
    ASSERT_TRUE(window_.ItemsCleaned());
    window_.ItemBox(*clean::FindByValueName("temp")).SetValue(0);
    const auto status = StatusLines();
    const std::uint64_t pumps_before = machine_.pumps();

    Start(kIdOk);

    ASSERT_EQ(machine_.boxes().size(), 3u);
    ExpectBox(2, "No option is selected\r\nPlease select one or more options", platform::mb::kOk);
    EXPECT_FALSE(window_.ItemsCleaned());
    EXPECT_EQ(Lines(), status);
    EXPECT_EQ(machine_.pumps(), pumps_before) << "no pause without a cleaned item";
    ExpectAllValues("", {}, "uu");
}

TEST_F(CleanRunTest, TicksChangedDuringAnEarlierPauseCountWhenTheRunGetsThere) {
    Tick("chkInternetHistory");
    Tick("chkCookies");
    machine_.At(500, [this] {
        Tick("chkNetTypeurls");
        window_.ItemBox(*clean::FindByValueName("cookies")).SetValue(0);
    });
    Start(kIdOk);

    ExpectAllValues("tt", {"ihistory", "nettypeurl"}, "uu");
    const auto lines = Lines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[lines.size() - 3], "Netscape Typed URLs Cleaned.");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Cleaning Internet Cookies..."), 0);
}

TEST_F(CleanRunTest, AStartDuringAPauseIsIgnored) {
    Tick("chkInternetHistory");
    Tick("chkUrls");
    int clicks = 0;
    machine_.At(500, [&] {
        ++clicks;
        window_.Command7().Click();
        EXPECT_TRUE(window_.clean_run().in_progress());
    });
    machine_.AnswerNextBox(kIdOk);
    const auto status = StatusLines();
    window_.Command7().Click();

    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(machine_.boxes().size(), 1u) << "no second confirmation";
    EXPECT_EQ(Lines(), Then(status, {"", "Cleaning Intenet History...", "Internet History Cleaned.",
                                     "", "Cleaning recent visited URL lists...",
                                     "Recent visited URL list Cleaned.", "",
                                     "All selected items has been cleaned."}));
    EXPECT_FALSE(window_.clean_run().in_progress());

    // The guard is released: the next start runs again.
    Start(kIdCancel);
    EXPECT_EQ(machine_.boxes().size(), 2u);
}

TEST_F(CleanRunTest, AReadOnlySettingsKeyDoesNotStopTheRun) {
    machine_.SetLocalMachineReadOnly(true);
    Tick("chkRecBin");
    Tick("chkOperaType");
    Start(kIdOk);

    EXPECT_TRUE(window_.ItemsCleaned());
    EXPECT_EQ(Lines().back(), "All selected items has been cleaned.");
    ExpectAllValues("", {}, "<absent>");
    EXPECT_TRUE(reports_.empty()) << "refused settings writes are not reported";
}

TEST_F(CleanRunTest, AFailingStepIsReportedAndTheItemStillFinishes) {
    RecordingSteps steps;
    steps.fail = clean::StepId::WipeCookieFiles;
    window_.clean_run().UseSteps(&steps);
    Tick("chkCookies");
    Tick("chkOperaCh");
    Start(kIdOk);

    using enum clean::StepId;
    EXPECT_EQ(steps.ran, (std::vector<clean::StepId>{ListUrlCacheEntries,
                                                     DeleteEachListedCacheEntry, WipeCookieFiles,
                                                     ListUrlCacheEntries, DeleteListedCacheEntries,
                                                     CleanOperaCache, CleanOpera7Cache}));
    ASSERT_EQ(reports_.size(), 1u);
    EXPECT_NE(reports_[0].find("Form1,Command7"), std::string::npos) << reports_[0];
    EXPECT_NE(reports_[0].find("70"), std::string::npos);
    ExpectAllValues("tt", {"cookies", "operach"}, "uu");
    const auto lines = Lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Internet Cookies Cleaned."), lines.end());
    EXPECT_EQ(lines.back(), "All selected items has been cleaned.");
}

TEST_F(CleanRunTest, AnUnknownCookiesFolderCleansNothingElsewhere) {
    machine_.ClearSpecialFolder(platform::csidl::kCookies);
    machine_.AddFile("C:\\notes.txt", "mine");
    machine_.AddFile("C:\\Projects\\plan.doc", "mine");
    const auto before = machine_.AllPaths();
    Tick("chkCookies");
    Start(kIdOk);

    // On Windows "\*.txt" is the root of the current drive; the simulated drive refuses it,
    // so the attempt itself is what shows.
    EXPECT_EQ(machine_.AllPaths(), before);
    EXPECT_TRUE(machine_.deletions().empty());
    EXPECT_TRUE(reports_.empty()) << reports_.front();
    EXPECT_EQ(Lines().back(), "All selected items has been cleaned.");
}

TEST_F(CleanRunTest, AllTwentyFourItemsRunToTheEndUnderVirtualTime) {
    for (const auto& item : clean::ItemsInRunOrder()) window_.ItemBox(item).SetValue(1);
    const std::uint32_t start = machine_.now();
    Start(kIdOk);

    EXPECT_EQ(window_.List1().count(), 4u + 24u * 3u + 2u);
    EXPECT_EQ(Lines()[4 + 23 * 3 + 1], "Cleaning Netscape Typed URLs...");
    EXPECT_GE(machine_.now() - start, 24000u);
    std::set<std::string> all;
    for (const auto& item : clean::ItemsInRunOrder()) all.emplace(item.value_name);
    ExpectAllValues("tt", all, "uu");
}

TEST_F(CleanRunTest, WaitSecondsLastsASecondAcrossBothTickWraps) {
    for (const std::uint32_t near_wrap : {0x7FFFFE00u, 0xFFFFFE00u, 0xFFFFFFFFu}) {
        machine_.SetTickCount(near_wrap);
        int handled = 0;
        machine_.At(400, [&] { ++handled; });
        const std::uint32_t start = machine_.now();
        clean::WaitSeconds(machine_.system(), machine_.loop(), 1);
        const std::uint32_t elapsed = machine_.now() - start;
        EXPECT_GE(elapsed, 1000u) << std::hex << near_wrap;
        EXPECT_LT(elapsed, 1100u) << std::hex << near_wrap;
        EXPECT_EQ(handled, 1) << "messages are handled during the pause";
    }
    const std::uint64_t pumps = machine_.pumps();
    clean::WaitSeconds(machine_.system(), machine_.loop(), 0);
    clean::WaitSeconds(machine_.system(), machine_.loop(), -5);
    EXPECT_EQ(machine_.pumps(), pumps);
}

}  // namespace
}  // namespace qm::testing
