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
// Ticks after which a test gives up on the code under test and closes the box itself, with
// an answer the code under test would never give, so a hang becomes a plain failure.
constexpr int kGiveUpTicks = 60;

bool CanShowWindows() {
    const HWND probe = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                         nullptr, nullptr);
    if (probe == nullptr) return false;
    ::DestroyWindow(probe);
    return true;
}

#define QM_REQUIRE_DISPLAY() \
    if (!CanShowWindows()) GTEST_SKIP() << "no display to show windows on"

struct AnsweredBox {
    int result = 0;
    int answers = 0;  // ticks on which ConfirmOwnQuestion said it answered
};

// Shows a box of ours while a thread timer asks for it to be confirmed, as the History
// cleaner's timer does while the shell's question is open.
AnsweredBox ShowAndConfirm(UINT style) {
    Win32MessageLoop loop;
    Win32Desktop desktop;
    AnsweredBox box;
    int ticks = 0;
    loop.StartTimer(1, kTickMs, [&] {
        if (desktop.ConfirmOwnQuestion()) ++box.answers;
        if (++ticks == kGiveUpTicks) {
            const HWND open = ::GetActiveWindow();
            if (open != nullptr) ::PostMessageW(open, WM_COMMAND, IDCANCEL, 0);
        }
    });
    box.result = ::MessageBoxW(nullptr, L"Clean now?", L"Quillmoss desktop test", style);
    loop.StopTimer(1);
    return box;
}

TEST(Win32Desktop, OurOwnQuestionIsAnsweredWithItsDefaultButton) {
    QM_REQUIRE_DISPLAY();
    const AnsweredBox plain = ShowAndConfirm(MB_OKCANCEL);
    EXPECT_EQ(plain.result, IDOK);
    EXPECT_GE(plain.answers, 1);

    // Enter presses the default button, whichever it is, never simply the first one.
    const AnsweredBox second_default = ShowAndConfirm(MB_YESNOCANCEL | MB_DEFBUTTON2);
    EXPECT_EQ(second_default.result, IDNO);
    EXPECT_GE(second_default.answers, 1);
}

TEST(Win32Desktop, NothingIsPressedWithoutAQuestionOfOurs) {
    QM_REQUIRE_DISPLAY();
    Win32Desktop desktop;
    // A window of ours that is not a question is not "answered" either.
    const HWND plain =
        ::CreateWindowExW(0, L"STATIC", L"Quillmoss plain window", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                          0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(plain, nullptr);
    ::SetForegroundWindow(plain);
    ::SetActiveWindow(plain);
    EXPECT_FALSE(desktop.ConfirmOwnQuestion());
    EXPECT_TRUE(::IsWindow(plain));
    ::DestroyWindow(plain);
    EXPECT_FALSE(desktop.ConfirmOwnQuestion());
}

// Started as a second process by the test below; not run on its own.
TEST(Win32DesktopHelper, DISABLED_ShowsAQuestionUntilAnswered) {
    wchar_t caption[128] = {};
    if (::GetEnvironmentVariableW(kHelperCaptionVariable, caption, 128) == 0)
        GTEST_SKIP() << "only runs as the helper of another test";
    // Never outlives its parent by long, whatever the parent does.
    Win32MessageLoop loop;
    int ticks = 0;
    loop.StartTimer(1, 500, [&] {
        if (++ticks == 60) ::PostMessageW(::GetActiveWindow(), WM_COMMAND, IDCANCEL, 0);
    });
    const int result = ::MessageBoxW(nullptr, L"Another program's question", caption, MB_OKCANCEL);
    std::exit(result);
}

std::wstring OwnExecutable() {
    wchar_t path[MAX_PATH * 2] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
    return path;
}

TEST(Win32Desktop, AnotherProgramsQuestionIsLeftAloneEvenWhenActive) {
    QM_REQUIRE_DISPLAY();
    const std::wstring caption = L"Quillmoss helper " + std::to_wstring(::GetCurrentProcessId());
    ::SetEnvironmentVariableW(kHelperCaptionVariable, caption.c_str());
    std::wstring command =
        L"\"" + OwnExecutable() +
        L"\" --gtest_also_run_disabled_tests "
        L"--gtest_filter=Win32DesktopHelper.DISABLED_ShowsAQuestionUntilAnswered";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    ASSERT_TRUE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 nullptr, &startup, &started));
    ::SetEnvironmentVariableW(kHelperCaptionVariable, nullptr);
    ScopedFile helper(started.hProcess);
    ScopedFile helper_thread(started.hThread);

    Win32MessageLoop loop;
    HWND question = nullptr;
    for (int waited = 0; question == nullptr && waited < 20000; waited += kTickMs) {
        question = ::FindWindowW(L"#32770", caption.c_str());
        if (question == nullptr) ::Sleep(kTickMs);
    }
    ASSERT_NE(question, nullptr) << "the helper's question never appeared";
    ::SetForegroundWindow(question);
    EXPECT_EQ(::GetForegroundWindow(), question) << "the test needs the helper's box active";

    Win32Desktop desktop;
    for (int tick = 0; tick < 10; ++tick) {
        EXPECT_FALSE(desktop.ConfirmOwnQuestion());
        loop.PumpPending();
        ::Sleep(kTickMs);
    }
    EXPECT_TRUE(::IsWindow(question));
    EXPECT_EQ(::WaitForSingleObject(helper.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));

    // The test closes the helper's box itself, with an answer ConfirmOwnQuestion would not
    // give, and checks that answer is the one that closed it.
    ::PostMessageW(question, WM_COMMAND, IDCANCEL, 0);
    if (::WaitForSingleObject(helper.get(), 20000) != WAIT_OBJECT_0)
        ::TerminateProcess(helper.get(), 99);
    DWORD exit_code = 0;
    ::GetExitCodeProcess(helper.get(), &exit_code);
    EXPECT_EQ(exit_code, static_cast<DWORD>(IDCANCEL));
}

}  // namespace
}  // namespace qm::win32
