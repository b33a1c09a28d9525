#include <gtest/gtest.h>

#include "clean/wait_seconds.h"
#include "main_window_fixture.h"

namespace qm::testing {
namespace {

using namespace platform::mb;
constexpr const char* kClean = "Do you want to clean selected items";
constexpr const char* kReboot = "Are you sure you want to reboot";
constexpr const char* kNone = "No option is selected\r\nPlease select one or more options";
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
    void ExpectAllValues(const std::set<std::string>& ticked, std::string_view other_value) {
        for (const auto& item : clean::ItemsInRunOrder()) {
            const bool was_ticked = ticked.contains(std::string(item.value_name));
            EXPECT_EQ(Setting(item.value_name), was_ticked ? "tt" : other_value) << item.value_name;
        }
    }
};

TEST_F(CleanRunTest, EachRunIsJudgedByItsOwnAnswerAndTicks) {
    const std::string cookie = file_tools_.GetCookiesFolder() + "\\tester@site[1].txt";
    machine_.AddFile(cookie, "id=1");
    Tick("chkInternetHistory");
    Tick("chkCookies");
    window_.TabStrip1().SelectTab(app::kPrivacyTab);
    window_.List1().AddItem("from an earlier run");

    // Cancelled: nothing is cleaned or written, and only the status lines are left.
    Start(kIdCancel);
    ExpectLastBox(1, kClean, kOkCancel);
    EXPECT_EQ(Lines(), StatusLines());
    EXPECT_FALSE(window_.ItemsCleaned());
    EXPECT_TRUE(machine_.Exists(cookie));
    EXPECT_EQ(window_.TabStrip1().selected_index(), app::kPrivacyTab);
    ExpectAllValues({}, "<absent>");

    const std::uint32_t start = machine_.now();
    Start(kIdOk);
    EXPECT_GE(machine_.now() - start, 2000u) << "one second's pause after each cleaned item";
    auto expected = StatusLines();
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
    ExpectAllValues({"ihistory", "cookies"}, "uu");

    // Nothing ticked now: the earlier run's success does not count.
    for (const char* box : {"chkInternetHistory", "chkCookies"})
        window_.ItemBox(*clean::FindByCheckBox(box)).SetValue(0);
    const std::uint64_t pumps_before = machine_.pumps();
    Start(kIdOk);
    ExpectLastBox(4, kNone, kOk);
    EXPECT_FALSE(window_.ItemsCleaned());
    EXPECT_EQ(Lines(), StatusLines());
    EXPECT_EQ(machine_.pumps(), pumps_before) << "no pause without a cleaned item";
    ExpectAllValues({}, "uu");
}

TEST_F(CleanRunTest, DuringAPauseTicksCountWhenTheRunGetsThereAndAStartIsRefused) {
    Tick("chkInternetHistory");
    Tick("chkCookies");
    int clicks = 0;
    machine_.At(500, [&] {
        ++clicks;
        Tick("chkNetTypeurls");
        window_.ItemBox(*clean::FindByCheckBox("chkCookies")).SetValue(0);
        window_.Command7().Click();
        // A starter that acts on the run's outcome (Clean and Reboot) must see it had none.
        EXPECT_FALSE(window_.clean_run().Run());
    });
    Start(kIdOk);

    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(machine_.boxes().size(), 1u) << "no second confirmation";
    ExpectAllValues({"ihistory", "nettypeurl"}, "uu");
    const auto lines = Lines();
    EXPECT_EQ(lines.size(), StatusLines().size() + 8) << "one run's lines only";
    EXPECT_EQ(lines.at(lines.size() - 3), "Netscape Typed URLs Cleaned.");
    // The guard is released: the next start asks again, and a declined run still ran.
    machine_.AnswerNextBox(kIdCancel);
    EXPECT_TRUE(window_.clean_run().Run());
    EXPECT_EQ(machine_.boxes().size(), 2u);
}

struct StepsFailingOnCookieFiles : clean::CleanerSteps {
    void Run(clean::StepId step) override {
        ++ran;
        if (step == clean::StepId::WipeCookieFiles) throw errors::RuntimeError(70, "Denied");
    }
    int ran = 0;
};

TEST_F(CleanRunTest, AFailingStepIsReportedAndTheItemStillFinishesUnderAReadOnlySettingsKey) {
    machine_.SetLocalMachineReadOnly(true);
    StepsFailingOnCookieFiles steps;
    window_.clean_run().UseSteps(&steps);
    Tick("chkCookies");
    Tick("chkOperaCh");
    Start(kIdOk);

    // The two steps after the failing one and the next item's two all ran; the settings
    // refused under HKLM went to the user's own key, unreported.
    EXPECT_EQ(steps.ran, 7);
    ASSERT_EQ(reports_.size(), 1u);
    EXPECT_NE(reports_[0].find("Form1%2CCommand770"), std::string::npos) << reports_[0];
    EXPECT_EQ(Setting("cookies"), "tt");
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

enum Setup { kTicked = 1, kWin98 = 2, kRefusing = 4, kDuringRun = 8, kNT4 = 16 };

struct Case {
    int setup;
    std::vector<int> answers;
    std::vector<const char*> boxes;
    std::vector<sim::ExitWindowsCall> calls;  // flags, reason, privilege enabled, accepted
};

class CleanAndRebootTest : public MainWindowTest, public ::testing::WithParamInterface<Case> {};

const Case kCases[] = {
    // Nothing ticked; cancel at the clean question; cancel at the reboot question.
    {0, {kIdOk}, {kClean, kNone}, {}},
    {kTicked, {kIdCancel}, {kClean}, {}},
    {kTicked, {kIdOk, kIdCancel}, {kClean, kReboot}, {}},
    // NT: the privilege first, then reboot | force-if-hung for planned application
    // maintenance; a program may refuse. 98 has no privilege and knows neither.
    {kTicked, {kIdOk, kIdOk}, {kClean, kReboot}, {{0x12, 0x80040001, true, true}}},
    {kTicked | kRefusing, {kIdOk, kIdOk}, {kClean, kReboot}, {{0x12, 0x80040001, true, false}}},
    {kTicked | kWin98, {kIdOk, kIdOk}, {kClean, kReboot}, {{0x2, 0, false, true}}},
    // NT 4 has the privilege but refuses force-if-hung, which came with 2000.
    {kTicked | kNT4, {kIdOk, kIdOk}, {kClean, kReboot}, {{0x2, 0x80040001, true, true}}},
    // A start during another run's pause is refused, though that run has cleaned already.
    {kTicked | kDuringRun, {kIdOk}, {kClean}, {}},
};

TEST_P(CleanAndRebootTest, RestartsOnlyAfterACleaningRunAndOkWithoutForcingPrograms) {
    const Case& c = GetParam();
    if (c.setup & kWin98) machine_.SetVersion({true, 4, 10, 1998, 1});
    if (c.setup & kNT4) machine_.SetVersion({true, 4, 0, 1381, 2});
    machine_.RefuseExitWindows(c.setup & kRefusing);
    if (c.setup & kTicked) Tick("chkCookies");
    for (int answer : c.answers) machine_.AnswerNextBox(answer);
    if (c.setup & kDuringRun) machine_.At(500, [&] { window_.cmdCleanAndReboot().Click(); });

    (c.setup & kDuringRun ? window_.Command7() : window_.cmdCleanAndReboot()).Click();

    ASSERT_EQ(machine_.boxes().size(), c.boxes.size());
    for (std::size_t i = 0; i < c.boxes.size(); ++i)
        EXPECT_EQ(machine_.boxes()[i].text, c.boxes[i]);
    const auto& last = machine_.boxes().back();
    EXPECT_EQ(std::tie(last.caption, last.style), std::tuple("Quillmoss", c.setup ? 1u : 0u));
    EXPECT_EQ(machine_.exit_windows_calls(), c.calls);
    EXPECT_EQ(machine_.shutdown_privilege_requests(), c.calls.empty() || c.setup & kWin98 ? 0 : 1);
    // Only a restart Windows took is one the session end must leave alone.
    EXPECT_EQ(window_.restart_requested(), !c.calls.empty() && c.calls[0].accepted);
    window_.SessionEndCancelled();  // a program refused: the next session end is a log-off
    EXPECT_FALSE(window_.restart_requested());
}
INSTANTIATE_TEST_SUITE_P(Cases, CleanAndRebootTest, ::testing::ValuesIn(kCases));

// A program Windows asked before this one refused the restart: no message tells of it. The
// log-off that follows, or a session end well after the request, still cleans as "cleansd"
// asks; only a prompt session end other than a log-off is the restart itself.
TEST_F(MainWindowTest, SessionEndAfterAnUnheardRefusalCleansUnlessItIsTheRestart) {
    settings_.Save("cleansd", "e");
    Tick("chkCookies");
    const struct {
        bool logoff;
        std::uint32_t later_ms;
        bool cancelled_first;
        bool cleans;
    } cases[] = {{true, 10, false, true},
                 {false, 10, false, false},
                 {false, reboot::kRestartAnswerMs + 1, false, true},
                 {false, 10, true, true}};
    for (const auto& c : cases) {
        for (const int answer : {kIdOk, kIdOk}) machine_.AnswerNextBox(answer);
        window_.cmdCleanAndReboot().Click();
        ASSERT_TRUE(window_.restart_requested());
        machine_.Idle(c.later_ms);
        if (c.cancelled_first) window_.SessionEndCancelled();
        window_.SessionEndQueried(c.logoff);
        const std::size_t boxes = machine_.boxes().size();  // the clean run asks, unscripted OK
        window_.Form_QueryUnload(window_.SessionEndUnloadMode(false));
        EXPECT_EQ(machine_.boxes().size(), boxes + (c.cleans ? 1 : 0)) << c.logoff << c.later_ms;
        EXPECT_EQ(window_.SessionEndUnloadMode(true), app::kUnloadFromCode);
        window_.SessionEndCancelled();
    }
}

}  // namespace
}  // namespace qm::testing
