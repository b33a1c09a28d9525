// The real program under Wine, driven through its controls as a user (or a screen reader)
// would. The rules of the clean run are the unit tests'; this is what only the real window
// shows: the tabs bring their panels forward, a click ticks a box, the confirmation is a real
// message box, List1 shows the progress, the settings reach the real registry as the program
// stores them, and the System Info labels show the machine.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "../../src/gui/control_ids.h"
#include "registry_probe.h"
#include "window_driver.h"

namespace qm::e2e {
namespace {

using namespace std::chrono_literals;

const wchar_t kSettingsPath[] = L"Software\\Microsoft\\Qmoss";

const wchar_t kToolbarButtonKey[] =
    L"Software\\Microsoft\\Internet Explorer\\Extensions\\"
    L"{ECC5778A-6E88-BFCE-13CE-81F134789E7B}";

TEST(CleanRunE2E, TickCleanConfirmThenReadBackProgressSettingsAndSystemInfo) {
    const char* exe = std::getenv("QM_E2E_EXE");
    const char* screenshot = std::getenv("QM_E2E_SCREENSHOT");
    ASSERT_TRUE(exe) << "QM_E2E_EXE must name Quillmoss.exe";
    DeleteTree(HKEY_LOCAL_MACHINE, kSettingsPath);
    AppProcess app(Widen(exe), L"Quillmoss v2.80");
    HWND main = app.window();
    HWND tabs = FindControlById(main, gui::kTabStrip1);
    HWND list = FindControlById(main, gui::kList1);
    ASSERT_TRUE(tabs && list);
    // Only the panel in front is made at start-up; the others are made when they first show.
    EXPECT_FALSE(FindControlById(main, gui::kTabStrip2));
    // Under Wine another process cannot read a menu's items, so the menu bar is checked by the
    // commands it sends: "&Add To IE" and "&Delete From IE" as chosen from it.
    ASSERT_TRUE(GetMenu(main));
    auto button = [] { return ReadValue(HKEY_LOCAL_MACHINE, kToolbarButtonKey, L"ButtonText"); };
    PostMessageW(main, WM_COMMAND, gui::kMnuAddIE, 0);
    EXPECT_TRUE(WaitUntil([&] { return button() && button()->text() == L"Quillmoss"; }, 5s));
    PostMessageW(main, WM_COMMAND, gui::kMnuDeleteIE, 0);
    EXPECT_TRUE(WaitUntil([&] { return !button(); }, 5s));

    SelectTab(tabs, 1);
    HWND items = FindControlById(main, gui::kTabStrip2);
    HWND history = FindControl(main, L"Button", L"IE History");
    HWND clean = FindControl(main, L"Button", L"Clean All Selected Items");
    ASSERT_TRUE(items && history && clean);
    ASSERT_TRUE(WaitUntil([&] { return IsShown(history); }, 5s)) << "the IE panel comes first";
    ASSERT_TRUE(Click(history));
    SelectTab(items, 1);  // "Clean Common Folders"
    HWND recycle = FindControl(main, L"Button", L"Recycle Bin");
    ASSERT_TRUE(WaitUntil([&] { return IsShown(recycle) && !IsShown(history); }, 5s));
    ASSERT_TRUE(Click(recycle));
    ASSERT_TRUE(WaitUntil([&] { return IsChecked(history) && IsChecked(recycle); }, 5s));
    Sleep(500);  // let the tick be painted before the picture is taken
    if (screenshot) SaveScreenshot(main, Widen(screenshot));

    ASSERT_TRUE(Click(clean));
    const auto box = WaitForMessageBox(app.pid(), 10s);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text + L"|" + box->caption, L"Do you want to clean selected items|Quillmoss");
    AnswerMessageBox(*box, IDOK);
    const std::wstring kFinal = L"All selected items has been cleaned.";
    ASSERT_TRUE(WaitUntil(
        [&] {
            const auto lines = ListLines(list);
            return !lines.empty() && lines.back() == kFinal;
        },
        60s));
    // The Main panel came forward with the status lines (the test prefix reports XP) and the
    // progress of the two items.
    EXPECT_EQ(SelectedTab(tabs), 0);
    EXPECT_TRUE(IsShown(list));
    std::vector<std::wstring> lines = ListLines(list);
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[0].rfind(L"Your Computer has been running for...", 0), 0u);
    EXPECT_EQ(lines[2].rfind(L"IE version ", 0), 0u);
    lines[0] = lines[2] = L"";
    EXPECT_EQ(lines, (std::vector<std::wstring>{
                         L"", L"OS Microsoft Windows XP", L"", L"Quillmoss is ready...", L"",
                         L"Cleaning Intenet History...", L"Internet History Cleaned.", L"",
                         L"Cleaning Recycle Bin...", L"Recycle Bin Cleaned.", L"", kFinal}));
    // Ticked and unticked items' values, stored as the program has always stored texts.
    for (const auto& [name, text] : {std::pair{L"ihistory", L"tt"}, std::pair{L"recycle", L"tt"},
                                     std::pair{L"temp", L"uu"}, std::pair{L"nettypeurl", L"uu"}}) {
        const auto value = ReadValue(HKEY_LOCAL_MACHINE, kSettingsPath, name);
        ASSERT_TRUE(value) << Narrow(name);
        EXPECT_EQ(value->type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(value->bytes.size(), 4u) << "stored without a terminating NUL";
        EXPECT_EQ(value->text(), text);
    }

    SelectTab(tabs, 3);
    ASSERT_TRUE(WaitUntil([&] { return !IsShown(list); }, 5s));
    EXPECT_TRUE(IsShown(FindControl(main, L"Static", L"WindowsXP")));
    EXPECT_TRUE(IsShown(FindControl(main, L"Static", L"5.1.2600")));
}

}  // namespace
}  // namespace qm::e2e
