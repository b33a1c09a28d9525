// Windows' own traces through the window's run: what each item of the Windows panel takes,
// what it leaves (pins, the icon cache, Explorer's other values, the machine's reports), the
// line it shows when something stayed, and the boxes greyed where Windows has no such trace.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cleaners/jump_lists.h"
#include "hostile_machine.h"
#include "main_window_fixture.h"
#include "platform/dry_run/dry_run.h"

namespace qm::testing {
namespace {

const std::string kRecent = kProfile + "\\Recent";
const std::string kJump = kRecent + "\\AutomaticDestinations\\";
const std::string kLocal = kProfile + "\\Local Settings\\Application Data\\Microsoft\\Windows";

class WindowsTracesTest : public MainWindowTest {
  protected:
    // The lines of a window run with these boxes ticked.
    std::vector<std::string> Clean(const std::vector<std::string_view>& boxes) {
        for (const std::string_view box : boxes) Tick(box);
        machine_.AnswerNextBox(platform::mb::kIdOk);
        window_.Command7().Click();
        return window_.List1().lines();
    }
    static bool Has(const std::vector<std::string>& lines, const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
    void AddList(const std::string& name, std::uint32_t version, std::uint32_t pinned) {
        machine_.AddFile(kJump + name,
                         sim::EncodeCompound({{"DestList", DestList(version, 4, pinned)}}));
    }
};

TEST_F(WindowsTracesTest, JumpListsGoWholeUnlessTheyHoldPinsOrTheirPinsCannotBeTold) {
    AddList("a.automaticDestinations-ms", 1, 0);
    AddList("f01b4d95cf55d32a.automaticDestinations-ms", 4, 2);  // Quick Access's pins
    AddList("newer.automaticDestinations-ms", 5, 0);
    machine_.AddFile(kJump + "cut.automaticDestinations-ms",
                     sim::EncodeCompound({{"DestList", DestList(3, 1, 0).substr(0, 31)}}));
    machine_.AddFile(kJump + "plain.automaticDestinations-ms", "no compound file");
    AddList("held.automaticDestinations-ms", 4, 0);
    machine_.Lock(kJump + "held.automaticDestinations-ms", sim::LockMode::Exclusive);
    machine_.AddFile(kJump + "other.txt", "x");
    machine_.AddFile(kRecent + "\\CustomDestinations\\a.customDestinations-ms", "x");

    // The preview says which stay, and why.
    dry_run::DryRun dry(machine_.platform());
    const cleaners::JumpListTally dry_tally = cleaners::CleanJumpLists(dry.platform());
    std::size_t kept = 0;
    for (const dry_run::DryDeletion& d : dry.record())
        kept += d.kind == dry_run::DryDeletion::Kind::Kept && d.value_name == dry_run::kKeptPinned;
    EXPECT_EQ(kept, 4u);
    EXPECT_EQ(dry_tally.removed, 2u);

    const auto lines = Clean({"chkJumpLists"});
    EXPECT_TRUE(Has(lines,
                    "Jump lists cleaned; kept whole: 1 with pinned entries, 3 whose pins "
                    "could not be read, 1 in use."));
    EXPECT_FALSE(machine_.Exists(kJump + "a.automaticDestinations-ms"));
    EXPECT_FALSE(machine_.Exists(kRecent + "\\CustomDestinations\\a.customDestinations-ms"));
    for (const char* stays :
         {"f01b4d95cf55d32a.automaticDestinations-ms", "newer.automaticDestinations-ms",
          "cut.automaticDestinations-ms", "plain.automaticDestinations-ms",
          "held.automaticDestinations-ms", "other.txt"})
        EXPECT_TRUE(machine_.Exists(kJump + stays)) << stays;
}

TEST_F(WindowsTracesTest, AJumpListFolderThatIsALinkIsLeftAlone) {
    machine_.AddFile("C:\\Elsewhere\\a.automaticDestinations-ms",
                     sim::EncodeCompound({{"DestList", DestList(4, 1, 0)}}));
    machine_.AddFolderLink(kRecent + "\\AutomaticDestinations", "C:\\Elsewhere");
    const auto lines = Clean({"chkJumpLists"});
    EXPECT_TRUE(Has(lines, "Jump lists cleaned."));
    EXPECT_TRUE(machine_.Exists("C:\\Elsewhere\\a.automaticDestinations-ms"));
}

TEST_F(WindowsTracesTest, AHeldThumbnailCacheGoesAtRestartAndTheIconCacheStays) {
    for (const char* name : {"thumbcache_32.db", "thumbcache_idx.db", "iconcache_32.db"})
        machine_.AddFile(kLocal + "\\Explorer\\" + name, "x");
    machine_.Lock(kLocal + "\\Explorer\\thumbcache_32.db");
    const auto lines = Clean({"chkThumbCache"});
    EXPECT_TRUE(
        Has(lines, "Thumbnail cache cleaned; 1 files Explorer holds go at the next restart."));
    EXPECT_FALSE(machine_.Exists(kLocal + "\\Explorer\\thumbcache_idx.db"));
    EXPECT_TRUE(machine_.Exists(kLocal + "\\Explorer\\iconcache_32.db"));
    EXPECT_EQ(machine_.ScheduledAtRestart(),
              std::vector<std::string>{kLocal + "\\Explorer\\thumbcache_32.db"});
}

TEST_F(WindowsTracesTest, ExplorersListsLoseEveryEntryWhateverItsTypeAndTheRestOfTheKeyStays) {
    const auto set = [&](const std::string& key, const std::string& name, RegType type,
                         std::vector<std::uint8_t> data) {
        const std::string path = key.empty() ? kExplorer : kExplorer + "\\" + key;
        WriteRaw(machine_.registry(), Root::CurrentUser, path, name, type, data);
    };
    set("TypedPaths", "url1", RegType::Sz, Utf16Bytes("C:\\Secret"));
    set("WordWheelQuery", "MRUListEx", RegType::Binary, {9, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF});
    set("WordWheelQuery", "0", RegType::Dword, std::vector<std::uint8_t>(100000, 0x41));
    set("ComDlg32\\OpenSavePidlMRU\\txt\\deeper", "0", RegType::Binary, {1});
    set("ComDlg32\\LastVisitedMRU", "a", RegType::MultiSz, {});
    set("ComDlg32\\CIDSizeMRU", "0", RegType::Binary, {1});
    set("", "ShellState", RegType::Binary, {1});
    Clean({"chkExplorerMru"});
    const auto value = [&](const std::string& key, const std::string& name) {
        const std::string path = key.empty() ? kExplorer : kExplorer + "\\" + key;
        return ReadRaw(machine_.registry(), Root::CurrentUser, path, name).exists;
    };
    EXPECT_FALSE(value("TypedPaths", "url1"));
    EXPECT_FALSE(value("WordWheelQuery", "0") || value("WordWheelQuery", "MRUListEx"));
    EXPECT_FALSE(value("ComDlg32\\LastVisitedMRU", "a"));
    EXPECT_FALSE(KeyExists(machine_.registry(), Root::CurrentUser,
                           kExplorer + "\\ComDlg32\\OpenSavePidlMRU\\txt"));
    EXPECT_TRUE(KeyExists(machine_.registry(), Root::CurrentUser, kExplorer + "\\TypedPaths"));
    EXPECT_TRUE(value("ComDlg32\\CIDSizeMRU", "0"));
    EXPECT_TRUE(value("", "ShellState"));
}

TEST_F(WindowsTracesTest, TheUsersErrorReportsGoAndTheMachinesStay) {
    const std::string machine_reports =
        "C:\\Documents and Settings\\All Users\\Application Data\\Microsoft\\Windows\\WER";
    machine_.AddFile(kLocal + "\\WER\\ReportArchive\\AppCrash_1\\Report.wer", "x");
    machine_.AddFile(kLocal + "\\WER\\ReportQueue\\loose.wer", "x");
    machine_.AddFile(machine_reports + "\\ReportArchive\\AppCrash_2\\Report.wer", "x");
    machine_.AddFile("C:\\Elsewhere\\keep.txt", "x");
    machine_.AddFolderLink(kLocal + "\\WER\\ReportQueue\\link", "C:\\Elsewhere");
    const auto lines = Clean({"chkWinErrors"});
    EXPECT_TRUE(Has(lines, "Error reports cleaned."));
    EXPECT_FALSE(machine_.Exists(kLocal + "\\WER\\ReportArchive\\AppCrash_1"));
    EXPECT_FALSE(machine_.Exists(kLocal + "\\WER\\ReportQueue\\loose.wer"));
    EXPECT_FALSE(machine_.Exists(kLocal + "\\WER\\ReportQueue\\link"));
    EXPECT_TRUE(machine_.Exists(kLocal + "\\WER\\ReportQueue"));
    EXPECT_TRUE(machine_.Exists("C:\\Elsewhere\\keep.txt"));
    EXPECT_TRUE(machine_.Exists(machine_reports + "\\ReportArchive\\AppCrash_2\\Report.wer"));
}

TEST_F(WindowsTracesTest, TheClipboardItsHistoryAndTheResolverCacheAreEmptiedOrSaySoWhenHeld) {
    sim::SessionTraceState& traces = machine_.session_traces();
    traces = {"secret", {"older"}, {"site.example"}, false, true, true};
    auto lines = Clean({"chkClipboard", "chkDnsCache"});
    EXPECT_TRUE(traces.clipboard.empty() && traces.clipboard_history.empty());
    EXPECT_TRUE(traces.dns_cache.empty());
    EXPECT_TRUE(Has(lines, "Clipboard emptied.") && Has(lines, "DNS cache emptied."));
    traces.clipboard = "again";
    traces.clipboard_held = true;
    lines = Clean({});
    EXPECT_TRUE(Has(lines, "The clipboard could not be emptied: another program holds it."));
    EXPECT_EQ(traces.clipboard, "again");
}

TEST_F(WindowsTracesTest, BoxesAreGreyedWhereWindowsKeepsNoSuchTraceAndTakeNoClick) {
    controls::CheckBox& jump = window_.ItemBox(*clean::FindByValueName("jumplists"));
    EXPECT_FALSE(jump.enabled());  // XP
    jump.Click();
    EXPECT_EQ(jump.value(), 0);
    EXPECT_TRUE(window_.ItemBox(*clean::FindByValueName("clipboard")).enabled());

    machine_.SetVersion({true, 6, 0, 6002, 2});  // Vista: thumbnails, no jump lists
    app::MainWindow vista(machine_.platform(), settings_, reporter_, details_);
    EXPECT_FALSE(vista.ItemBox(*clean::FindByValueName("jumplists")).enabled());
    EXPECT_TRUE(vista.ItemBox(*clean::FindByValueName("thumbcache")).enabled());
    machine_.SetVersion({true, 10, 0, 19045, 2});
    app::MainWindow ten(machine_.platform(), settings_, reporter_, details_);
    EXPECT_TRUE(ten.ItemBox(*clean::FindByValueName("jumplists")).enabled());
}

}  // namespace
}  // namespace qm::testing
