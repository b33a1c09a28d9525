// The own-question confirmation on real windows. It presses a button for the user, so the
// tests check both halves: our own question is answered with its default button, and a
// question of another program, even when it is the active window, is left alone.
//
// Message boxes need a display: these tests run under a virtual one (see CMakeLists.txt) and
// skip themselves where Wine has none to give.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/win32/scoped_handle.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_message_loop.h"

namespace qm::win32 {
namespace {

constexpr wchar_t kHelperCaptionVariable[] = L"QM_DESKTOP_TEST_CAPTION";
constexpr int kTickMs = 50;

HWND MakeWindow(const wchar_t* title, DWORD style) {
    return ::CreateWindowExW(0, L"STATIC", title, style, 0, 0, 200, 100, nullptr, nullptr, nullptr,
                             nullptr);
}

#define QM_REQUIRE_DISPLAY()                                                             \
    if (const HWND probe = MakeWindow(L"", WS_POPUP); !probe || !::DestroyWindow(probe)) \
    GTEST_SKIP() << "no display to show windows on"

// Closes the open box after a while with an answer the code under test never gives, so a
// hang becomes a plain failure.
void CancelOpenBoxAfter(Win32MessageLoop& loop, int ms) {
    loop.StartTimer(2, ms, [] { ::PostMessageW(::GetActiveWindow(), WM_COMMAND, IDCANCEL, 0); });
}

TEST(Win32Desktop, OurOwnQuestionIsAnsweredWithItsDefaultButtonAndNothingElseIs) {
    QM_REQUIRE_DISPLAY();
    Win32Desktop desktop;
    // Enter presses the default button, whichever it is, never simply the first one. A thread
    // timer asks for the box to be confirmed, as the History cleaner's timer does while the
    // shell's question is open.
    for (const auto& [style, expected] :
         {std::pair{MB_OKCANCEL, IDOK}, std::pair{MB_YESNOCANCEL | MB_DEFBUTTON2, IDNO}}) {
        Win32MessageLoop loop;
        bool answered = false;
        loop.StartTimer(1, kTickMs, [&] { answered = desktop.ConfirmOwnQuestion() || answered; });
        CancelOpenBoxAfter(loop, 3000);
        EXPECT_EQ(::MessageBoxW(nullptr, L"Clean now?", L"Quillmoss desktop test", style),
                  expected);
        EXPECT_TRUE(answered);
    }
    // A window of ours that is not a question is not "answered" either.
    const HWND plain = MakeWindow(L"Quillmoss plain window", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ASSERT_NE(plain, nullptr);
    ::SetForegroundWindow(plain);
    EXPECT_FALSE(desktop.ConfirmOwnQuestion());
    EXPECT_TRUE(::IsWindow(plain));
    ::DestroyWindow(plain);
}

// Started as a second process by the test below; not run on its own.
// The window menu loses Close and the separator above it, and keeps every other entry.
TEST(Win32Desktop, TheWindowMenuLosesCloseAndItsSeparatorOnly) {
    QM_REQUIRE_DISPLAY();
    const HWND window = MakeWindow(L"Quillmoss menu test", WS_OVERLAPPEDWINDOW);
    ASSERT_NE(window, nullptr);
    const HMENU menu = ::GetSystemMenu(window, FALSE);
    const int before = ::GetMenuItemCount(menu);
    Win32Desktop desktop;
    // The window's program is named as the browser closing compares it.
    EXPECT_EQ(desktop.WindowProgramName(reinterpret_cast<platform::WindowHandle>(window)),
              "qm_contract_tests.exe");
    desktop.SetMainWindow(window);
    desktop.DisableClose();
    EXPECT_EQ(::GetMenuItemCount(menu), before - 2);
    EXPECT_EQ(::GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND), static_cast<UINT>(-1));
    const int last = ::GetMenuItemCount(menu) - 1;
    EXPECT_FALSE(::GetMenuState(menu, last, MF_BYPOSITION) & MF_SEPARATOR);
    ::DestroyWindow(window);
}

TEST(Win32DesktopHelper, DISABLED_ShowsAQuestionUntilAnswered) {
    wchar_t caption[128] = {};
    if (::GetEnvironmentVariableW(kHelperCaptionVariable, caption, 128) == 0)
        GTEST_SKIP() << "only runs as the helper of another test";
    // Never outlives its parent by long, whatever the parent does.
    Win32MessageLoop loop;
    CancelOpenBoxAfter(loop, 30000);
    std::exit(::MessageBoxW(nullptr, L"Another program's question", caption, MB_OKCANCEL));
}

TEST(Win32Desktop, AnotherProgramsQuestionIsLeftAloneEvenWhenActive) {
    QM_REQUIRE_DISPLAY();
    const std::wstring caption = L"Quillmoss helper " + std::to_wstring(::GetCurrentProcessId());
    ::SetEnvironmentVariableW(kHelperCaptionVariable, caption.c_str());
    std::wstring command(MAX_PATH * 2, L'\0');
    command.resize(::GetModuleFileNameW(nullptr, command.data(), MAX_PATH * 2));
    command =
        L"\"" + command + L"\" --gtest_also_run_disabled_tests --gtest_filter=Win32DesktopHelper.*";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    ASSERT_TRUE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 nullptr, &startup, &started));
    ::SetEnvironmentVariableW(kHelperCaptionVariable, nullptr);
    ScopedFile helper(started.hProcess);
    ScopedFile helper_thread(started.hThread);

    HWND question = nullptr;
    for (int waited = 0; question == nullptr && waited < 20000; waited += kTickMs, ::Sleep(kTickMs))
        question = ::FindWindowW(L"#32770", caption.c_str());
    ASSERT_NE(question, nullptr) << "the helper's question never appeared";
    // Activation reaches another process's window asynchronously, later under load.
    for (int waited = 0; ::GetForegroundWindow() != question && waited < 5000; waited += kTickMs)
        ::SetForegroundWindow(question), ::Sleep(kTickMs);
    EXPECT_EQ(::GetForegroundWindow(), question) << "the test needs the helper's box active";

    Win32MessageLoop loop;
    Win32Desktop desktop;
    for (int tick = 0; tick < 10; ++tick, ::Sleep(kTickMs)) {
        EXPECT_FALSE(desktop.ConfirmOwnQuestion());
        loop.PumpPending();
    }
    // The test closes the helper's box itself, with an answer ConfirmOwnQuestion would not
    // give, and checks that answer is the one that closed it.
    EXPECT_EQ(::WaitForSingleObject(helper.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
    ::PostMessageW(question, WM_COMMAND, IDCANCEL, 0);
    ::WaitForSingleObject(helper.get(), 20000);  // a helper still running fails below
    DWORD exit_code = 0;
    ::GetExitCodeProcess(helper.get(), &exit_code);
    EXPECT_EQ(exit_code, static_cast<DWORD>(IDCANCEL));
}

}  // namespace
}  // namespace qm::win32
