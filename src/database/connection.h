#pragma once
// One SQLite connection to a database file, opened through PlatformVfs, with the few calls
// the cleaners need: statements run whole, single answers read, parameters bound as text.
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "database/platform_vfs.h"

struct sqlite3;
struct sqlite3_stmt;

namespace qm::database {

enum class Opened : std::uint8_t {
    Ok,
    Missing,       // no such file
    Held,          // another program holds it open (a running browser)
    NotADatabase,  // the file is no SQLite database, or a broken one
    Failed,        // any other refusal (read-only folder, no room, ...)
};

class Connection {
  public:
    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens an existing database for reading and writing (or reading only, when the file may
    // not be written), or, with `create`, makes it. The connection keeps the file alone and
    // its temporary data in memory; the first read happens here, so a hot journal is rolled
    // back and a write-ahead log taken in before Open answers.
    Opened Open(PlatformVfs& vfs, const std::string& path, bool create = false);
    // Opens an existing database that is only looked at: nothing is written to it, not even
    // the rollback of a journal another program left behind (such a file answers Failed).
    Opened OpenReadOnly(PlatformVfs& vfs, const std::string& path);
    void Close();
    bool is_open() const { return db_ != nullptr; }
    bool read_only() const;

    // Runs every statement of `sql`; false on the first error, which error() then names.
    bool Exec(std::string_view sql);
    // Runs one statement with its ?s bound to `texts`, stepping it to its end.
    bool Run(std::string_view sql, std::initializer_list<std::string_view> texts = {});
    // The first column of the first row of one statement, as text; nullopt on an error or
    // no row (a NULL reads as empty).
    std::optional<std::string> Text(std::string_view sql,
                                    std::initializer_list<std::string_view> texts = {});
    std::optional<std::int64_t> Integer(std::string_view sql,
                                        std::initializer_list<std::string_view> texts = {});
    // The first column of every row, as text; nullopt on an error.
    std::optional<std::vector<std::string>> Column(
        std::string_view sql, std::initializer_list<std::string_view> texts = {});
    // Rows the last INSERT, UPDATE or DELETE changed.
    std::int64_t Changes() const;
    bool HasTable(std::string_view name);
    const std::string& error() const { return error_; }
    // The files the connection holds: the database, and its journal or write-ahead log when
    // one is open; null otherwise.
    platform::OpenFile* DatabaseFile() const;
    platform::OpenFile* JournalFile() const;
    sqlite3* handle() const { return db_; }

  private:
    Opened OpenWith(PlatformVfs& vfs, const std::string& path, int flags);
    bool Fail();
    // Steps one statement to its first row and hands the row to `read`; no row, no call.
    void FirstRow(std::string_view sql, std::initializer_list<std::string_view> texts,
                  const std::function<void(sqlite3_stmt*)>& read);
    sqlite3* db_ = nullptr;
    std::string error_;
};

}  // namespace qm::database
