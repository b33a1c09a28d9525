// The user's own places: what a folder or file place cleans and leaves, the refusals at clean
// time of places planted straight into the settings, and the places in the window's run and
// on the command line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "clean/custom_items.h"
#include "cli/command_line.h"
#include "cli/unattended.h"
#include "main_window_fixture.h"

namespace qm::testing {
namespace {

using cleaners::CustomPlace;

const std::string kLogs = "C:\\Logs";

class CustomPlacesTest : public MainWindowTest {
  protected:
    CustomPlacesTest() {
        for (const char* file :
             {"\\a.log", "\\b.txt", "\\sub\\c.log", "\\sub\\d.txt", "\\sub\\deeper\\e.log"})
            machine_.AddFile(kLogs + file, "x");
        machine_.AddFile("C:\\Elsewhere\\f.log", "x");
        machine_.AddFolderLink(kLogs + "\\link", "C:\\Elsewhere");
    }
    void Place(int slot, const std::string& text) {
        settings_.Save(cleaners::CustomPlaceValue(slot), text);
    }
    // A clean run of the window with these own places ticked; the run's lines.
    std::vector<std::string> CleanTicked(const std::vector<int>& slots) {
        window_.RefreshCustomBoxes();
        for (const int slot : slots) window_.CustomBox(slot).SetValue(1);
        machine_.AnswerNextBox(platform::mb::kIdOk);
        window_.Command7().Click();
        return window_.List1().lines();
    }
    bool Has(const std::vector<std::string>& lines, const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
};

TEST_F(CustomPlacesTest, AFolderLosesItsMatchingFilesAndNothingBeyondThem) {
    Place(1, "folder|" + kLogs + "|*.log|0");
    const auto lines = CleanTicked({1});
    EXPECT_TRUE(Has(lines, "Cleaning C:\\Logs\\*.log...")) << lines.size();
    EXPECT_TRUE(Has(lines, "C:\\Logs\\*.log cleaned."));
    EXPECT_EQ(Setting("custom1"), "tt");
    EXPECT_FALSE(machine_.Exists(kLogs + "\\a.log"));
    for (const char* kept : {"\\b.txt", "\\sub\\c.log", "\\sub\\deeper\\e.log"})
        EXPECT_TRUE(machine_.Exists(kLogs + kept)) << kept;

    // With its subfolders, and every name: all below goes, links as links, the folder stays.
    Place(1, "folder|" + kLogs + "|*.*|1");
    CleanTicked({});  // still ticked from the last run
    EXPECT_TRUE(machine_.Exists(kLogs));
    for (const char* gone : {"\\b.txt", "\\sub", "\\link"})
        EXPECT_FALSE(machine_.Exists(kLogs + gone)) << gone;
    EXPECT_TRUE(machine_.Exists("C:\\Elsewhere\\f.log"));
}

TEST_F(CustomPlacesTest, PlacesThatAreOrHoldProtectedFoldersAreRefusedAtCleanTime) {
    machine_.AddFolderLink("C:\\ToWindows", "C:\\WINDOWS");
    machine_.AddFile("C:\\WINDOWS\\win.ini", "x");
    const std::vector<std::string> planted = {"folder|C:\\ToWindows|*.*|1",
                                              "folder|C:\\Documents and Settings\\Tester|*.*|1",
                                              "folder|Logs|*.*|1",
                                              "folder|C:\\|*.log|0",
                                              "file|" + kLogs,
                                              "folder|" + kLogs + "|..\\*|1"};
    for (std::size_t i = 0; i < planted.size(); ++i) Place(static_cast<int>(i + 1), planted[i]);
    machine_.ClearDeletions();
    const auto lines = CleanTicked({1, 2, 3, 4, 5, 6});
    EXPECT_TRUE(machine_.deletions().empty());
    EXPECT_TRUE(
        Has(lines, "C:\\ToWindows\\*.*, with subfolders not cleaned. " +
                       std::string(cleaners::RefusalText(cleaners::PlaceRefusal::Protected))));
    EXPECT_TRUE(Has(lines, "C:\\Logs not cleaned. " + std::string(cleaners::RefusalText(
                                                          cleaners::PlaceRefusal::WrongKind))));
    EXPECT_FALSE(CustomPlace::Parse("folder|C:\\x|*|2"));
    EXPECT_FALSE(CustomPlace::Parse("disk|C:\\x"));
}

TEST_F(CustomPlacesTest, TheCommandLineListsPreviewsAndCleansOwnPlaces) {
    Place(2, "file|" + kLogs + "\\b.txt");
    cli::Unattended cli(machine_.platform(), settings_, reporter_);
    std::string report;
    const auto run = [&](std::vector<std::string> args) {
        return cli.Run(args, [&](std::string_view text) { report = text; });
    };
    ASSERT_EQ(run({"/list"}), cli::kExitDone);
    EXPECT_NE(report.find("custom2     C:\\Logs\\b.txt"), std::string::npos) << report;
    EXPECT_EQ(run({"/clean", "custom1"}), cli::kExitUsage);
    ASSERT_EQ(run({"/preview", "CUSTOM2"}), cli::kExitDone);
    EXPECT_NE(report.find("file      C:\\Logs\\b.txt (1 bytes)"), std::string::npos) << report;
    EXPECT_TRUE(machine_.Exists(kLogs + "\\b.txt"));
    ASSERT_EQ(run({"/clean", "custom2"}), cli::kExitDone);
    EXPECT_FALSE(machine_.Exists(kLogs + "\\b.txt"));
    EXPECT_EQ(Setting("custom2"), "tt");
}

}  // namespace
}  // namespace qm::testing
