#include <gtest/gtest.h>

#include "clean/wait_seconds.h"
#include "main_window_fixture.h"

namespace qm::testing {
namespace {

using platform::mb::kIdCancel;
using platform::mb::kIdOk;
constexpr std::string_view kDone = clean::kFinalLine;

class CleanRunTest : public MainWindowTest {
  protected:
    std::vector<std::string> Lines() { return window_.List1().lines(); }
    // Clicks the start button and answers its confirmation.
    void Start(int answer) {
        machine_.AnswerNextBox(answer);
        window_.Command7().Click();
    }
    void ExpectLastBox(std::size_t count, std::string_view text, std::uint32_t style) {
        ASSERT_EQ(machine_.boxes().size(), count);
        const auto& box = machine_.boxes().back();
        EXPECT_EQ(std::tie(box.text, box.caption, box.style),
                  std::make_tuple(std::string(text), std::string("Quillmoss"), style));
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

struct StepsFailingOnCookieFiles : clean::CleanerSteps {
    void Run(clean::StepId step) override {
        ++ran;
        if (step == clean::StepId::WipeCookieFiles) throw errors::RuntimeError(70, "Denied");
    }
    int ran = 0;
};

TEST_F(CleanRunTest, CancelWritesNothingAndLeavesOnlyTheStatusLines) {
    const std::string cookie = file_tools_.GetCookiesFolder() + "\\tester@site[1].txt";
    machine_.AddFile(cookie, "id=1");
    Tick("chkCookies");
    window_.TabStrip1().SelectTab(app::kPrivacyTab);
    window_.List1().AddItem("from an earlier run");

    Start(kIdCancel);

    ExpectLastBox(1, "Do you want to clean selected items", platform::mb::kOkCancel);
    EXPECT_EQ(Lines(), StatusLines());
    EXPECT_FALSE(window_.ItemsCleaned());
    EXPECT_TRUE(machine_.Exists(cookie));
    EXPECT_EQ(window_.TabStrip1().selected_index(), app::kPrivacyTab);
    ExpectAllValues("", {}, "<absent>");
}

TEST_F(CleanRunTest, TwoTickedItemsGiveTheirLinesAndAllTwentyFourValues) {
    const std::string cookie = file_tools_.GetCookiesFolder() + "\\tester@site[1].txt";
    machine_.AddFile(cookie, "id=1");
    Tick("chkInternetHistory");
    Tick("chkCookies");
    window_.TabStrip1().SelectTab(app::kPrivacyTab);
    auto expected = StatusLines();

    Start(kIdOk);

    expected.insert(expected.end(), {"", "Cleaning Intenet History...", "Internet History Cleaned.",
                                     "", "Cleaning Internet Cookies...",
                                     "Internet Cookies Cleaned.", "", std::string(kDone)});
    EXPECT_EQ(Lines(), expected);
    EXPECT_EQ(window_.List1().selected_index(), static_cast<int>(expected.size()) - 1);
    EXPECT_TRUE(window_.ItemsCleaned());
    EXPECT_FALSE(machine_.Exists(cookie));
    // The run brought the Main panel with the progress list to the front.
    EXPECT_EQ(window_.TabStrip1().selected_index(), app::kMainTab);
    EXPECT_EQ(window_.FrontTopPanel(), app::kMainTab);
    ExpectAllValues("tt", {"ihistory", "cookies"}, "uu");
}

TEST_F(CleanRunTest, NothingTickedAsksForASelectionAndRecordsUuEverywhere) {
    // A first run cleans something; the second run is judged by its own ticks alone.
    Tick("chkTemp");
    Start(kIdOk);
    window_.ItemBox(*clean::FindByValueName("temp")).SetValue(0);
    const std::uint64_t pumps_before = machine_.pumps();

    Start(kIdOk);

    ExpectLastBox(3, "No option is selected\r\nPlease select one or more options",
                  platform::mb::kOk);
    EXPECT_FALSE(window_.ItemsCleaned());
    EXPECT_EQ(Lines(), StatusLines());
    EXPECT_EQ(machine_.pumps(), pumps_before) << "no pause without a cleaned item";
    ExpectAllValues("", {}, "uu");
}

TEST_F(CleanRunTest, DuringAPauseTicksCountWhenTheRunGetsThereAndAStartIsIgnored) {
    Tick("chkInternetHistory");
    Tick("chkCookies");
    int clicks = 0;
    machine_.At(500, [&] {
        ++clicks;
        Tick("chkNetTypeurls");
        window_.ItemBox(*clean::FindByValueName("cookies")).SetValue(0);
        window_.Command7().Click();
        EXPECT_TRUE(window_.clean_run().in_progress());
    });
    Start(kIdOk);

    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(machine_.boxes().size(), 1u) << "no second confirmation";
    ExpectAllValues("tt", {"ihistory", "nettypeurl"}, "uu");
    const auto lines = Lines();
    EXPECT_EQ(lines.size(), StatusLines().size() + 8) << "one run's lines only";
    EXPECT_EQ(lines.at(lines.size() - 3), "Netscape Typed URLs Cleaned.");
    // The guard is released: the next start asks again.
    Start(kIdCancel);
    EXPECT_EQ(machine_.boxes().size(), 2u);
}

TEST_F(CleanRunTest, AFailingStepIsReportedAndTheItemStillFinishes) {
    StepsFailingOnCookieFiles steps;
    window_.clean_run().UseSteps(&steps);
    Tick("chkCookies");
    Tick("chkOperaCh");
    Start(kIdOk);

    // The two steps after the failing one and the next item's two all ran.
    EXPECT_EQ(steps.ran, 7);
    ASSERT_EQ(reports_.size(), 1u);
    EXPECT_NE(reports_[0].find("Form1,Command770"), std::string::npos) << reports_[0];
    ExpectAllValues("tt", {"cookies", "operach"}, "uu");
    EXPECT_EQ(Lines().back(), kDone);
}

TEST_F(CleanRunTest, AnUnknownCookiesFolderCleansNothingElsewhere) {
    // On Windows "\*.txt" is the root of the current drive; the simulated drive refuses it,
    // so the attempt itself is what shows.
    machine_.ClearSpecialFolder(platform::csidl::kCookies);
    machine_.AddFile("C:\\notes.txt", "mine");
    Tick("chkCookies");
    Start(kIdOk);

    EXPECT_TRUE(machine_.deletions().empty());
    EXPECT_TRUE(reports_.empty()) << reports_.front();
    EXPECT_EQ(Lines().back(), kDone);
}

TEST_F(CleanRunTest, AllTwentyFourItemsRunToTheEndUnderAReadOnlySettingsKey) {
    machine_.SetLocalMachineReadOnly(true);
    for (const auto& item : clean::ItemsInRunOrder()) window_.ItemBox(item).SetValue(1);
    const std::uint32_t start = machine_.now();
    Start(kIdOk);

    EXPECT_EQ(window_.List1().count(), 4u + 24u * 3u + 2u);
    EXPECT_EQ(Lines().back(), kDone);
    EXPECT_GE(machine_.now() - start, 24000u) << "one second's pause after each cleaned item";
    ExpectAllValues("", {}, "<absent>");
    EXPECT_TRUE(reports_.empty()) << "refused settings writes are not reported";
}

TEST_F(CleanRunTest, WaitSecondsLastsASecondAcrossBothTickWraps) {
    for (const std::uint32_t near_wrap : {0x7FFFFE00u, 0xFFFFFE00u, 0xFFFFFFFFu}) {
        machine_.SetTickCount(near_wrap);
        const std::uint32_t start = machine_.now();
        clean::WaitSeconds(machine_.system(), machine_.loop(), 1);
        const std::uint32_t elapsed = machine_.now() - start;
        EXPECT_TRUE(elapsed >= 1000u && elapsed < 1100u) << std::hex << near_wrap << " " << elapsed;
    }
    const std::uint64_t pumps = machine_.pumps();
    for (const int none : {0, -5}) clean::WaitSeconds(machine_.system(), machine_.loop(), none);
    EXPECT_EQ(machine_.pumps(), pumps);
}

}  // namespace
}  // namespace qm::testing
