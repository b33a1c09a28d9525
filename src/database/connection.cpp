#include "database/connection.h"

#include <sqlite3.h>

namespace qm::database {

namespace {

// A prepared statement that finalizes itself.
class Statement {
  public:
    Statement(sqlite3* db, std::string_view sql) {
        sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &statement_, nullptr);
    }
    ~Statement() { sqlite3_finalize(statement_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    bool Bind(std::initializer_list<std::string_view> texts) {
        if (statement_ == nullptr) return false;
        int index = 1;
        for (const std::string_view text : texts) {
            if (sqlite3_bind_text(statement_, index++, text.data(), static_cast<int>(text.size()),
                                  SQLITE_TRANSIENT) != SQLITE_OK) {
                return false;
            }
        }
        return true;
    }
    sqlite3_stmt* get() const { return statement_; }

  private:
    sqlite3_stmt* statement_ = nullptr;
};

}  // namespace

Connection::~Connection() {
    Close();
}

void Connection::Close() {
    if (db_ != nullptr) sqlite3_close_v2(db_);
    db_ = nullptr;
}

Opened Connection::Open(PlatformVfs& vfs, const std::string& path, bool create) {
    return OpenWith(vfs, path, SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0));
}

Opened Connection::OpenReadOnly(PlatformVfs& vfs, const std::string& path) {
    return OpenWith(vfs, path, SQLITE_OPEN_READONLY);
}

Opened Connection::OpenWith(PlatformVfs& vfs, const std::string& path, int flags) {
    Close();
    error_.clear();
    if ((flags & SQLITE_OPEN_CREATE) == 0) {
        std::uint32_t attributes = 0;
        const platform::Status found = vfs.files().GetAttributes(path, attributes);
        if (found == platform::kErrorFileNotFound || found == platform::kErrorPathNotFound)
            return Opened::Missing;
    }
    vfs.set_last_open_failure(platform::kOk);
    if (sqlite3_open_v2(path.c_str(), &db_, flags, vfs.name()) != SQLITE_OK) {
        Fail();
        Close();
        return vfs.last_open_failure() == platform::kErrorSharingViolation ? Opened::Held
                                                                           : Opened::Failed;
    }
    sqlite3_extended_result_codes(db_, 1);
    // SQLite opens a write-ahead log for writing even beside a database opened read-only, and
    // the last connection to close would fold the log into the database and delete it. A
    // database only looked at keeps its log as the browser left it.
    if ((flags & SQLITE_OPEN_READONLY) != 0) {
        sqlite3_db_config(db_, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
        Exec("PRAGMA query_only=ON;");
    }
    // The first read opens the journal or the log, when there is one: a file the browser
    // holds shows here too. The page cache is bounded (4 MiB) but large enough that the
    // copies and checks of a big history do not read each page again and again.
    if (!Exec("PRAGMA locking_mode=EXCLUSIVE; PRAGMA temp_store=MEMORY; PRAGMA cache_size=-4096;"
              "PRAGMA secure_delete=ON; SELECT count(*) FROM sqlite_schema;")) {
        const int code = sqlite3_errcode(db_) & 0xff;
        Close();
        if (vfs.last_open_failure() == platform::kErrorSharingViolation) return Opened::Held;
        return code == SQLITE_NOTADB || code == SQLITE_CORRUPT ? Opened::NotADatabase
                                                               : Opened::Failed;
    }
    return Opened::Ok;
}

bool Connection::read_only() const {
    return db_ != nullptr && sqlite3_db_readonly(db_, "main") == 1;
}

bool Connection::Fail() {
    error_ = db_ != nullptr ? sqlite3_errmsg(db_) : "out of memory";
    return false;
}

bool Connection::Exec(std::string_view sql) {
    if (db_ == nullptr) return false;
    const std::string whole(sql);
    return sqlite3_exec(db_, whole.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK || Fail();
}

bool Connection::Run(std::string_view sql, std::initializer_list<std::string_view> texts) {
    if (db_ == nullptr) return false;
    Statement statement(db_, sql);
    if (!statement.Bind(texts)) return Fail();
    int step = SQLITE_ROW;
    while (step == SQLITE_ROW) step = sqlite3_step(statement.get());
    return step == SQLITE_DONE || Fail();
}

std::optional<std::string> Connection::Text(std::string_view sql,
                                            std::initializer_list<std::string_view> texts) {
    std::optional<std::string> value;
    FirstRow(sql, texts, [&](sqlite3_stmt* row) {
        const auto* text = sqlite3_column_text(row, 0);
        const auto size = static_cast<std::size_t>(sqlite3_column_bytes(row, 0));
        value = text == nullptr ? std::string()
                                : std::string(reinterpret_cast<const char*>(text), size);
    });
    return value;
}

std::optional<std::int64_t> Connection::Integer(std::string_view sql,
                                                std::initializer_list<std::string_view> texts) {
    std::optional<std::int64_t> value;
    FirstRow(sql, texts, [&](sqlite3_stmt* row) { value = sqlite3_column_int64(row, 0); });
    return value;
}

void Connection::FirstRow(std::string_view sql, std::initializer_list<std::string_view> texts,
                          const std::function<void(sqlite3_stmt*)>& read) {
    if (db_ == nullptr) return;
    Statement statement(db_, sql);
    if (!statement.Bind(texts)) return (void)Fail();
    const int step = sqlite3_step(statement.get());
    if (step == SQLITE_ROW) return read(statement.get());
    if (step != SQLITE_DONE) Fail();
}

std::optional<std::vector<std::string>> Connection::Column(
    std::string_view sql, std::initializer_list<std::string_view> texts) {
    if (db_ == nullptr) return std::nullopt;
    Statement statement(db_, sql);
    if (!statement.Bind(texts)) return Fail(), std::nullopt;
    std::vector<std::string> values;
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(statement.get())) == SQLITE_ROW) {
        const auto* text = sqlite3_column_text(statement.get(), 0);
        values.emplace_back(text == nullptr ? "" : reinterpret_cast<const char*>(text));
    }
    if (step != SQLITE_DONE) return Fail(), std::nullopt;
    return values;
}

std::int64_t Connection::Changes() const {
    return db_ != nullptr ? sqlite3_changes64(db_) : 0;
}

platform::OpenFile* Connection::DatabaseFile() const {
    sqlite3_file* file = nullptr;
    if (db_ == nullptr || sqlite3_file_control(db_, "main", SQLITE_FCNTL_FILE_POINTER, &file) != 0)
        return nullptr;
    return PlatformVfs::FileOf(file);
}

platform::OpenFile* Connection::JournalFile() const {
    sqlite3_file* file = nullptr;
    if (db_ == nullptr ||
        sqlite3_file_control(db_, "main", SQLITE_FCNTL_JOURNAL_POINTER, &file) != 0)
        return nullptr;
    return PlatformVfs::FileOf(file);
}

bool Connection::HasTable(std::string_view name) {
    return Integer("SELECT count(*) FROM sqlite_schema WHERE type='table' AND name=?", {name})
               .value_or(0) > 0;
}

}  // namespace qm::database
