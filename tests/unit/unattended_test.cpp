// The command line: its answers to bad input, the unattended clean and its log, the preview,
// and the one clean run a session may have at a time.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "cli/command_line.h"
#include "cli/unattended.h"
#include "main_window_fixture.h"

namespace qm {
namespace {

constexpr auto npos = std::string::npos;
const std::string kTemp = "C:\\Documents and Settings\\Tester\\Local Settings\\Temp";
const std::string kCookies = "C:\\Documents and Settings\\Tester\\Cookies";

class UnattendedTest : public testing::MainWindowTest {
  protected:
    int Run(const std::vector<std::string>& args) {
        return cli_.Run(args, [this](std::string_view report) { report_ = report; });
    }
    void Remember(std::string_view item, std::string_view text) {
        settings_.SaveSettingString(settings::kSettingsRoot, settings::kSettingsPath, item, text);
    }
    cli::Unattended cli_{machine_.platform(), settings_, reporter_};
    std::string report_;
};

TEST_F(UnattendedTest, BadCommandLinesGetOneLineOfReasonAndNothingIsTouched) {
    machine_.AddFile(kTemp + "\\a.tmp", "data");
    const std::string huge(100000, 'x');
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"/clean", "temp", "/bogus"}, "Unknown switch \"/bogus\""},
        {{"/clean", "tmep"}, "Unknown item \"tmep\""},
        {{"-CLEAN", "temp", "/preview"}, "only one of"},
        {{"temp"}, "Say what to do"},
        {{"/list", "temp"}, "/list takes no items"},
        {{"/clean", "temp", "/log"}, "/log needs"},
        {{"/clean", "temp", "/log", "C:\\No such folder\\run.log"}, "cannot write the log file"},
        {{"/clean", huge}, "Unknown item \"xxx"}};
    for (const auto& [args, reason] : cases) {
        EXPECT_EQ(Run(args), cli::kExitUsage) << reason;
        EXPECT_LT(report_.find(reason), report_.find('\n')) << report_.substr(0, 200);
        EXPECT_LT(report_.find('\n'), 200u);
    }
    EXPECT_TRUE(machine_.deletions().empty());
    EXPECT_EQ(Setting("temp"), "<absent>");
    EXPECT_EQ(Run({"/?"}), cli::kExitDone);
    EXPECT_EQ(report_, cli::UsageText());
    EXPECT_EQ(Run({"-LIST"}), cli::kExitDone);
    EXPECT_NE(report_.find("\r\noperaType   Opera Typed URL                 Opera\r\n"), npos);
}

TEST_F(UnattendedTest, CleanTakesNamedItemsOnceInRunOrderAndLogsTheSameReport) {
    machine_.AddFile(kTemp + "\\a.tmp", "data");
    machine_.AddFile(kCookies + "\\me@site.txt", "data");
    machine_.AddFolder("C:\\Journal \xC3\xBC");
    const std::string log = "C:\\Journal \xC3\xBC\\run.log";
    EXPECT_EQ(Run({"/clean", "TEMP", "cookies", "temp", "/Log", log}), cli::kExitDone);
    EXPECT_EQ(report_, "Cleaning Internet Cookies...\r\n  file      " + kCookies +
                           "\\me@site.txt (4 bytes)\r\n  = 1 entries, 1 files, 4 bytes\r\n"
                           "Internet Cookies Cleaned.\r\nCleaning temporary files...\r\n"
                           "  file      " +
                           kTemp + "\\a.tmp (4 bytes)\r\n  folder    " + kTemp +
                           "\r\n  = 2 entries, 1 files, 4 bytes\r\nTemporary files Cleaned.\r\n"
                           "Total: 3 entries, 2 files, 8 bytes in 2 items.\r\n"
                           "All selected items has been cleaned.\r\n");
    std::string logged;
    EXPECT_EQ(machine_.files().ReadFile(log, logged), platform::kOk);
    EXPECT_EQ(logged, report_);
    EXPECT_FALSE(machine_.Exists(kTemp + "\\a.tmp"));
    EXPECT_FALSE(machine_.Exists(kCookies + "\\me@site.txt"));
    EXPECT_EQ(Setting("temp"), "tt");
    EXPECT_EQ(Setting("cookies"), "tt");
    EXPECT_EQ(Setting("ihistory"), "uu");
    EXPECT_FALSE(machine_.clean_run_held());
}

TEST_F(UnattendedTest, PreviewListsWhatWouldGoAndRememberedItemsStandInForNames) {
    machine_.AddFile(kTemp + "\\a.tmp", "12345");
    EXPECT_EQ(Run({"/preview"}), cli::kExitDone);
    EXPECT_EQ(report_, std::string(clean::kNothingSelectedText) + "\r\n");
    Remember("temp", "xTx");
    Remember("cookies", "uu");
    EXPECT_EQ(Run({"/preview"}), cli::kExitDone);
    EXPECT_NE(report_.find("\r\n[temp] Temporary Folder\r\n  file      " + kTemp +
                           "\\a.tmp (5 bytes)\r\n  folder    " + kTemp +
                           "\r\n  = 2 entries, 1 files, 5 bytes\r\n\r\nTotal: 2 entries, 1 "
                           "files, 5 bytes in 1 items.\r\n"),
              npos)
        << report_;
    EXPECT_EQ(report_.find("[cookies]"), npos);
    const std::string remembered = report_;
    EXPECT_EQ(Run({"/preview", "temp", "TEMP"}), cli::kExitDone);
    EXPECT_EQ(report_, remembered);
    EXPECT_TRUE(machine_.Exists(kTemp + "\\a.tmp"));
    EXPECT_TRUE(machine_.deletions().empty());
}

TEST_F(UnattendedTest, OneCleanRunAtATimeAndAFailedStepEndsInCodeOne) {
    machine_.AddFile(kCookies + "\\held.txt", "data");
    machine_.Lock(kCookies + "\\held.txt");
    machine_.SetCleanRunElsewhere(true);
    EXPECT_EQ(Run({"/clean", "cookies"}), cli::kExitStepFailed);
    EXPECT_NE(report_.find("Another clean run is in progress"), npos);
    // The window stands back silently, as from a run in progress.
    Tick("chkCookies");
    machine_.AnswerNextBox(platform::mb::kIdOk);
    window_.Command7_Click();
    EXPECT_EQ(machine_.boxes().size(), 1u);
    EXPECT_EQ(Setting("cookies"), "<absent>");

    machine_.SetCleanRunElsewhere(false);
    EXPECT_EQ(Run({"/clean", "cookies"}), cli::kExitStepFailed);
    EXPECT_NE(report_.find("1 errors met"), npos);
    machine_.Unlock(kCookies + "\\held.txt");
    EXPECT_EQ(Run({"/clean", "cookies"}), cli::kExitDone);
    EXPECT_FALSE(machine_.Exists(kCookies + "\\held.txt"));
}

}  // namespace
}  // namespace qm
