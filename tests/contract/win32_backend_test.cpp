// What only the Windows backend has: the \\?\ form (long paths and exact names themselves are
// in the file-system contract), the thread timers and the message pump, and the program's own
// name.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_message_loop.h"
#include "platform/win32/win32_process.h"

namespace qm::win32 {
namespace {

TEST(Win32Paths, DriveAndSharePathsGetTheLongFormWithNamesKeptAndOthersOnlySlashesTurned) {
    EXPECT_EQ(ToWidePath("C:/Temp//./a.txt"), L"\\\\?\\C:\\Temp\\a.txt");
    EXPECT_EQ(ToWidePath("C:\\Temp\\trail. \\sp .\\"), L"\\\\?\\C:\\Temp\\trail. \\sp .\\");
    EXPECT_EQ(ToWidePath("//server/share/a/../../b."), L"\\\\?\\UNC\\server\\share\\b.");
    EXPECT_EQ(ToWidePath("c:\\Temp\\sub\\..\\a.txt"), L"\\\\?\\c:\\Temp\\a.txt");
    EXPECT_EQ(ToWidePath("C:\\Temp\\*.*"), L"\\\\?\\C:\\Temp\\*.*");
    // Paths in one folder after another: each must come out as if converted on its own.
    for (const char* name : {"a.txt", "b.txt"})
        EXPECT_EQ(ToWidePath(std::string("C:\\Temp\\") + name),
                  L"\\\\?\\C:\\Temp\\" + ToWide(name));
    EXPECT_EQ(ToWidePath("C:\\Temp\\sub\\.."), L"\\\\?\\C:\\Temp");
    EXPECT_EQ(ToWidePath("C:\\Temp\\\\x"), L"\\\\?\\C:\\Temp\\x");
    EXPECT_EQ(ToWidePath("C:\\b.txt"), L"\\\\?\\C:\\b.txt");
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

TEST(Win32MessageLoop, TimersTickThroughThePumpAndAQuitIsLeftForTheMainLoop) {
    Win32MessageLoop loop;
    int fast = 0, self_stopping = 0, replaced = 0;
    loop.StartTimer(1, 10, [&] { ++fast; });
    // Destroys the very callback that is running; the loop must survive it.
    loop.StartTimer(2, 10, [&] { ++self_stopping, loop.StopTimer(2); });
    PumpUntil(loop, [&] { return fast >= 3; });
    EXPECT_GE(fast, 3);
    EXPECT_EQ(self_stopping, 1);
    // Restarting an id replaces its callback, and stopping it ends the ticks.
    loop.StartTimer(1, 10, [&] { ++replaced; });
    const int fast_before = fast;
    PumpUntil(loop, [&] { return replaced >= 2; });
    EXPECT_GE(replaced, 2);
    EXPECT_EQ(fast, fast_before);
    loop.StopTimer(1);
    const int stopped_at = replaced;
    for (int i = 0; i < 5; ++i) loop.PumpPending();
    EXPECT_EQ(replaced, stopped_at);

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

// The window's run and the command line's are two processes; threads stand in for them, as
// the session's mutex belongs to the thread that holds it.
TEST(Win32CleanRun, OneCopyAtATimeHoldsTheSessionsCleanRun) {
    Win32Process mine, other;
    bool other_began = true;
    const auto try_other = [&] {
        std::thread([&] {
            other_began = other.BeginCleanRun();
            other.EndCleanRun();
        }).join();
    };
    ASSERT_TRUE(mine.BeginCleanRun());
    try_other();
    EXPECT_FALSE(other_began);
    mine.EndCleanRun();
    try_other();
    EXPECT_TRUE(other_began);
}

}  // namespace
}  // namespace qm::win32
