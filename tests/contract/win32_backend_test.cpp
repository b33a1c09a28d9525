// What only the Windows backend has: the \\?\ long-path form (long paths themselves are in the
// file-system contract), the thread timers and the message pump, and the program's own name.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_message_loop.h"
#include "platform/win32/win32_process.h"

namespace qm::win32 {
namespace {

TEST(Win32Paths, DrivePathsGetTheLongFormAndOthersOnlyTheirSlashesTurned) {
    EXPECT_EQ(ToWidePath("C:/Temp/a.txt"), L"\\\\?\\C:\\Temp\\a.txt");
    EXPECT_EQ(ToWidePath("c:\\Temp\\sub\\..\\a.txt"), L"\\\\?\\c:\\Temp\\a.txt");
    EXPECT_EQ(ToWidePath("C:\\Temp\\*.*"), L"\\\\?\\C:\\Temp\\*.*");
    EXPECT_EQ(ToWidePath("relative/name.txt"), L"relative\\name.txt");
    EXPECT_EQ(ToWidePath("\\\\?\\C:\\already"), L"\\\\?\\C:\\already");
    EXPECT_EQ(ToUtf8(ToWide("Stra\xC3\x9F \xE2\x82\xAC")), "Stra\xC3\x9F \xE2\x82\xAC");
}

// Pumps until the condition holds; the timers below are short, so this ends soon.
template <class Condition>
void PumpUntil(Win32MessageLoop& loop, Condition done) {
    const DWORD give_up = ::GetTickCount() + 5000;
    while (!done() && static_cast<LONG>(give_up - ::GetTickCount()) > 0) loop.PumpPending();
}

TEST(Win32MessageLoopTimers, TicksArriveThroughThePumpAndATimerMayStopItself) {
    Win32MessageLoop loop;
    int fast_ticks = 0, self_stopping_ticks = 0, replaced_ticks = 0;
    loop.StartTimer(1, 10, [&] { ++fast_ticks; });
    loop.StartTimer(2, 10, [&] {
        ++self_stopping_ticks;
        // Destroys the very callback that is running; the loop must survive it.
        loop.StopTimer(2);
    });
    PumpUntil(loop, [&] { return fast_ticks >= 3; });
    EXPECT_GE(fast_ticks, 3);
    EXPECT_EQ(self_stopping_ticks, 1);

    // Restarting an id replaces its callback.
    loop.StartTimer(1, 10, [&] { ++replaced_ticks; });
    const int fast_before = fast_ticks;
    PumpUntil(loop, [&] { return replaced_ticks >= 2; });
    EXPECT_GE(replaced_ticks, 2);
    EXPECT_EQ(fast_ticks, fast_before);

    loop.StopTimer(1);
    const int stopped_at = replaced_ticks;
    for (int i = 0; i < 5; ++i) loop.PumpPending();
    EXPECT_EQ(replaced_ticks, stopped_at);
}

TEST(Win32MessageLoopTimers, QuitMetWhilePumpingIsLeftForTheMainLoop) {
    Win32MessageLoop loop;
    ::PostQuitMessage(3);
    loop.PumpPending();
    EXPECT_TRUE(loop.quit_seen());
    MSG message{};
    ASSERT_TRUE(::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(message.wParam, 3u);
}

TEST(Win32ProcessName, FolderAndNameSplitAsTheProgramReportsThem) {
    Win32Process process;
    EXPECT_EQ(process.ProgramName(), "qm_contract_tests");
    const std::string folder = process.ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), '\\');

    std::string folder_part, name_part;
    SplitProgramPath("C:\\QUILLMOSS.EXE", folder_part, name_part);
    EXPECT_EQ(folder_part + "|" + name_part, "C:\\|QUILLMOSS");
    SplitProgramPath("C:\\Program Files\\Qm\\tool.exe.bak", folder_part, name_part);
    EXPECT_EQ(folder_part + "|" + name_part, "C:\\Program Files\\Qm|tool.exe.bak");
}

}  // namespace
}  // namespace qm::win32
