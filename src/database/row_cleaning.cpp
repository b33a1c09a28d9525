#include "database/row_cleaning.h"

#include <sqlite3.h>

#include <algorithm>
#include <memory>

#include "database/connection.h"

namespace qm::database {

namespace {

using Outcome = CleanOutcome;

RowCleaningResult Ended(Outcome outcome, std::string detail = {}) {
    RowCleaningResult result;
    result.outcome = outcome;
    result.detail = std::move(detail);
    return result;
}

Outcome FromOpened(Opened opened) {
    switch (opened) {
        case Opened::Ok:
            return Outcome::Cleaned;
        case Opened::Missing:
            return Outcome::Missing;
        case Opened::Held:
            return Outcome::Held;
        case Opened::NotADatabase:
            return Outcome::NotADatabase;
        case Opened::Failed:
            break;
    }
    return Outcome::Failed;
}

// The copy rebuilt from the cleaned copy: what takes the database's place.
std::string RebuiltFileOf(const std::string& work) {
    return work + "-new";
}

void RemoveWorkFiles(platform::FileSystem& files, const std::string& work) {
    for (const std::string& file : {work, RebuiltFileOf(work)}) {
        for (const char* suffix : {"", "-journal", "-wal", "-shm"}) files.DeleteFile(file + suffix);
    }
}

// The bytes of an open file, written to `path` (made or emptied first).
bool CopyOut(platform::OpenFile& from, platform::FileSystem& files, const std::string& path) {
    std::unique_ptr<platform::OpenFile> to;
    if (files.OpenAlone(path, platform::OpenMode::OpenOrCreate, to) != platform::kOk ||
        to->Truncate(0) != platform::kOk)
        return false;
    std::string chunk(1u << 20, '\0');
    for (std::uint64_t offset = 0;;) {
        std::size_t read = 0;
        if (from.Read(offset, chunk, read) != platform::kOk) return false;
        if (read == 0) return true;
        if (to->Write(offset, std::string_view(chunk).substr(0, read)) != platform::kOk)
            return false;
        offset += read;
    }
}

bool HasContent(platform::FileSystem& files, const std::string& path) {
    std::vector<platform::DirEntry> entries;
    return files.List(path, entries) == platform::kOk && !entries.empty() &&
           entries.front().size > 0;
}

std::string Quoted(const std::string& name) {
    std::string quoted(1, '"');
    for (const char c : name) {
        quoted.push_back(c);
        if (c == '"') quoted.push_back('"');
    }
    quoted.push_back('"');
    return quoted;
}

// The database's own tables, without SQLite's.
std::optional<std::vector<std::string>> Tables(Connection& db) {
    return db.Column(
        "SELECT name FROM sqlite_schema WHERE type='table' AND name NOT LIKE 'sqlite\\_%' "
        "ESCAPE '\\' ORDER BY name");
}

bool Listed(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// The answers that must not change: the plan's own, and a digest of each table no row goes
// from, over all of its columns.
std::optional<std::vector<std::string>> Answers(Connection& db, const RowCleaningPlan& plan,
                                                const std::vector<std::string>& untouched) {
    std::vector<std::string> answers;
    for (const std::string& statement : plan.kept) {
        std::optional<std::string> answer = db.Text(statement);
        if (!answer) return std::nullopt;
        answers.push_back(std::move(*answer));
    }
    std::vector<KeptRows> rows = plan.kept_rows;
    for (const std::string& table : untouched) rows.push_back({table, "1"});
    for (const KeptRows& kept : rows) {
        const auto columns = db.Column("SELECT name FROM pragma_table_info(?)", {kept.table});
        if (!columns || columns->empty()) return std::nullopt;
        std::string list;
        for (const std::string& column : *columns) {
            if (!list.empty()) list.push_back(',');
            list.append(Quoted(column));
        }
        std::optional<std::string> answer =
            db.Text(KeptDigest(list, "FROM " + Quoted(kept.table) + " WHERE " + kept.where));
        if (!answer) return std::nullopt;
        answers.push_back(std::move(*answer));
    }
    return answers;
}

// Removes the plan's rows from the work copy in one transaction that commits only when its
// checks hold; then rebuilds the copy so no page keeps what went. The copy keeps no journal:
// it is never rolled back, only thrown away, so what it writes costs no memory or disk on
// the side, however many rows go.
RowCleaningResult CleanCopy(Connection& work, const RowCleaningPlan& plan,
                            const std::string& rebuilt) {
    if (!work.Exec("PRAGMA journal_mode=OFF; CREATE TEMP TABLE qm_kept(value TEXT PRIMARY KEY);"
                   "BEGIN IMMEDIATE;"))
        return Ended(Outcome::Failed, work.error());
    for (const std::string& value : plan.kept_values) {
        if (!work.Run("INSERT OR IGNORE INTO temp.qm_kept VALUES(?)", {value}))
            return Ended(Outcome::Failed, work.error());
    }
    const auto tables = Tables(work);
    if (!tables) return Ended(Outcome::UnknownSchema, work.error());
    std::vector<RowDeletion> deletions;
    for (const RowDeletion& deletion : plan.deletions) {
        if (!deletion.optional || Listed(*tables, deletion.table)) deletions.push_back(deletion);
    }
    std::vector<std::string> untouched;
    for (const std::string& table : *tables) {
        bool named = false;
        for (const RowDeletion& deletion : deletions) named = named || deletion.table == table;
        if (named) continue;
        if (plan.empty_the_rest && !Listed(plan.spared, table))
            deletions.push_back({table, "DELETE FROM " + Quoted(table)});
        else
            untouched.push_back(table);
    }
    const auto before = Answers(work, plan, untouched);
    if (!before) return Ended(Outcome::UnknownSchema, work.error());
    RowCleaningResult result;
    for (const RowDeletion& deletion : deletions) {
        if (!work.Run(deletion.sql)) {
            return Ended(Outcome::UnknownSchema, work.error());
        }
        auto counted = result.removed.begin();
        while (counted != result.removed.end() && counted->first != deletion.table) ++counted;
        if (counted == result.removed.end())
            result.removed.emplace_back(deletion.table, work.Changes());
        else
            counted->second += work.Changes();
    }
    const auto after = Answers(work, plan, untouched);
    const std::optional<std::string> integrity = work.Text("PRAGMA integrity_check");
    if (!after || *after != *before || integrity != "ok")
        return Ended(Outcome::CheckFailed, integrity.value_or(work.error()));
    // Rebuilt into a file of its own rather than in place: an in-place rebuild would hold the
    // whole database in memory on the way.
    if (!work.Exec("COMMIT; DROP TABLE temp.qm_kept;") || !work.Run("VACUUM INTO ?", {rebuilt}))
        return Ended(Outcome::Failed, work.error());
    result.outcome = Outcome::Cleaned;
    return result;
}

// The row digest: a count and a sum of row hashes, so the order rows come in does not
// matter and memory does not grow with their number.
struct Digest {
    std::uint64_t rows = 0;
    std::uint64_t sum = 0;
};

void DigestStep(sqlite3_context* context, int count, sqlite3_value** values) {
    auto* digest = static_cast<Digest*>(sqlite3_aggregate_context(context, sizeof(Digest)));
    if (digest == nullptr) return;
    std::uint64_t hash = 1469598103934665603ull;  // FNV-1a, over each value's type and bytes
    const auto mix = [&hash](unsigned char byte) { hash = (hash ^ byte) * 1099511628211ull; };
    for (int i = 0; i < count; ++i) {
        mix(static_cast<unsigned char>(sqlite3_value_type(values[i])));
        const auto* bytes = static_cast<const unsigned char*>(sqlite3_value_blob(values[i]));
        const int size = sqlite3_value_bytes(values[i]);
        for (int j = 0; j < size; ++j) mix(bytes[j]);
        mix(0xff);
    }
    ++digest->rows;
    digest->sum += hash * 0x9E3779B97F4A7C15ull;
}

void DigestFinal(sqlite3_context* context) {
    auto* digest = static_cast<Digest*>(sqlite3_aggregate_context(context, 0));
    const Digest value = digest != nullptr ? *digest : Digest{};
    const std::string text = std::to_string(value.rows) + ":" + std::to_string(value.sum);
    sqlite3_result_text(context, text.c_str(), -1, SQLITE_TRANSIENT);
}

}  // namespace

std::string WorkFileOf(const std::string& path) {
    return path + ".qmclean";
}

std::string KeptDigest(const std::string& columns, const std::string& from_where) {
    return "SELECT qm_digest(" + columns + ") " + from_where;
}

RowCleaningResult CleanRows(PlatformVfs& vfs, const std::string& path,
                            const RowCleaningPlan& plan) {
    platform::FileSystem& files = vfs.files();
    Connection original;
    if (const Outcome opened = FromOpened(original.Open(vfs, path)); opened != Outcome::Cleaned)
        return Ended(opened, original.error());
    if (original.read_only()) return Ended(Outcome::ReadOnly);
    for (const std::string& table : plan.tables) {
        if (!original.HasTable(table)) return Ended(Outcome::UnknownSchema, "no table " + table);
    }
    // The copy is of the file's bytes and of its live log's, read through the connection that
    // holds them (a copy through SQL would hold the whole database in memory on the way);
    // the log itself goes into the database when the connection closes.
    const bool wal = original.Text("PRAGMA journal_mode") == "wal";
    platform::OpenFile* database = original.DatabaseFile();
    platform::OpenFile* log = wal ? original.JournalFile() : nullptr;

    const std::string work_path = WorkFileOf(path), rebuilt_path = RebuiltFileOf(work_path);
    RemoveWorkFiles(files, work_path);
    if (database == nullptr || !CopyOut(*database, files, work_path) ||
        (log != nullptr && !CopyOut(*log, files, work_path + "-wal"))) {
        RemoveWorkFiles(files, work_path);
        return Ended(Outcome::Failed, "the database could not be copied");
    }
    RowCleaningResult result;
    {
        Connection work;
        if (work.Open(vfs, work_path) != Opened::Ok) {
            RemoveWorkFiles(files, work_path);
            return Ended(Outcome::Failed, work.error());
        }
        sqlite3_create_function(work.handle(), "qm_digest", -1, SQLITE_UTF8, nullptr, nullptr,
                                DigestStep, DigestFinal);
        result = CleanCopy(work, plan, rebuilt_path);
    }
    if (result.outcome == Outcome::Cleaned && wal) {
        Connection rebuilt;  // the database keeps the kind of journal it had
        if (rebuilt.Open(vfs, rebuilt_path) != Opened::Ok ||
            !rebuilt.Exec("PRAGMA journal_mode=WAL"))
            result = Ended(Outcome::Failed, rebuilt.error());
    }
    if (result.outcome != Outcome::Cleaned) {
        RemoveWorkFiles(files, work_path);
        return result;
    }
    std::unique_ptr<platform::OpenFile> written;
    const bool flushed =
        files.OpenAlone(rebuilt_path, platform::OpenMode::ReadWrite, written) == platform::kOk &&
        written->Flush() == platform::kOk;
    written.reset();
    // The original is let go only now, and its log must be empty: a log left beside the new
    // file would be replayed into it.
    original.Close();
    if (!flushed || HasContent(files, path + "-wal") ||
        files.MoveFileReplacing(rebuilt_path, path) != platform::kOk) {
        RemoveWorkFiles(files, work_path);
        return Ended(Outcome::Failed, "the cleaned copy could not take the database's place");
    }
    RemoveWorkFiles(files, work_path);
    for (const auto& [table, rows] : result.removed)
        files.RecordRowsRemoved(path, table, static_cast<std::uint64_t>(rows));
    return result;
}

}  // namespace qm::database
