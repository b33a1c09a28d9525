#pragma once
// SQLite's way to files, over the platform's file system: every database, journal and
// write-ahead log Quillmoss touches is opened alone (no other program shares it) and read,
// written and deleted through platform::FileSystem, so the simulated machine, the preview's
// dry run and the deletion record see each change. SQLite is built with no file access of
// its own; a database can only be opened through one of these.
#include <string>

#include "platform/file_system.h"

struct sqlite3_vfs;
struct sqlite3_file;

namespace qm::database {

class PlatformVfs {
  public:
    explicit PlatformVfs(platform::FileSystem& files);
    ~PlatformVfs();
    PlatformVfs(const PlatformVfs&) = delete;
    PlatformVfs& operator=(const PlatformVfs&) = delete;

    // The name to pass to sqlite3_open_v2.
    const char* name() const { return name_.c_str(); }
    platform::FileSystem& files() { return files_; }
    // What the platform answered the last open that failed (a sharing violation: another
    // program holds the file), kOk when none has.
    platform::Status last_open_failure() const { return last_open_failure_; }
    void set_last_open_failure(platform::Status status) { last_open_failure_ = status; }
    // The platform's open file behind one of SQLite's, when it is one of ours.
    static platform::OpenFile* FileOf(sqlite3_file* file);

  private:
    platform::FileSystem& files_;
    std::string name_;
    sqlite3_vfs* vfs_;
    platform::Status last_open_failure_ = platform::kOk;
};

}  // namespace qm::database
