#pragma once
// The file system of a real clean that keeps a record: every call goes to the machine, and
// each delete, folder removal and restart scheduling is noted with its answer, a file with
// the size it had before it went. Files the clean made itself on the way (a database's work
// copy, its journal) go unrecorded: they were never the user's.
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "platform/file_system.h"
#include "platform/recording/removal_record.h"

namespace qm::recording {

class RecordingFiles final : public platform::FileSystem {
  public:
    RecordingFiles(platform::FileSystem& real, RemovalRecord& record)
        : real_(real), record_(record) {}

    platform::Status List(std::string_view pattern_path,
                          std::vector<platform::DirEntry>& entries) override;
    platform::Status GetAttributes(std::string_view path, std::uint32_t& attributes) override {
        return real_.GetAttributes(path, attributes);
    }
    platform::Status SetAttributes(std::string_view path, std::uint32_t attributes) override {
        return real_.SetAttributes(path, attributes);
    }
    platform::Status DeleteFile(std::string_view path) override { return Delete(path, false); }
    platform::Status ForceDeleteFile(std::string_view path) override { return Delete(path, true); }
    platform::Status RemoveDirectory(std::string_view path) override;
    platform::Status CreateDirectory(std::string_view path) override {
        return real_.CreateDirectory(path);
    }
    platform::Status OpenForRead(std::string_view path) override { return real_.OpenForRead(path); }
    platform::Status OpenForDelete(std::string_view path) override {
        return real_.OpenForDelete(path);
    }
    void OpenEachForDelete(std::span<const std::string_view> paths,
                           std::span<platform::Status> results) override {
        real_.OpenEachForDelete(paths, results);
    }
    platform::Status OpenAlone(std::string_view path, platform::OpenMode mode,
                               std::unique_ptr<platform::OpenFile>& file) override;
    platform::Status ReadFile(std::string_view path, std::string& contents) override {
        return real_.ReadFile(path, contents);
    }
    platform::Status WriteFile(std::string_view path, std::string_view contents) override;
    platform::Status ScheduleDeleteAtRestart(std::string_view path) override;
    platform::Status GetTempPath(std::string& path) override { return real_.GetTempPath(path); }
    platform::Status WriteFileThrough(std::string_view path, std::string_view contents) override;
    platform::Status ReplaceFile(std::string_view replaced, std::string_view replacement,
                                 std::string_view backup) override {
        return real_.ReplaceFile(replaced, replacement, backup);
    }
    platform::Status MoveFileReplacing(std::string_view source, std::string_view target) override;
    platform::Status GetIdentity(std::string_view path, platform::FileIdentity& identity) override {
        return real_.GetIdentity(path, identity);
    }
    platform::Status ListDriveRoots(std::vector<std::string>& roots) override {
        return real_.ListDriveRoots(roots);
    }
    void RecordRowsRemoved(std::string_view path, std::string_view table,
                           std::uint64_t rows) override;
    void RecordKept(std::string_view path, KeptFor why = KeptFor::Cookies) override;
    platform::Status GetFinalPath(std::string_view path, std::string& final_path) override {
        return real_.GetFinalPath(path, final_path);
    }
    platform::Status ReadCompoundStream(std::string_view path, std::string_view stream,
                                        std::string& contents) override {
        return real_.ReadCompoundStream(path, stream, contents);
    }

  private:
    platform::Status Delete(std::string_view path, bool even_read_only);
    // Notes `path` as made by the clean when it was not there before `make` made it.
    template <class Make>
    platform::Status Made(std::string_view path, Make&& make);
    std::uint64_t SizeOf(std::string_view path);

    platform::FileSystem& real_;
    RemovalRecord& record_;
    // The sizes the listings showed, by folded path: the cleaners delete what they have just
    // listed, so the size rarely needs asking for. Forgotten when it grows large.
    std::unordered_map<std::string, std::uint64_t> listed_sizes_;
    std::unordered_set<std::string> made_;  // folded
};

}  // namespace qm::recording
