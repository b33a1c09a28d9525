// Group Policy in the real program: a machine policy and a user policy planted in the prefix's
// registry beat the user's own settings on the command line, in the window (greyed, with the
// organisation's hint) and when the session ends.
#include <gtest/gtest.h>
#include <shlwapi.h>

#include <cstdlib>

#include "../../src/gui/control_ids.h"
#include "profile_traces.h"
#include "registry_probe.h"
#include "window_driver.h"

namespace qm::e2e {
namespace {

using namespace std::chrono_literals;

const wchar_t kQm[] = L"Software\\Microsoft\\Qmoss";
const wchar_t kPolicies[] = L"Software\\Policies\\Quillmoss";
const wchar_t kCaption[] = L"Quillmoss v2.80";

bool SetNumber(HKEY root, const wchar_t* name, DWORD number) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, kPolicies, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr))
        return false;
    const LONG status = RegSetValueExW(key, name, 0, REG_DWORD,
                                       reinterpret_cast<const BYTE*>(&number), sizeof number);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

// Policies would reach every later test of the prefix, so they go however the test ends.
struct CleanPolicies {
    CleanPolicies() { Clean(); }
    ~CleanPolicies() { Clean(); }
    static void Clean() {
        DeleteTree(HKEY_LOCAL_MACHINE, kPolicies);
        DeleteTree(HKEY_CURRENT_USER, kPolicies);
        DeleteTree(HKEY_LOCAL_MACHINE, kQm);
    }
};

bool Greyed(HWND control) {
    return control && !IsWindowEnabled(control);
}

TEST(PolicyE2E, MachineAndUserPoliciesBeatTheUsersSettingsEverywhere) {
    const std::wstring exe = Widen(std::getenv("QM_E2E_EXE"));
    const CleanPolicies clean;
    const ProfileFolders folders = ProfileFolders::Current();
    // The user's own choice: cookies, no clean at log-off, no closing of browsers.
    for (const auto& [name, text] : {std::pair{L"remember", L"aa"},
                                     {L"cookies", L"tt"},
                                     {L"temp", L"uu"},
                                     {L"cleansd", L"d"},
                                     {L"closebrow", L"d"}})
        ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, kQm, name, text));
    ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, kPolicies, L"Items", L"temp nosuch"));
    ASSERT_TRUE(SetNumber(HKEY_LOCAL_MACHINE, L"CleanAtLogoff", 1));
    ASSERT_TRUE(SetNumber(HKEY_LOCAL_MACHINE, L"CookieKeep", 1));  // the wrong type
    ASSERT_TRUE(SetNumber(HKEY_CURRENT_USER, L"CloseBrowsers", 1));
    ASSERT_TRUE(SetNumber(HKEY_CURRENT_USER, L"UpdateCheck", 0));
    ASSERT_TRUE(SetNumber(HKEY_CURRENT_USER, L"CleanAtLogoff", 0));  // the machine's wins

    const std::wstring trace = folders.temp + L"\\policy.tmp";
    const std::wstring cookie = folders.cookies + L"\\policy@site.txt";
    const std::wstring log = folders.app_data + L"\\qm-policy.log";
    ASSERT_TRUE(PlantFile(trace) && PlantFile(cookie));
    EXPECT_EQ(RunQuillmoss(L"/clean /log \"" + log + L"\""), 0);
    const std::string report = ReadWholeFile(log);
    EXPECT_EQ(report.find("Policy CookieKeep (the machine's) ignored: it is not a text (REG_SZ)."
                          "\r\nPolicy Items: \"nosuch\" names no item and is ignored.\r\n"
                          "Cleaning temporary files..."),
              0u)
        << report;
    EXPECT_FALSE(FileExists(trace));
    EXPECT_TRUE(FileExists(cookie)) << "the user's remembered item is not the policy's";

    ASSERT_TRUE(PlantFile(trace));
    {
        AppProcess app(exe, kCaption);
        HWND main = app.window();
        ASSERT_TRUE(main);
        // Each panel's controls are made when it first shows: the second has the temp item.
        SelectTab(FindControlById(main, gui::kTabStrip1), 1);
        HWND items = nullptr;
        ASSERT_TRUE(
            WaitUntil([&] { return !!(items = FindControlById(main, gui::kTabStrip2)); }, 5s));
        SelectTab(items, 1);
        HWND temp = nullptr;
        ASSERT_TRUE(WaitUntil(
            [&] { return !!(temp = FindControl(main, L"Button", L"Temporary Folder")); }, 5s));
        EXPECT_TRUE(IsChecked(temp) && Greyed(temp));
        EXPECT_TRUE(
            IsShown(FindControl(main, L"Static", L"Your organisation set the greyed items.")));
        SelectTab(items, 0);
        HWND cookies = nullptr;
        ASSERT_TRUE(
            WaitUntil([&] { return !!(cookies = FindControl(main, L"Button", L"Cookies")); }, 5s));
        EXPECT_TRUE(!IsChecked(cookies) && Greyed(cookies))
            << "the user's tick is not the policy's";
        EXPECT_TRUE(Greyed(FindControl(main, L"Button", L"Remember Last Checked Items")));

        PostMessageW(main, WM_COMMAND, gui::kMnuAs, 0);
        HWND dialog = nullptr;
        ASSERT_TRUE(WaitUntil(
            [&] { return (dialog = FindControl(nullptr, L"", L"Advanced Options")) != nullptr; },
            10s));
        HWND close_browsers =
            FindControl(dialog, L"Button", L"Close all browser windows before cleaning.");
        EXPECT_TRUE(IsChecked(close_browsers) && Greyed(close_browsers));
        EXPECT_TRUE(Greyed(FindControl(dialog, L"Button", L"Check for Upgrade")));
        EXPECT_TRUE(Greyed(FindControl(dialog, L"Button", L"Clean At Shut Down Enable")));
        EXPECT_FALSE(Greyed(FindControl(dialog, L"Button", L"Run At Start Disable")));
        EXPECT_TRUE(FindControl(dialog, L"Static", L"Your organisation set the greyed settings."));
        PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 5s));

        // The session ends: the machine's policy cleans first, whatever the user chose.
        AppProcess session_end(L"C:\\windows\\system32\\wineboot.exe", L"", L"--end-session");
        const auto box = WaitForMessageBox(app.pid(), 20s);
        ASSERT_TRUE(box);
        EXPECT_EQ(box->text, L"Do you want to clean selected items");
        AnswerMessageBox(*box, IDOK);
        EXPECT_TRUE(app.Ended(60s));
        EXPECT_TRUE(session_end.Ended(20s));
    }
    EXPECT_FALSE(FileExists(trace));
    EXPECT_TRUE(FileExists(cookie));
}

}  // namespace
}  // namespace qm::e2e
