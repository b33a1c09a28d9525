// The item boxes around a clean run, in the real window: each item panel's hint label and its
// "Select All" / "Deselect All", the toolbar button, a picture of each top panel for the
// README, the links reaching the shell, and the memory of the last confirmed run's ticks
// across two starts.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "../../src/gui/control_ids.h"
#include "profile_traces.h"
#include "registry_probe.h"
#include "window_driver.h"

namespace qm::e2e {
namespace {

using namespace std::chrono_literals;

// The program's settings key.
const wchar_t kQm[] = L"Software\\Microsoft\\Qmoss";
const wchar_t kButtonKey[] =
    L"Software\\Microsoft\\Internet Explorer\\Extensions\\{ECC5778A-6E88-BFCE-13CE-81F134789E7B}";

// A stand-in web browser: the prefix's command for https addresses writes what it is given here.
const wchar_t kBrowserNote[] = L"C:\\qm-browser.txt";
const wchar_t kHttpCommand[] = L"Software\\Classes\\https\\shell\\open\\command";

std::string OpenedAddress() {
    std::ifstream note(kBrowserNote);
    std::string address;
    std::getline(note, address);
    return address.substr(0, address.find('\r'));
}

TEST(SelectionE2E, HintsSelectAllToolbarButtonPanelsThenTheRememberedTicksAtTheNextStart) {
    DeleteTree(HKEY_LOCAL_MACHINE, kQm);
    const std::set<std::wstring> kTicked = {L"Cookies", L"Index.dat ( requires reboot )",
                                            L"Remember Last Checked Items"};
    {
        AppProcess app(Widen(std::getenv("QM_E2E_EXE")), L"Quillmoss v2.80");
        HWND main = app.window(), tabs = FindControlById(main, gui::kTabStrip1);
        const auto shot = [&](const wchar_t* name) {
            // A path prefix to which the panel's name is added; the pause lets the panel paint.
            if (const char* shots = std::getenv("QM_E2E_SHOTS"))
                Sleep(700), SaveScreenshot(main, Widen(shots) + name + L".bmp");
        };
        shot(L"main");
        const auto button = [](const wchar_t* name) {
            return ReadValue(HKEY_LOCAL_MACHINE, kButtonKey, name).value_or(RawValue{}).type;
        };
        ASSERT_TRUE(Click(FindControl(main, L"Button", L"Add to Internet Explorer")));
        for (const wchar_t* name : {L"ButtonText", L"CLSID", L"Default Visible", L"Exec",
                                    L"HotIcon", L"Icon", L"MenuStatusBar", L"MenuText"})
            EXPECT_TRUE(WaitUntil([&] { return button(name) == REG_SZ; }, 5s)) << Narrow(name);
        ASSERT_TRUE(Click(FindControl(main, L"Button", L"Delete from Internet Explorer")));
        EXPECT_TRUE(WaitUntil([&] { return button(L"ButtonText") == 0; }, 5s));
        HKEY gone = nullptr;  // the key itself, not only its values
        EXPECT_NE(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kButtonKey, 0, KEY_READ, &gone), ERROR_SUCCESS);
        SelectTab(tabs, 2), shot(L"qanda");
        {  // a link label and a help menu item reach the shell with their addresses
            const auto browser = ReadValue(HKEY_LOCAL_MACHINE, kHttpCommand, L"");
            SetText(HKEY_LOCAL_MACHINE, kHttpCommand, L"",
                    std::wstring(L"C:\\windows\\system32\\cmd.exe /c echo %1>") + kBrowserNote);
            ASSERT_TRUE(Click(FindControl(main, L"Static", L"Upgrade Questions")));
            EXPECT_TRUE(WaitUntil(
                [&] { return OpenedAddress() == "https://www.quillmoss.com/qa.html"; }, 10s));
            DeleteFileW(kBrowserNote);
            PostMessageW(main, WM_COMMAND, gui::kMnuHP, 0);
            EXPECT_TRUE(WaitUntil(
                [&] { return OpenedAddress() == "https://www.quillmoss.com/help/"; }, 10s));
            DeleteFileW(kBrowserNote);
            if (browser) SetText(HKEY_LOCAL_MACHINE, kHttpCommand, L"", browser->text());
        }
        // A panel's hint is that of its last box with one ("Outlook deleted items" has none).
        const std::wstring kHints[] = {
            L"Clean Index.dat file ( requires reboot )", L"Clean Find Files History...",
            L"Clean MS Office history list...", L"Clean Opera Typed URLs...",
            L"Clean Netscape Type URLs..."};
        const std::size_t kBoxes[] = {7, 5, 6, 3, 3};
        const auto hint = [&](int tab) { return FindControl(main, L"Static", kHints[tab]); };
        for (int tab = 4; tab >= 0; --tab) {  // ending on the first, for the picture
            SelectTab(tabs, 1), SelectTab(FindControlById(main, gui::kTabStrip2), tab);
            ASSERT_TRUE(Click(FindControl(main, L"Button", L"Select All")));
            EXPECT_TRUE(WaitUntil([&] { return IsShown(hint(tab)); }, 5s));
            EXPECT_TRUE(WaitUntil([&] { return CheckedBoxes(main).size() == kBoxes[tab]; }, 5s));
            if (tab == 0) shot(L"privacy");
            ASSERT_TRUE(Click(FindControl(main, L"Button", L"Deselect All")));
            EXPECT_TRUE(WaitUntil([&] { return CheckedBoxes(main).empty(); }, 5s));
            EXPECT_FALSE(hint(tab)) << "the hint stays after Deselect All";
        }
        for (auto& caption : kTicked) ASSERT_TRUE(Click(FindControl(main, L"Button", caption)));
        ASSERT_TRUE(WaitUntil([&] { return CheckedBoxes(main) == kTicked; }, 5s));
        ASSERT_TRUE(Click(FindControl(main, L"Button", L"Clean All Selected Items")));
        AnswerMessageBox(WaitForMessageBox(app.pid(), 10s).value(), IDOK);
        ASSERT_TRUE(WaitUntil([] { return !!ReadValue(HKEY_LOCAL_MACHINE, kQm, L"index"); }, 60s));
    }  // ended as a log-off would end it; closing writes no settings anyway
    AppProcess app(Widen(std::getenv("QM_E2E_EXE")), L"Quillmoss v2.80");
    // Form_Load reads "ver" before it restores, and runs before the window shows.
    if (!ReadValue(HKEY_LOCAL_MACHINE, kQm, L"ver")) GTEST_SKIP() << "Form_Load is not run yet";
    SelectTab(FindControlById(app.window(), gui::kTabStrip1), 1);
    EXPECT_TRUE(WaitUntil([&] { return CheckedBoxes(app.window()) == kTicked; }, 5s));
    // Cookies comes before Index.dat on the panel but after it in the restore.
    EXPECT_TRUE(FindControl(app.window(), L"Static", L"Clean Cookies..."));
    DeleteTree(HKEY_LOCAL_MACHINE, kQm);  // the memory must not tick boxes in the other tests
}

}  // namespace
}  // namespace qm::e2e
