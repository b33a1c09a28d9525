#pragma once
// The file system as the items see it while places are excluded: everything passes through
// to the machine's, except what would delete, empty, replace or write an excluded place.
// Deleting one (or clearing its attributes first) answers "done" and does nothing, so every
// walk goes on past it as past a file already gone; a folder that holds one is left the
// same way. Writing or replacing one answers "access denied", so a cleaner that rewrites a
// file keeps the old one whole. Each place is told to the machine as kept, once, so the
// preview lists it.
#include <set>
#include <string>

#include "cleaners/excluded_paths.h"
#include "platform/file_system.h"

namespace qm::cleaners {

class ExcludingFiles final : public platform::FileSystem {
  public:
    explicit ExcludingFiles(platform::FileSystem& real) : real_(real) {}

    // The places to keep from now on; an empty list lets every call through untouched.
    void Use(ExcludedPaths excluded) {
        excluded_ = std::move(excluded);
        holders_.clear();
    }
    bool excludes_any() const { return !excluded_.empty(); }
    // True, after telling the machine the place is kept, when an exclusion covers `path`:
    // for what removes files by other means than this file system (the Internet cache).
    bool KeepsPlace(std::string_view path) { return Keeps(path); }

    platform::Status List(std::string_view pattern_path,
                          std::vector<platform::DirEntry>& entries) override {
        return real_.List(pattern_path, entries);
    }
    platform::Status GetAttributes(std::string_view path, std::uint32_t& attributes) override {
        return real_.GetAttributes(path, attributes);
    }
    platform::Status SetAttributes(std::string_view path, std::uint32_t attributes) override;
    platform::Status DeleteFile(std::string_view path) override;
    platform::Status ForceDeleteFile(std::string_view path) override;
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
                                 std::string_view backup) override;
    platform::Status MoveFileReplacing(std::string_view source, std::string_view target) override;
    platform::Status GetIdentity(std::string_view path, platform::FileIdentity& identity) override {
        return real_.GetIdentity(path, identity);
    }
    platform::Status ListDriveRoots(std::vector<std::string>& roots) override {
        return real_.ListDriveRoots(roots);
    }
    void RecordRowsRemoved(std::string_view path, std::string_view table,
                           std::uint64_t rows) override {
        real_.RecordRowsRemoved(path, table, rows);
    }
    void RecordKept(std::string_view path, KeptFor why = KeptFor::Cookies) override {
        real_.RecordKept(path, why);
    }
    platform::Status GetFinalPath(std::string_view path, std::string& final_path) override {
        return real_.GetFinalPath(path, final_path);
    }
    platform::Status ReadCompoundStream(std::string_view path, std::string_view stream,
                                        std::string& contents) override {
        return real_.ReadCompoundStream(path, stream, contents);
    }

  private:
    // True, after telling the machine the place is kept, when an exclusion covers `path`.
    bool Keeps(std::string_view path);

    platform::FileSystem& real_;
    ExcludedPaths excluded_;
    std::set<std::string> told_;     // kept places already told, upper-cased
    std::set<std::string> holders_;  // the folders above them, as the cleaners spelt them
};

}  // namespace qm::cleaners
