#pragma once
// Removes rows from a database so that nothing of them is left in any file, and nothing else
// is lost. The rows go from a copy, in one transaction whose checks must hold before it
// commits; the copy is rebuilt (no free page keeps a deleted row) and then takes the
// original's place in one step, so the file is always either the old database or the new
// one, whole. Any surprise leaves the original as it was.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "database/platform_vfs.h"

namespace qm::database {

struct RowDeletion {
    std::string table;      // named in the report
    std::string sql;        // one DELETE statement
    bool optional = false;  // skipped when the table is not there (older or newer schemas)
};

// Rows of a table that must stay exactly as they are, every column of them.
struct KeptRows {
    std::string table;
    std::string where;  // the condition after WHERE
};

struct RowCleaningPlan {
    std::vector<std::string> tables;  // each must exist, or the schema is not one we know
    std::vector<RowDeletion> deletions;
    // Every other table but the spared ones is emptied too, after the deletions.
    bool empty_the_rest = false;
    std::vector<std::string> spared;
    // Statements whose one answer must be the same after the deletions as before, for what
    // the user keeps in the tables rows go from (the bookmarks and their pages, say);
    // KeptDigest() builds them. Every table no row goes from is checked whole anyway.
    std::vector<std::string> kept;
    std::vector<KeptRows> kept_rows;
    // Texts the statements can find in the temporary table qm_kept(value): the addresses of
    // the bookmarked pages, say.
    std::vector<std::string> kept_values;
};

enum class CleanOutcome : std::uint8_t {
    Cleaned,
    Missing,        // no such file: nothing to do
    Held,           // another program holds it: the browser is running
    NotADatabase,   // a broken file or no database at all
    UnknownSchema,  // a table or column the plan needs is not there
    CheckFailed,    // a kept answer changed, or the integrity check failed
    ReadOnly,       // the file may not be written
    Failed,         // anything else (no room on the disk, say)
};

struct RowCleaningResult {
    CleanOutcome outcome = CleanOutcome::Failed;
    std::vector<std::pair<std::string, std::int64_t>> removed;  // rows per table, plan order
    std::string detail;                                         // SQLite's words on a failure
};

// The file a cleaning works on beside the database; one left by a cleaning that was cut
// short goes at the start of the next.
std::string WorkFileOf(const std::string& path);

// A statement answering one text that changes when any of the selected rows changes, is
// added or goes: `columns` of `from_where` (the rest of a SELECT after its column list).
std::string KeptDigest(const std::string& columns, const std::string& from_where);

RowCleaningResult CleanRows(PlatformVfs& vfs, const std::string& path, const RowCleaningPlan& plan);

}  // namespace qm::database
