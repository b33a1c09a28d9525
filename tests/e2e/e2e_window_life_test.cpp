// The real window's life under Wine: it cannot be closed, only exited after a Yes; minimised
// it is hidden and comes back through its icon or through a second start, which then ends.
#include <gtest/gtest.h>

#include <cstdlib>

#include "../../src/gui/control_ids.h"
#include "window_driver.h"

namespace qm::e2e {
namespace {

using namespace std::chrono_literals;

const wchar_t kCaption[] = L"Quillmoss v2.80";
const UINT kTrayCallback = WM_APP + 1;

TEST(WindowLifeE2E, NoCloseMinimiseToIconSingleCopyAndConfirmedExit) {
    const char* exe = std::getenv("QM_E2E_EXE");
    ASSERT_TRUE(exe) << "QM_E2E_EXE must name Quillmoss.exe";
    AppProcess app(Widen(exe), kCaption);
    HWND main = app.window();
    auto shown = [&] { return IsWindowVisible(main) && !IsIconic(main); };
    auto hidden_after_minimise = [&] {
        PostMessageW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        return WaitUntil([&] { return !IsWindowVisible(main); }, 5s);
    };

    // Alt+F4 and the close command change nothing. (Under Wine another process cannot read
    // the window menu, so its missing Close entry is not checked here.)
    PostMessageW(main, WM_SYSKEYDOWN, VK_F4, 1 << 29);
    PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(app.Ended(2s));
    EXPECT_TRUE(shown());

    // A second start brings the hidden first copy back and ends without showing itself.
    ASSERT_TRUE(hidden_after_minimise());
    {
        AppProcess second(Widen(exe), L"");
        EXPECT_TRUE(second.Ended(30s));
    }
    EXPECT_TRUE(WaitUntil(shown, 5s));

    // The icon's left click brings the hidden window back.
    ASSERT_TRUE(hidden_after_minimise());
    PostMessageW(main, kTrayCallback, 1, WM_LBUTTONUP);
    EXPECT_TRUE(WaitUntil(shown, 5s));

    // "File" > "Exit" asks; No keeps the program, Yes ends it.
    for (const int answer : {IDNO, IDYES}) {
        PostMessageW(main, WM_COMMAND, gui::kMnuExit, 0);
        const auto box = WaitForMessageBox(app.pid(), 10s);
        ASSERT_TRUE(box);
        EXPECT_EQ(box->text + L"|" + box->caption,
                  L"Are you sure you want to exit Quillmoss?|Confirmation");
        AnswerMessageBox(*box, answer);
        EXPECT_EQ(app.Ended(answer == IDYES ? 10s : 2s), answer == IDYES);
    }
}

// Wine's end of session sends the program the session-end messages and waits for it: with
// "cleansd" holding an e the clean asks its question first; with a d the program just ends.
TEST(WindowLifeE2E, SessionEndCleansFirstOnlyWhenAsked) {
    const char* exe = std::getenv("QM_E2E_EXE");
    ASSERT_TRUE(exe) << "QM_E2E_EXE must name Quillmoss.exe";
    for (const wchar_t* cleansd : {L"e", L"E", L"d", L""}) {  // "": the value is absent
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Qmoss", 0, nullptr, 0,
                                  KEY_SET_VALUE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        if (cleansd[0] != 0) {
            RegSetValueExW(key, L"cleansd", 0, REG_SZ, reinterpret_cast<const BYTE*>(cleansd), 2);
        } else {
            RegDeleteValueW(key, L"cleansd");
        }
        RegCloseKey(key);
        AppProcess app(Widen(exe), kCaption);
        AppProcess session_end(L"C:\\windows\\system32\\wineboot.exe", L"", L"--end-session");
        if (cleansd[0] == L'e' || cleansd[0] == L'E') {
            const auto box = WaitForMessageBox(app.pid(), 20s);
            ASSERT_TRUE(box);
            EXPECT_EQ(box->text, L"Do you want to clean selected items");
            AnswerMessageBox(*box, IDCANCEL);
        }
        EXPECT_TRUE(app.Ended(20s)) << Narrow(cleansd);
        EXPECT_TRUE(session_end.Ended(20s));
    }
}

}  // namespace
}  // namespace qm::e2e
