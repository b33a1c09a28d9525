// Rows removed from a database on the simulated drive: nothing of them left in any file,
// nothing else lost, and the file whole at every moment, whatever goes wrong.
#include <gtest/gtest.h>

#include <map>

#include "database/connection.h"
#include "database/row_cleaning.h"
#include "platform/sim/machine.h"

namespace qm::database {
namespace {

const std::string kFolder = "C:\\Profile";
const std::string kPath = kFolder + "\\History";
const std::string kVisited = "qm-visited-marker", kFreed = "qm-freed-marker",
                  kKept = "qm-kept-page";

// A small history: visits of many pages, one of them bookmarked, and pages the browser
// itself deleted earlier, whose text its free pages still hold.
void MakeHistory(sim::Machine& machine, const std::string& journal_mode) {
    machine.AddFolder(kFolder);
    PlatformVfs vfs(machine.files());
    Connection db;
    ASSERT_EQ(db.Open(vfs, kPath, true), Opened::Ok) << db.error();
    ASSERT_TRUE(db.Exec(
        "PRAGMA secure_delete=OFF; PRAGMA user_version=43; PRAGMA journal_mode=" + journal_mode +
        ";"
        "CREATE TABLE urls(id INTEGER PRIMARY KEY, url TEXT);"
        "CREATE INDEX urls_url ON urls(url);"
        "CREATE TABLE visits(id INTEGER PRIMARY KEY, url INTEGER);"
        "CREATE TABLE bookmarks(id INTEGER PRIMARY KEY, url INTEGER);"))
        << db.error();
    for (int i = 0; i < 60; ++i) {
        const std::string n = std::to_string(i), pad(80, 'x');
        ASSERT_TRUE(
            db.Run("INSERT INTO urls(url) VALUES(?),(?)", {kVisited + n + pad, kFreed + n + pad}));
        ASSERT_TRUE(db.Run("INSERT INTO visits(url) SELECT max(id) - 1 FROM urls"));
    }
    ASSERT_TRUE(db.Run("INSERT INTO urls(url) VALUES(?)", {kKept}));
    ASSERT_TRUE(
        db.Exec("INSERT INTO bookmarks(url) SELECT max(id) FROM urls;"
                "INSERT INTO visits(url) SELECT max(id) FROM urls;"
                "DELETE FROM urls WHERE url LIKE 'qm-freed-marker%';"));
    if (journal_mode != "wal") return;
    // The browser still running: the last pages are in the log only.
    ASSERT_TRUE(db.Exec("PRAGMA wal_autocheckpoint=0; INSERT INTO visits(url) VALUES(1);"));
    const std::string database = *machine.Peek(kPath), log = *machine.Peek(kPath + "-wal");
    db.Close();
    machine.AddFile(kPath, database);
    machine.AddFile(kPath + "-wal", log);
}

RowCleaningPlan HistoryPlan() {
    RowCleaningPlan plan;
    plan.tables = {"urls", "visits", "bookmarks"};
    plan.deletions = {{"visits", "DELETE FROM visits"},
                      {"urls", "DELETE FROM urls WHERE id NOT IN (SELECT url FROM bookmarks)"}};
    plan.kept = {KeptDigest("b.id, u.url", "FROM bookmarks b JOIN urls u ON u.id = b.url")};
    return plan;
}

std::int64_t Count(sim::Machine& machine, const std::string& sql) {
    PlatformVfs vfs(machine.files());
    Connection db;
    EXPECT_EQ(db.Open(vfs, kPath), Opened::Ok);
    return db.Integer(sql).value_or(-1);
}

TEST(RowCleaning, RemovedRowsLeaveNoByteInAnyFileAndKeptRowsAndSettingsStay) {
    for (const std::string mode : {"delete", "wal"}) {
        SCOPED_TRACE(mode);
        sim::Machine machine;
        MakeHistory(machine, mode);
        const std::string stored = *machine.Peek(kPath) + machine.Peek(kPath + "-wal").value_or("");
        ASSERT_NE(stored.find(kFreed), std::string::npos);  // the set-up holds

        PlatformVfs vfs(machine.files());
        const RowCleaningResult result = CleanRows(vfs, kPath, HistoryPlan());
        ASSERT_EQ(result.outcome, CleanOutcome::Cleaned) << result.detail;
        using Removed = std::vector<std::pair<std::string, std::int64_t>>;
        EXPECT_EQ(result.removed, (Removed{{"visits", mode == "wal" ? 62 : 61}, {"urls", 60}}));

        for (const std::string& path : machine.AllPaths()) {
            const std::string contents = machine.Peek(path).value_or("");
            EXPECT_EQ(contents.find(kVisited), std::string::npos) << path;
            EXPECT_EQ(contents.find(kFreed), std::string::npos) << path;
        }
        EXPECT_FALSE(machine.Exists(WorkFileOf(kPath)));
        EXPECT_EQ(Count(machine, "SELECT count(*) FROM urls u JOIN bookmarks b ON b.url = u.id"),
                  1);
        EXPECT_EQ(Count(machine, "PRAGMA user_version"), 43);
        EXPECT_EQ(machine.Peek(kPath)->at(18), mode == "wal" ? 2 : 1);  // the journal kind stays
    }
}

TEST(RowCleaning, EverySurpriseLeavesTheFileByteForByte) {
    RowCleaningPlan touches_kept = HistoryPlan();
    touches_kept.deletions.push_back({"bookmarks", "DELETE FROM bookmarks"});
    RowCleaningPlan missing_table = HistoryPlan();
    missing_table.tables.push_back("moz_places");
    RowCleaningPlan missing_column = HistoryPlan();
    missing_column.deletions.push_back({"visits", "DELETE FROM visits WHERE visit_time > 0"});
    struct Case {
        const char* what;
        RowCleaningPlan plan;
        std::function<void(sim::Machine&)> spoil;
        CleanOutcome expected;
    };
    const auto none = [](sim::Machine&) {};
    const std::vector<Case> cases = {
        {"a kept row would go", touches_kept, none, CleanOutcome::CheckFailed},
        {"a table is missing", missing_table, none, CleanOutcome::UnknownSchema},
        {"a column is missing", missing_column, none, CleanOutcome::UnknownSchema},
        {"the browser holds it", HistoryPlan(),
         [](sim::Machine& m) { m.Lock(kPath, sim::LockMode::NoDelete); }, CleanOutcome::Held},
        {"it is read-only", HistoryPlan(),
         [](sim::Machine& m) { m.files().SetAttributes(kPath, platform::attr::kReadOnly); },
         CleanOutcome::ReadOnly},
        {"the disk is full", HistoryPlan(), [](sim::Machine& m) { m.SetFreeSpace('C', 4096); },
         CleanOutcome::Failed},
        {"it is cut short", HistoryPlan(),
         [](sim::Machine& m) { m.AddFile(kPath, m.Peek(kPath)->substr(0, 5000)); },
         CleanOutcome::NotADatabase},
        {"it is no database", HistoryPlan(),
         [](sim::Machine& m) { m.AddFile(kPath, std::string(8192, 'Q')); },
         CleanOutcome::NotADatabase},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        sim::Machine machine;
        MakeHistory(machine, "delete");
        test.spoil(machine);
        const std::vector<std::string> paths = machine.AllPaths();
        const std::string before = *machine.Peek(kPath);
        PlatformVfs vfs(machine.files());
        EXPECT_EQ(CleanRows(vfs, kPath, test.plan).outcome, test.expected);
        EXPECT_TRUE(*machine.Peek(kPath) == before);
        EXPECT_EQ(machine.AllPaths(), paths);  // no copy left beside it
    }
}

// The disk as a power cut would leave it after each change the cleaning makes: opened
// afterwards, the database is the old one or the cleaned one, whole, and the next cleaning
// finishes the work.
TEST(RowCleaning, APowerCutAtAnyChangeLeavesTheOldOrTheNewDatabaseWhole) {
    std::size_t cut = 1;
    for (bool cut_happened = true; cut_happened; ++cut) {
        SCOPED_TRACE("cut after change " + std::to_string(cut));
        sim::Machine machine;
        MakeHistory(machine, "wal");
        std::map<std::string, std::string> disk;
        cut_happened = false;
        machine.AfterFileChange(cut, [&](const std::string&) {
            cut_happened = true;
            for (const std::string& path : machine.AllPaths()) {
                if (const auto contents = machine.Peek(path)) disk[path] = *contents;
            }
        });
        PlatformVfs vfs(machine.files());
        ASSERT_EQ(CleanRows(vfs, kPath, HistoryPlan()).outcome, CleanOutcome::Cleaned);
        if (!cut_happened) break;

        sim::Machine after;
        for (const auto& [path, contents] : disk) after.AddFile(path, contents);
        const std::int64_t visits = Count(after, "SELECT count(*) FROM visits");
        EXPECT_TRUE(visits == 62 || visits == 0) << visits;
        EXPECT_EQ(Count(after, "SELECT count(*) FROM bookmarks"), 1);
        {
            PlatformVfs check(after.files());
            Connection db;
            ASSERT_EQ(db.Open(check, kPath), Opened::Ok);
            EXPECT_EQ(db.Text("PRAGMA integrity_check"), "ok");
        }
        PlatformVfs again(after.files());
        EXPECT_EQ(CleanRows(again, kPath, HistoryPlan()).outcome, CleanOutcome::Cleaned);
        EXPECT_FALSE(after.Exists(WorkFileOf(kPath)));
    }
    EXPECT_GT(cut, 10u);
}

}  // namespace
}  // namespace qm::database
