#include <algorithm>

#include "main_window_fixture.h"

namespace qm::testing {
namespace {

using Calls = std::vector<std::string>;
using platform::mb::kIdCancel;
using platform::mb::kIdNo;
using platform::mb::kIdOk;
using platform::mb::kIdYes;

const std::string kActivate = "ActivatePreviousInstance(Quillmoss v2.80)";
const std::string kAddIcon = "AddTrayIcon(Quillmoss)";
const std::string kDeleteIcon = "DeleteTrayIcon";

class WindowLifeTest : public MainWindowTest {
  protected:
    WindowLifeTest() {
        window_.SetScheduleArming([this](const std::string& text) { armed_.push_back(text); });
    }
    // The session calls made since the last look.
    Calls NewCalls() {
        const auto& all = machine_.session_calls();
        Calls fresh(all.begin() + static_cast<std::ptrdiff_t>(seen_), all.end());
        seen_ = all.size();
        return fresh;
    }
    std::vector<std::string> armed_;
    std::size_t seen_ = 0;
};

TEST_F(WindowLifeTest, FirstStartRunsInOrderAndLeavesOnlyTheVersionSeed) {
    settings_.Save("schedclean", "2 Hours");  // no memory yet: the schedule stays off
    window_.frmone(app::kQandATab).BringToFront();
    Calls at_upgrade;
    window_.SetUpgradeCompletion([&] {
        at_upgrade = machine_.session_calls();
        EXPECT_EQ(window_.List1().lines(), StatusLines());
        EXPECT_EQ(Setting("ver"), "<absent>");
    });
    window_.TaskbarCreated();  // no icon before start-up
    EXPECT_TRUE(window_.Form_Load());
    EXPECT_EQ(at_upgrade, (Calls{kActivate, "DisableClose", "CentreMainWindow"}));
    EXPECT_EQ(NewCalls(), (Calls{kActivate, "DisableClose", "CentreMainWindow", kAddIcon}));
    EXPECT_EQ(window_.FrontTopPanel(), app::kMainTab);
    EXPECT_EQ(Setting("ver") + Setting("remember"), "5<absent>");
    EXPECT_TRUE(armed_.empty());
    EXPECT_TRUE(reports_.empty());
    // The icon comes back after a taskbar restart until the window ends.
    window_.TaskbarCreated();
    window_.Form_Terminate();
    window_.TaskbarCreated();
    EXPECT_EQ(NewCalls(), (Calls{kAddIcon, kDeleteIcon}));
}

TEST_F(WindowLifeTest, RememberedStartRearmsOnlyARealSchedule) {
    settings_.Save("remember", "aa");
    const std::pair<const char*, Calls> cases[] = {
        {"2 Hours", {"2 Hours"}}, {"d", {}}, {"Daily", {}}, {"", {}}};
    for (const auto& [schedule, expected] : cases) {
        settings_.Save("schedclean", schedule);
        armed_.clear();
        window_.Form_Load();
        EXPECT_EQ(armed_, expected) << schedule;
    }
    EXPECT_EQ(window_.Check1().value(), 1);
}

TEST_F(WindowLifeTest, AnotherCopyRunningEndsThisOneUntouched) {
    machine_.SetPreviousInstance(true);
    EXPECT_FALSE(window_.Form_Load());
    EXPECT_EQ(NewCalls(), (Calls{kActivate, "EndProcess"}));
    EXPECT_EQ(Setting("ver") + Setting("remember"), "<absent><absent>");
    EXPECT_EQ(window_.List1().count(), 0u);
}

TEST_F(WindowLifeTest, AnUpgradeHandingOverWaitsForTheOtherCopyInsteadOfGoingBackToIt) {
    int upgrades = 0;
    window_.SetUpgradeCompletion([&] { ++upgrades; });
    machine_.SetPreviousInstance(true);
    // The program that started this one ends after 3 s; the last one never does.
    for (const char* up : {"b", "C", "b"}) {
        settings_.Save("Up", up);
        if (upgrades < 2) machine_.At(3000, [&] { machine_.SetPreviousInstance(false); });
        const std::uint32_t start = machine_.now();
        EXPECT_TRUE(window_.Form_Load()) << up;
        const std::uint32_t waited = machine_.now() - start;
        EXPECT_TRUE(waited >= 3000 && waited <= 11000) << up << " " << waited;
        const Calls calls = NewCalls();
        EXPECT_EQ(std::count(calls.begin(), calls.end(), kActivate) +
                      std::count(calls.begin(), calls.end(), "EndProcess"),
                  0)
            << up;
        machine_.SetPreviousInstance(true);
    }
    EXPECT_EQ(upgrades, 3);
    settings_.Save("Up", "ab");  // no upgrade under way: back to the running copy as always
    EXPECT_FALSE(window_.Form_Load());
    EXPECT_EQ(NewCalls(), (Calls{kActivate, "EndProcess"}));
}

TEST_F(WindowLifeTest, EveryExitAsksAndOnlyYesLeavesWithoutCleaning) {
    settings_.Save("cleansd", "e");
    for (const char* exit : {"Command4", "mnuExit", "mexit"}) {
        for (const int answer : {kIdNo, kIdYes}) {
            const std::size_t boxes = machine_.boxes().size();
            machine_.AnswerNextBox(answer);
            if (exit[0] == 'C') window_.Command4().Click();
            if (exit[1] == 'n') Choose(exit);
            if (exit[1] == 'e') window_.mexit_Click();  // the icon's menu item
            ASSERT_EQ(machine_.boxes().size(), boxes + 1) << "one question, no clean";
            const sim::ShownBox& box = machine_.boxes().back();
            EXPECT_EQ(box.text + "|" + box.caption + "|" + std::to_string(box.style),
                      "Are you sure you want to exit Quillmoss?|Confirmation|36");
            const Calls out = {kDeleteIcon, kDeleteIcon, "EndProcess"};
            EXPECT_EQ(NewCalls(), answer == kIdNo ? Calls{} : out) << exit;
        }
    }
}

TEST_F(WindowLifeTest, SessionEndCleansFirstOnlyWhenAskedTo) {
    const std::pair<const char*, bool> cases[] = {
        {"e", true}, {"E", true}, {"d", false}, {nullptr, false}};
    for (const auto& [cleansd, cleans] : cases) {
        if (cleansd) settings_.Save("cleansd", cleansd);
        for (const int mode : {app::kUnloadSessionEnding, app::kUnloadFromControlMenu}) {
            const std::size_t boxes = machine_.boxes().size();
            machine_.AnswerNextBox(kIdCancel);
            window_.Form_QueryUnload(mode);
            const bool asked = machine_.boxes().size() == boxes + 1 &&
                               machine_.boxes().back().text == clean::kConfirmText;
            EXPECT_EQ(asked, cleans && mode == app::kUnloadSessionEnding) << cleansd << mode;
            EXPECT_EQ(NewCalls(), Calls{kDeleteIcon});
        }
    }
}

TEST_F(WindowLifeTest, SessionEndDuringARunStartsNoSecondOne) {
    settings_.Save("cleansd", "e");
    Tick("chkCookies");
    Tick("chkInternetHistory");
    machine_.At(500, [&] { window_.Form_QueryUnload(app::kUnloadSessionEnding); });
    machine_.AnswerNextBox(kIdOk);
    window_.Command7_Click();
    EXPECT_EQ(machine_.boxes().size(), 1u);
    EXPECT_EQ(NewCalls(), Calls{kDeleteIcon});
}

TEST_F(WindowLifeTest, MinimisingHidesAndTheIconBringsTheWindowBack) {
    for (const int state : {app::kWindowNormal, app::kWindowMinimised, app::kWindowMaximised})
        window_.Form_Resize(state);
    EXPECT_EQ(NewCalls(), Calls{"HideMainWindow"});

    const Calls restore = {"RestoreMainWindow", "BringMainWindowForward"};
    const Calls menu = {"BringMainWindowForward", "TrackTrayMenu(&Restore|E&xit)"};
    const struct {
        std::uint32_t code;
        int menu_choice;
        Calls expected;
    } cases[] = {
        {514, -1, restore}, {515, -1, restore},
        {517, -1, menu},    {517, 0, {menu[0], menu[1], restore[0], restore[1]}},
        {517, 1, menu},  // "E&xit", answered No below
        {512, 0, {}},       {513, 0, {}},
        {516, 0, {}},
    };
    for (const auto& c : cases) {
        machine_.ChooseNextMenuItem(c.menu_choice);
        machine_.AnswerNextBox(kIdNo);
        window_.TrayIcon_Notify(c.code);
        EXPECT_EQ(NewCalls(), c.expected) << c.code << " " << c.menu_choice;
    }
    EXPECT_EQ(machine_.boxes().size(), 1u) << "only the menu's Exit asks";
    window_.mnuRestore_Click();
    EXPECT_EQ(NewCalls(), restore);
}

}  // namespace
}  // namespace qm::testing
