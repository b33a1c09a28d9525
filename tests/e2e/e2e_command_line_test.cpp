// Quillmoss.exe started with arguments under Wine: no window, a report in the /log file and
// an exit code. The window program's console output is awkward to catch under Wine, so the
// log is what is read back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "profile_traces.h"
#include "window_driver.h"

namespace qm::e2e {
namespace {

// Runs the program to its end; its exit code, or -1 when it did not end within a minute.
int RunQuillmoss(const std::wstring& arguments) {
    std::wstring line = L"\"" + Widen(std::getenv("QM_E2E_EXE")) + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return -1;
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(info.hProcess, 60000) == WAIT_OBJECT_0)
        GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return static_cast<int>(code);
}

std::string ReadAll(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<none>";
    std::string text(1 << 20, '\0');
    DWORD read = 0;
    ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &read, nullptr);
    CloseHandle(file);
    text.resize(read);
    return text;
}

TEST(CommandLineE2E, ListPreviewCleanAndBadInputByExitCodesAndLogs) {
    ASSERT_TRUE(std::getenv("QM_E2E_EXE"));
    const ProfileFolders folders = ProfileFolders::Current();
    const std::wstring logs = folders.app_data + L"\\qm-cli-\u00fc";
    ASSERT_TRUE(PlantFolder(logs));
    const std::wstring log = logs + L"\\journal \u00fc.log";
    const std::wstring quoted_log = L" /log \"" + log + L"\"";

    EXPECT_EQ(RunQuillmoss(L"-LIST" + quoted_log), 0);
    const std::string listed = ReadAll(log);
    EXPECT_NE(listed.find("\r\noperaType   Opera Typed URL                 Opera\r\n"),
              std::string::npos)
        << listed;

    // Whatever earlier tests left goes first, so that the preview lists only what is planted.
    RunQuillmoss(L"/clean temp cookies");
    const std::wstring a = folders.temp + L"\\cli-a.tmp";
    const std::wstring b = folders.temp + L"\\sub\\cli-b.tmp";
    const std::wstring cookie = folders.cookies + L"\\cli@site.txt";
    ASSERT_TRUE(PlantFile(a, "12345") && PlantFile(b, "xy") && PlantFile(cookie, "cookie"));

    EXPECT_EQ(RunQuillmoss(L"/preview temp Cookies temp" + quoted_log), 0);
    const std::string temp = Narrow(folders.temp);
    const std::string expected =
        "\r\n[cookies] Cookies\r\n  file      " + Narrow(cookie) +
        " (6 bytes)\r\n  = 1 entries, 1 files, 6 bytes\r\n\r\n[temp] Temporary Folder\r\n"
        "  file      " +
        Narrow(a) + " (5 bytes)\r\n  file      " + Narrow(b) + " (2 bytes)\r\n  folder    " + temp +
        "\\sub\r\n  folder    " + temp +
        "\r\n  = 4 entries, 2 files, 7 bytes\r\n\r\nTotal: 5 entries, 3 files, 13 bytes in 2 "
        "items.\r\n";
    const std::string previewed = ReadAll(log);
    EXPECT_NE(previewed.find(expected), std::string::npos) << previewed;
    EXPECT_TRUE(FileExists(a) && FileExists(b) && FileExists(cookie));

    EXPECT_EQ(RunQuillmoss(L"/clean temp /bogus"), 2);
    EXPECT_EQ(RunQuillmoss(L"/clean tmep"), 2);
    EXPECT_EQ(RunQuillmoss(L"/clean temp /log \"" + logs + L"\\missing\\x.log\""), 2);
    EXPECT_TRUE(FileExists(a));

    EXPECT_EQ(RunQuillmoss(L"/CLEAN cookies temp" + quoted_log), 0);
    EXPECT_FALSE(FileExists(a) || FileExists(b) || FileExists(cookie));
    EXPECT_EQ(ReadAll(log),
              "Cleaning Internet Cookies...\r\nInternet Cookies Cleaned.\r\n"
              "Cleaning temporary files...\r\nTemporary files Cleaned.\r\n"
              "All selected items has been cleaned.\r\n");
}

}  // namespace
}  // namespace qm::e2e
