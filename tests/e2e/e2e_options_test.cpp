// The advanced options dialog in the real program: opened from its menu command, driven
// through its controls, its settings read back from the prefix's registry, and shown again as
// stored at the next start.
#include <gtest/gtest.h>
#include <shlwapi.h>

#include <cstdlib>
#include <optional>

#include "../../src/gui/control_ids.h"
#include "profile_traces.h"
#include "registry_probe.h"
#include "window_driver.h"

namespace qm::e2e {
namespace {

using namespace std::chrono_literals;

const wchar_t kQm[] = L"Software\\Microsoft\\Qmoss";
const wchar_t kRun[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t kIeMain[] = L"Software\\Microsoft\\Internet Explorer\\Main";

std::wstring Text(HWND window) {
    wchar_t text[512] = {};
    SendMessageW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
    return text;
}

std::wstring Setting(HKEY root, const wchar_t* key, const wchar_t* name) {
    const auto value = ReadValue(root, key, name);
    return value ? value->text() : L"<absent>";
}

HWND OpenOptions(HWND main) {
    PostMessageW(main, WM_COMMAND, gui::kMnuAs, 0);
    HWND dialog = nullptr;
    WaitUntil([&] { return (dialog = FindControl(nullptr, L"", L"Advanced Options")) != nullptr; },
              10s);
    return dialog;
}

bool Press(HWND dialog, const wchar_t* caption, const wchar_t* then_caption) {
    return Click(FindControl(dialog, L"Button", caption)) &&
           WaitUntil([&] { return FindControl(dialog, L"Button", then_caption) != nullptr; }, 5s);
}

// A schedule, a session-end clean or a start at log-on would reach the other tests, so they go
// however the test ends; the home page is put back as it was.
struct CleanSettings {
    std::optional<RawValue> start_page = ReadValue(HKEY_CURRENT_USER, kIeMain, L"Start Page");
    CleanSettings() { Clean(); }
    ~CleanSettings() {
        Clean();
        if (start_page) SetText(HKEY_CURRENT_USER, kIeMain, L"Start Page", start_page->text());
        if (!start_page) SHDeleteValueW(HKEY_CURRENT_USER, kIeMain, L"Start Page");
    }
    static void Clean() {
        DeleteTree(HKEY_LOCAL_MACHINE, kQm);
        SHDeleteValueW(HKEY_LOCAL_MACHINE, kRun, L"QMS");
        SHDeleteValueW(HKEY_CURRENT_USER, kRun, L"QMS");
    }
};

TEST(OptionsE2E, TogglesIntervalAndHomePageAreStoredAndShownAgainAtTheNextStart) {
    const std::wstring exe = Widen(std::getenv("QM_E2E_EXE"));
    const CleanSettings clean;
    {
        AppProcess app(exe, L"Quillmoss v2.80");
        HWND dialog = OpenOptions(app.window());
        ASSERT_TRUE(dialog);
        GUITHREADINFO thread{};
        thread.cbSize = sizeof thread;
        const auto focus = [&] {
            const bool known = GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &thread);
            return known ? Text(thread.hwndFocus) : L"";
        };
        PostMessageW(dialog, WM_KEYDOWN, VK_TAB, 1);  // from the interval box, down the dialog
        EXPECT_TRUE(WaitUntil(
            [&] { return focus() == L"Close all browser windows before cleaning."; }, 5s));
        HWND combo = FindControl(dialog, L"ComboBox", L""), typed = GetWindow(combo, GW_CHILD);
        SendMessageW(typed, WM_CHAR, 'x', 1);  // in before the key-up, which the loop must see
        EXPECT_EQ(Text(combo), L"x");
        PostMessageW(typed, WM_KEYUP, 'X', 0xC0000001);
        EXPECT_TRUE(WaitUntil([&] { return Text(combo).empty(); }, 5s)) << "typed text stays";
        SendMessageW(combo, CB_SETCURSEL, 5, 0);
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(combo));
        ASSERT_TRUE(
            Click(FindControl(dialog, L"Button", L"Close all browser windows before cleaning.")));
        ASSERT_TRUE(Press(dialog, L"Scheduled Cleaning Disable", L"Scheduled Cleaning Enable"));
        ASSERT_TRUE(Press(dialog, L"Clean At Shut Down Disable", L"Clean At Shut Down Enable"));
        ASSERT_TRUE(Press(dialog, L"Run At Start Disable", L"Run At Start Enable"));
        HWND address = FindWindowExW(dialog, nullptr, L"Edit", nullptr), box = nullptr;
        ASSERT_TRUE(Click(FindControl(dialog, L"Button", L"Set")));  // no address yet: a question
        ASSERT_TRUE(
            WaitUntil([&] { return !!(box = FindControl(nullptr, L"#32770", L"Quillmoss")); }, 5s));
        EXPECT_EQ(GetWindow(box, GW_OWNER), dialog) << "the dialog's own question holds it";
        AnswerMessageBox({box, {}, {}}, IDOK);
        SendMessageW(address, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"  http://home.test/ "));
        ASSERT_TRUE(Click(FindControl(dialog, L"Button", L"Set")));
        const auto page = [] { return Setting(HKEY_CURRENT_USER, kIeMain, L"Start Page"); };
        EXPECT_TRUE(WaitUntil([&] { return page() == L"http://home.test/"; }, 5s));
        EXPECT_EQ(Setting(HKEY_LOCAL_MACHINE, kQm, L"schedclean"), L"3 Hours");
        EXPECT_EQ(Setting(HKEY_LOCAL_MACHINE, kQm, L"closebrow"), L"e");
        EXPECT_EQ(Setting(HKEY_LOCAL_MACHINE, kQm, L"cleansd"), L"e");
        const std::wstring run = Setting(HKEY_LOCAL_MACHINE, kRun, L"QMS");
        EXPECT_EQ(_wcsicmp(run.c_str(), (L"\"" + exe + L"\"").c_str()), 0) << Narrow(run);
        PostMessageW(address, WM_KEYDOWN, VK_ESCAPE, 1);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 5s)) << "Esc closes";
    }
    AppProcess app(exe, L"Quillmoss v2.80");
    HWND dialog = OpenOptions(app.window());
    ASSERT_TRUE(dialog);
    for (const wchar_t* shown :
         {L"Scheduled Cleaning Enable", L"Clean At Shut Down Enable", L"Run At Start Enable"})
        EXPECT_TRUE(FindControl(dialog, L"Button", shown)) << Narrow(shown);
    EXPECT_EQ(Text(FindControl(dialog, L"ComboBox", L"")), L"3 Hours");
    EXPECT_TRUE(
        IsChecked(FindControl(dialog, L"Button", L"Close all browser windows before cleaning.")));
    ASSERT_TRUE(Press(dialog, L"Run At Start Enable", L"Run At Start Disable"));
    EXPECT_EQ(Setting(HKEY_LOCAL_MACHINE, kRun, L"QMS"), L"<absent>");
    PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 5s)) << "the close box closes";
}

// The Windows folder is refused with the reason, and nothing is stored; a folder of no
// consequence takes the first slot.
TEST(OptionsE2E, OwnPlacesRefuseTheWindowsFolderAndStoreAHarmlessOne) {
    const CleanSettings clean;
    const std::wstring harmless = L"C:\\qm-e2e-own-place";
    CreateDirectoryW(harmless.c_str(), nullptr);
    AppProcess app(Widen(std::getenv("QM_E2E_EXE")), L"Quillmoss v2.80");
    HWND dialog = OpenOptions(app.window());
    ASSERT_TRUE(dialog);
    HWND path = GetWindow(FindControl(dialog, L"Static", L"Path"), GW_HWNDNEXT);
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    SendMessageW(path, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(windows));
    ASSERT_TRUE(Click(FindControl(dialog, L"Button", L"Add Folder")));
    HWND box = nullptr;  // the dialog itself is a #32770 too: the box is found by its title
    ASSERT_TRUE(
        WaitUntil([&] { return !!(box = FindControl(nullptr, L"#32770", L"Quillmoss")); }, 5s));
    const std::wstring said = Text(GetDlgItem(box, 0xFFFF));
    EXPECT_EQ(said.rfind(L"Refused:", 0), 0u) << Narrow(said);
    AnswerMessageBox({box, {}, {}}, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 5s));
    const auto place = [] { return Setting(HKEY_LOCAL_MACHINE, kQm, L"custom1place"); };
    EXPECT_EQ(place(), L"<absent>");

    SendMessageW(path, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(harmless.c_str()));
    ASSERT_TRUE(Click(FindControl(dialog, L"Button", L"Add Folder")));
    EXPECT_TRUE(WaitUntil([&] { return place() == L"folder|" + harmless + L"|*.*|0"; }, 5s))
        << Narrow(place());
    EXPECT_EQ(Setting(HKEY_LOCAL_MACHINE, kQm, L"custom1"), L"uu");
    EXPECT_EQ(ListLines(FindControl(dialog, L"ListBox", L"Places")),
              std::vector<std::wstring>{harmless + L"\\*.*"});
    PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 5s));
    RemoveDirectoryW(harmless.c_str());
}

}  // namespace
}  // namespace qm::e2e
