// The Preview dialog: the dry run of the ticked items, its lines against /preview's, its list
// of entries, and a cancel heard while it runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "cli/unattended.h"
#include "main_window_fixture.h"

namespace qm {
namespace {

const std::string kTemp = "C:\\Documents and Settings\\Tester\\Local Settings\\Temp";
const std::string kCookies = "C:\\Documents and Settings\\Tester\\Cookies";

class PreviewDialogTest : public testing::MainWindowTest {
  protected:
    void SetUp() override {
        machine_.AddFile(kTemp + "\\a.tmp", "12345");
        machine_.AddFile(kTemp + "\\big.tmp", std::string(12, 'x'));
        machine_.AddFile(kCookies + "\\me@site.txt", "data");
    }
    app::PreviewDialog* Open() {
        window_.cmdPreview().Click();
        return window_.preview().dialog();
    }
};

TEST_F(PreviewDialogTest, NothingTickedSaysWhatTheCleanSaysAndOpensNothing) {
    EXPECT_EQ(Open(), nullptr);
    ASSERT_EQ(machine_.boxes().size(), 1u);
    EXPECT_EQ(machine_.boxes()[0].text, clean::kNothingSelectedText);
}

TEST_F(PreviewDialogTest, TickedItemsShowTheReportsTalliesAndNothingIsDeleted) {
    Tick("chkTemp");
    Tick("chkCookies");
    app::PreviewDialog* dialog = Open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(dialog->busy());
    EXPECT_TRUE(machine_.deletions().empty());
    EXPECT_TRUE(machine_.Exists(kTemp + "\\a.tmp"));
    EXPECT_TRUE(machine_.Exists(kCookies + "\\me@site.txt"));

    // Each line carries the tally /preview prints for the same item on the same machine.
    std::string report;
    cli::Unattended(machine_.platform(), settings_, reporter_)
        .Run(std::vector<std::string>{"/preview", "cookies", "temp"},
             [&](std::string_view text) { report = text; });
    const std::vector<std::string>& lines = dialog->lstItems().lines();
    ASSERT_EQ(lines.size(), 2u);
    for (const std::string& line : lines) {
        const std::string caption = line.substr(0, line.find(": "));
        const std::size_t item = report.find("] " + caption + "\r\n");
        ASSERT_NE(item, std::string::npos) << caption;
        const std::size_t tally = report.find("  = ", item) + 4;
        const std::string expected = report.substr(tally, report.find('\r', tally) - tally);
        EXPECT_EQ(line.substr(0, caption.size() + 2 + expected.size()), caption + ": " + expected);
    }
    EXPECT_NE(lines[1].find("Temporary Folder: 3 entries, 2 files, 17 bytes (1 folders)"),
              std::string::npos);

    // The selected line's entries, sortable by size (as a number) and by path.
    dialog->lstItems().SetSelectedIndex(1);
    controls::ListView& entries = dialog->lvwEntries();
    ASSERT_EQ(entries.rows().size(), 3u);
    entries.ClickColumn(2);
    entries.ClickColumn(2);
    EXPECT_EQ(entries.rows()[0], (controls::ListView::Row{"file", kTemp + "\\big.tmp", "12"}));
    EXPECT_EQ(entries.rows()[1][2], "5");
    entries.ClickColumn(1);
    EXPECT_EQ(entries.rows()[0][1], kTemp);
    EXPECT_EQ(dialog->lblStatus().caption(),
              "Done: 2 of 2 items previewed. Nothing has been deleted.");

    // The clean that follows removes the files and folders the preview listed, and no other.
    std::vector<std::string> shown, gone;
    for (const auto& record : dialog->records()) {
        for (const dry_run::DryDeletion& d : record) shown.push_back(d.path);
    }
    machine_.AnswerNextBox(platform::mb::kIdOk);
    window_.Command7().Click();
    for (const sim::Deletion& d : machine_.deletions()) gone.push_back(d.path);
    std::sort(shown.begin(), shown.end());
    std::sort(gone.begin(), gone.end());
    EXPECT_EQ(gone, shown);
}

TEST_F(PreviewDialogTest, KeptEntriesSayWhyAndCancelStopsWithWhatWasShown) {
    settings_.SaveSettingString(settings::kSettingsRoot, settings::kSettingsPath, "exclude",
                                kTemp + "\\a.tmp");
    Tick("chkTemp");
    Tick("chkCookies");
    // The user clicks Cancel once the first line shows; the run hears it at its next pump.
    bool clicked = false;
    window_.preview().SetView([this, &clicked](app::PreviewDialog& shown) {
        shown.lstItems().Subscribe([this, &clicked, &shown](controls::Change) {
            if (!std::exchange(clicked, true)) {
                machine_.At(0, [&shown] { shown.cmdCancel().Click(); });
            }
        });
    });
    app::PreviewDialog* dialog = Open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->cancelled());
    EXPECT_EQ(dialog->records().size(), 1u);
    EXPECT_NE(dialog->lblStatus().caption().find("Cancelled: 1 of 2"), std::string::npos);
    EXPECT_FALSE(dialog->cmdCancel().visible());

    window_.preview().SetView([](app::PreviewDialog&) {});
    Open();  // a fresh run, to the end
    dialog = window_.preview().dialog();
    dialog->lstItems().SetSelectedIndex(1);
    const std::vector<controls::ListView::Row>& rows = dialog->lvwEntries().rows();
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0],
              (controls::ListView::Row{"kept (in an excluded place)", kTemp + "\\a.tmp", ""}));
    dialog->cmdClose().Click();
    EXPECT_EQ(window_.preview().dialog(), nullptr);
    EXPECT_TRUE(machine_.deletions().empty());
}

}  // namespace
}  // namespace qm
