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

TEST(CommandLineE2E, ListPreviewCleanAndBadInputByExitCodesAndLogs) {
    ASSERT_TRUE(std::getenv("QM_E2E_EXE"));
    const ProfileFolders folders = ProfileFolders::Current();
    const std::wstring logs = folders.app_data + L"\\qm-cli-\u00fc";
    ASSERT_TRUE(PlantFolder(logs));
    const std::wstring log = logs + L"\\journal \u00fc.log";
    const std::wstring quoted_log = L" /log \"" + log + L"\"";

    EXPECT_EQ(RunQuillmoss(L"-LIST" + quoted_log), 0);
    const std::string listed = ReadWholeFile(log);
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
    const std::string previewed = ReadWholeFile(log);
    EXPECT_NE(previewed.find(expected), std::string::npos) << previewed;
    EXPECT_TRUE(FileExists(a) && FileExists(b) && FileExists(cookie));

    EXPECT_EQ(RunQuillmoss(L"/clean temp /bogus"), 2);
    EXPECT_EQ(RunQuillmoss(L"/clean tmep"), 2);
    EXPECT_EQ(RunQuillmoss(L"/clean temp /log \"" + logs + L"\\missing\\x.log\""), 2);
    EXPECT_TRUE(FileExists(a));

    EXPECT_EQ(RunQuillmoss(L"/CLEAN cookies temp" + quoted_log), 0);
    EXPECT_FALSE(FileExists(a) || FileExists(b) || FileExists(cookie));
    // What the preview listed is what the clean reports gone, between the same progress lines.
    EXPECT_EQ(ReadWholeFile(log),
              "Cleaning Internet Cookies...\r\n  file      " + Narrow(cookie) +
                  " (6 bytes)\r\n  = 1 entries, 1 files, 6 bytes\r\nInternet Cookies Cleaned.\r\n"
                  "Cleaning temporary files...\r\n  file      " +
                  Narrow(a) + " (5 bytes)\r\n  file      " + Narrow(b) +
                  " (2 bytes)\r\n  folder    " + temp + "\\sub\r\n  folder    " + temp +
                  "\r\n  = 4 entries, 2 files, 7 bytes\r\nTemporary files Cleaned.\r\n"
                  "Total: 5 entries, 3 files, 13 bytes in 2 items.\r\n"
                  "All selected items has been cleaned.\r\n");
}

}  // namespace
}  // namespace qm::e2e
