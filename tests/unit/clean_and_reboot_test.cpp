#include <gtest/gtest.h>

#include "main_window_fixture.h"

namespace qm::testing {
namespace {

using namespace platform::mb;
constexpr const char* kClean = "Do you want to clean selected items";
constexpr const char* kReboot = "Are you sure you want to reboot";
constexpr const char* kNone = "No option is selected\r\nPlease select one or more options";
enum Setup { kTicked = 1, kWin98 = 2, kRefusing = 4, kDuringRun = 8 };

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
    // A start during another run's pause is refused, though that run has cleaned already.
    {kTicked | kDuringRun, {kIdOk}, {kClean}, {}},
};

TEST_P(CleanAndRebootTest, RestartsOnlyAfterACleaningRunAndOkWithoutForcingPrograms) {
    const Case& c = GetParam();
    if (c.setup & kWin98) machine_.SetVersion({true, 4, 10, 1998, 1});
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
}
INSTANTIATE_TEST_SUITE_P(Cases, CleanAndRebootTest, ::testing::ValuesIn(kCases));

}  // namespace
}  // namespace qm::testing
