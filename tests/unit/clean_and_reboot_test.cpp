#include <gtest/gtest.h>

#include "main_window_fixture.h"

namespace qm::testing {
namespace {

using platform::mb::kIdCancel;
using platform::mb::kIdOk;
constexpr const char* kClean = "Do you want to clean selected items";
constexpr const char* kNone = "No option is selected\r\nPlease select one or more options";
constexpr const char* kReboot = "Are you sure you want to reboot";
// Reboot | force-if-hung, for planned application maintenance; 98 knows neither.
constexpr sim::ExitWindowsCall kNtRestart{0x12, 0x80040001, true, true};
constexpr sim::ExitWindowsCall k98Restart{0x2, 0, false, true};

struct Case {
    const char* name;
    bool tick, win98, refuse;
    std::vector<int> answers;
    std::vector<std::string> boxes;
    std::vector<sim::ExitWindowsCall> calls;
};

class CleanAndRebootTest : public MainWindowTest, public ::testing::WithParamInterface<Case> {
  protected:
    std::vector<std::string> BoxTexts() {
        std::vector<std::string> texts;
        for (const auto& box : machine_.boxes()) texts.push_back(box.text);
        return texts;
    }
};

const Case kCases[] = {
    {"NothingTicked", false, false, false, {kIdOk}, {kClean, kNone}, {}},
    {"CancelToClean", true, false, false, {kIdCancel}, {kClean}, {}},
    {"CancelToReboot", true, false, false, {kIdOk, kIdCancel}, {kClean, kReboot}, {}},
    {"NtPrivilegeFirst", true, false, false, {kIdOk, kIdOk}, {kClean, kReboot}, {kNtRestart}},
    {"AProgramRefuses",
     true,
     false,
     true,
     {kIdOk, kIdOk},
     {kClean, kReboot},
     {{0x12, 0x80040001, true, false}}},
    {"Win98", true, true, false, {kIdOk, kIdOk}, {kClean, kReboot}, {k98Restart}},
};

TEST_P(CleanAndRebootTest, RestartsOnlyAfterACleaningRunAndOkWithoutForcingPrograms) {
    const Case& c = GetParam();
    if (c.win98) machine_.SetVersion({true, 4, 10, 1998, 1});
    machine_.RefuseExitWindows(c.refuse);
    if (c.tick) Tick("chkCookies");
    for (int answer : c.answers) machine_.AnswerNextBox(answer);
    bool requested_while_asking = false;
    machine_.WhileNextBox([] {});
    machine_.WhileNextBox([&] { requested_while_asking = window_.restart_requested(); });

    window_.cmdCleanAndReboot().Click();

    EXPECT_EQ(BoxTexts(), c.boxes);
    const auto& last = machine_.boxes().back();
    if (last.text == kReboot) {
        EXPECT_EQ(std::tie(last.caption, last.style), std::tuple("Quillmoss", 1u));
    }
    EXPECT_EQ(machine_.exit_windows_calls(), c.calls);
    EXPECT_EQ(machine_.shutdown_privilege_requests(), c.calls.empty() || c.win98 ? 0 : 1);
    EXPECT_FALSE(requested_while_asking);
    EXPECT_EQ(window_.restart_requested(), !c.calls.empty() && c.calls[0].accepted);
    EXPECT_TRUE(reports_.empty());
}
INSTANTIATE_TEST_SUITE_P(Cases, CleanAndRebootTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CleanAndRebootTest, AStartDuringAnotherRunsPauseAsksNothing) {
    Tick("chkCookies");
    machine_.At(500, [&] { window_.cmdCleanAndReboot().Click(); });
    machine_.AnswerNextBox(kIdOk);
    window_.Command7().Click();
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{kClean});
    EXPECT_TRUE(machine_.exit_windows_calls().empty());
}

}  // namespace
}  // namespace qm::testing
