// Scheduled cleaning and the boss keys on a virtual clock: hours pass in milliseconds.
#include <algorithm>

#include "main_window_fixture.h"

namespace qm::testing {
namespace {

using platform::WindowHandle;
using platform::WindowPlacement;
using Changes = std::vector<std::pair<WindowHandle, WindowPlacement>>;
constexpr std::uint32_t kMinute = 60000;

class BackgroundTest : public MainWindowTest {
  protected:
    // Clean runs asked for within these minutes (answered OK unless scripted otherwise).
    std::size_t RunsWithin(std::uint32_t minutes) {
        const auto runs = [&] {
            return std::ranges::count(machine_.boxes(), clean::kConfirmText, &sim::ShownBox::text);
        };
        const auto before = runs();
        machine_.Idle(minutes * kMinute);
        return static_cast<std::size_t>(runs() - before);
    }
    void Press(int key) {
        machine_.PressKey(key);
        machine_.Idle(500);
    }
};

TEST_F(BackgroundTest, ScheduleCountsItsMinutesAndOnlyTakesTheTenOptions) {
    for (const auto& option : background::kScheduleOptions) {
        EXPECT_EQ(background::MinutesNamedIn(option.text), option.minutes) << option.text;
    }
    settings_.Save("remember", "aa");
    settings_.Save("schedclean", "on");
    window_.Form_Load();
    for (const char* text : {"on", "  ", "", "2 Hours later", "Hours"}) {
        EXPECT_FALSE(window_.schedule().SwitchOn(text)) << text;
    }
    EXPECT_EQ(RunsWithin(1), 0u);
    settings_.Save("schedclean", " 5 hours ");  // start-up arms a stored option
    window_.Form_Load();
    EXPECT_EQ(RunsWithin(299), 0u);
    EXPECT_EQ(RunsWithin(1), 1u);
    // The count survives a switch off and on: 50 of 120 minutes, then half an hour is due.
    ASSERT_TRUE(window_.schedule().SwitchOn("2 Hours"));
    EXPECT_EQ(RunsWithin(50), 0u);
    window_.schedule().SwitchOff();
    EXPECT_EQ(RunsWithin(200), 0u);
    ASSERT_TRUE(window_.schedule().SwitchOn("1/2 Hours"));
    EXPECT_EQ(RunsWithin(1), 1u);
    EXPECT_EQ(RunsWithin(60), 2u);
}

TEST_F(BackgroundTest, BossKeysAndBrowserClosingTouchOnlyTheirWindows) {
    const WindowPlacement normal{0, 1, {-1, -1}, {-1, -1}, {10, 20, 300, 400}};
    WindowPlacement maximised = normal, minimised = normal, hidden = normal;
    maximised.show_command = 3, minimised.show_command = 2, hidden.show_command = 0;
    const WindowHandle a = machine_.AddWindow("IEFrame", normal);
    const WindowHandle b = machine_.AddWindow("IEFrame", maximised);
    const WindowHandle c = machine_.AddWindow("IEFrame", minimised);
    const WindowHandle shut = machine_.AddWindow("IEFrame", normal, false);
    machine_.AddWindow("ieframe", normal);
    const WindowHandle mozilla = machine_.AddWindow("MozillaWindowClass", normal);
    const WindowHandle opera = machine_.AddWindow("BLDOPERA", normal);
    Press(platform::virtual_key::kF10);  // before any F9: only the main window comes
    EXPECT_EQ(machine_.session_calls(),
              (std::vector<std::string>{"RestoreMainWindow", "BringMainWindowForward"}));
    Press(platform::virtual_key::kF9);
    EXPECT_EQ(machine_.session_calls().back(), "HideMainWindow");
    EXPECT_EQ(machine_.TakePlacementChanges(), (Changes{{c, hidden}, {b, hidden}, {a, hidden}}));
    Press(platform::virtual_key::kF10);
    EXPECT_EQ(machine_.TakePlacementChanges(),
              (Changes{{a, normal}, {b, maximised}, {c, minimised}}));
    Press(platform::virtual_key::kF10);
    EXPECT_EQ(machine_.TakePlacementChanges(), Changes{});
    // A second F9 keeps what the first hid. A frame closed while hidden may leave its handle
    // to another program's window.
    Press(platform::virtual_key::kF9);
    Press(platform::virtual_key::kF9);
    machine_.DestroyWindow(a);
    machine_.AddWindow("Notepad", normal, false, a);
    Press(platform::virtual_key::kF10);
    EXPECT_EQ(machine_.TakePlacementChanges(),
              (Changes{{c, hidden}, {b, hidden}, {a, hidden}, {b, maximised}, {c, minimised}}));

    // Browsers close before a scheduled run only when "closebrow" says so, and only once the
    // user has said OK to it.
    window_.schedule().SwitchOn("1/2 Hours");
    EXPECT_EQ(RunsWithin(30), 1u);  // "closebrow" absent
    settings_.Save("closebrow", "d");
    EXPECT_EQ(RunsWithin(30), 1u);
    settings_.Save("closebrow", "E");
    machine_.AnswerNextBox(platform::mb::kIdCancel);
    EXPECT_EQ(RunsWithin(30), 1u);
    EXPECT_TRUE(machine_.close_requests().empty());
    EXPECT_EQ(RunsWithin(30), 1u);
    EXPECT_EQ(machine_.close_requests(), (std::vector{opera, mozilla, shut, c, b}));
}

TEST_F(BackgroundTest, ScheduledCleanWaitsForTheBrowsersItClosedButNotForEver) {
    const std::string cookie = file_tools_.GetCookiesFolder() + "\\tester@site[1].txt";
    settings_.Save("closebrow", "e");
    Tick("chkCookies");
    window_.schedule().SwitchOn("1/2 Hours");
    const WindowPlacement normal{0, 1, {-1, -1}, {-1, -1}, {10, 20, 300, 400}};
    platform::Desktop& desktop = machine_.platform().desktop;
    WindowHandle ie = 0, opera = 0;
    bool cleaned_too_soon = false;
    std::uint32_t cleaned_at = 0, asked_at = 0;
    std::size_t requests = 0;
    std::function<void()> watch = [&] {
        if (!asked_at && machine_.close_requests().size() > requests) asked_at = machine_.now();
        if (!machine_.Exists(cookie) && !cleaned_at) {
            cleaned_at = machine_.now();
            cleaned_too_soon = desktop.WindowClassName(ie) == "IEFrame" ||
                               desktop.WindowClassName(opera) == "BLDOPERA";
        }
        if (!cleaned_at) machine_.At(20, watch);
    };
    // The cookie must outlast every browser asked to close, the slow one included; a browser
    // that never closes holds the run for the bounded wait only.
    for (const std::uint32_t slow_ms : {4000u, 0u}) {
        machine_.AddFile(cookie, "id=1");
        ie = machine_.AddWindow("IEFrame", normal);
        opera = machine_.AddWindow("BLDOPERA", normal);
        machine_.CloseWindowOnRequest(ie, 300);
        if (slow_ms) machine_.CloseWindowOnRequest(opera, slow_ms);
        machine_.Idle(29 * kMinute);
        cleaned_at = asked_at = 0;
        requests = machine_.close_requests().size();
        machine_.At(0, watch);
        EXPECT_EQ(RunsWithin(1), 1u);
        ASSERT_NE(cleaned_at, 0u) << slow_ms;
        EXPECT_EQ(cleaned_too_soon, slow_ms == 0) << slow_ms;
        const std::uint32_t waited = cleaned_at - asked_at;
        EXPECT_TRUE(waited >= (slow_ms ? slow_ms : background::kBrowserCloseWaitMs) &&
                    waited < background::kBrowserCloseWaitMs + 1000)
            << slow_ms << " " << waited;
        machine_.DestroyWindow(opera);
    }
}

// A Chromium-family browser is its own program's windows of the shared class, and the clean
// waits until the browser has let go of its profile, not merely closed its windows.
TEST_F(BackgroundTest, ScheduledCleanClosesChromiumBrowsersAndWaitsForTheirProfile) {
    std::string local;
    machine_.shell().GetFolderPath(platform::csidl::kLocalAppData, local);
    const std::string user_data = local + "\\Google\\Chrome\\User Data";
    const std::string top_sites = user_data + "\\Default\\Top Sites";
    machine_.AddFile(user_data + "\\Default\\Preferences", "{}");
    machine_.AddFile(top_sites, "visited");
    machine_.AddFile(user_data + "\\lockfile");
    machine_.Lock(user_data + "\\lockfile", sim::LockMode::Exclusive);
    settings_.Save("closebrow", "e");
    Tick("chkChromeHist");
    window_.schedule().SwitchOn("1/2 Hours");
    const WindowPlacement normal{0, 1, {-1, -1}, {-1, -1}, {10, 20, 300, 400}};
    const WindowHandle chrome = machine_.AddWindow("Chrome_WidgetWin_1", normal);
    const WindowHandle editor = machine_.AddWindow("Chrome_WidgetWin_1", normal);
    machine_.SetWindowProgram(chrome, "CHROME.EXE");
    machine_.SetWindowProgram(editor, "code.exe");
    machine_.CloseWindowOnRequest(chrome, 300);
    machine_.Idle(29 * kMinute);
    std::uint32_t asked_at = 0, cleaned_at = 0;
    std::function<void()> watch = [&] {
        if (!asked_at && !machine_.close_requests().empty()) {
            asked_at = machine_.now();
            machine_.At(2000, [&] { machine_.Unlock(user_data + "\\lockfile"); });
        }
        if (!machine_.Exists(top_sites) && !cleaned_at) cleaned_at = machine_.now();
        if (!cleaned_at) machine_.At(20, watch);
    };
    machine_.At(0, watch);
    EXPECT_EQ(RunsWithin(1), 1u);
    EXPECT_EQ(machine_.close_requests(), std::vector<WindowHandle>{chrome});
    ASSERT_NE(cleaned_at, 0u);
    EXPECT_GE(cleaned_at - asked_at, 2000u);
    EXPECT_LT(cleaned_at - asked_at, background::kBrowserCloseWaitMs);
}

}  // namespace
}  // namespace qm::testing
