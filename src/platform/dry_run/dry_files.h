#pragma once
// The file system as a dry run sees it: every read goes to the real drive, every change is
// kept to itself. A deletion is checked as Windows would check it (the entry exists, is not
// read-only, is not held open, a folder is empty) and then recorded and hidden, so the
// listings and look-ups that follow see the drive as a real run would have left it.
#include <map>
#include <unordered_map>
#include <vector>

#include "platform/dry_run/dry_hidden_files.h"
#include "platform/dry_run/dry_record.h"
#include "platform/dry_run/dry_rewrites.h"
#include "platform/file_system.h"

namespace qm::dry_run {

class DryFiles final : public platform::FileSystem {
  public:
    DryFiles(platform::FileSystem& real, std::vector<DryDeletion>& record)
        : real_(real), record_(record), hidden_(record) {}
    // Called before the record is handed over, so that what it hid stays hidden.
    void KeepAcrossTake() { hidden_.KeepAcrossTake(); }

    platform::Status List(std::string_view pattern_path,
                          std::vector<platform::DirEntry>& entries) override;
    platform::Status GetAttributes(std::string_view path, std::uint32_t& attributes) override;
    platform::Status SetAttributes(std::string_view path, std::uint32_t attributes) override;
    platform::Status DeleteFile(std::string_view path) override;
    platform::Status ForceDeleteFile(std::string_view path) override;
    platform::Status RemoveDirectory(std::string_view path) override;
    platform::Status CreateDirectory(std::string_view path) override;
    platform::Status OpenForRead(std::string_view path) override;
    platform::Status OpenForDelete(std::string_view path) override;
    // Writing goes to a copy in memory, made at the first change (see dry_rewrites.h).
    platform::Status OpenAlone(std::string_view path, platform::OpenMode mode,
                               std::unique_ptr<platform::OpenFile>& file) override;
    platform::Status ReadFile(std::string_view path, std::string& contents) override;
    platform::Status WriteFile(std::string_view path, std::string_view contents) override;
    platform::Status ScheduleDeleteAtRestart(std::string_view path) override;
    platform::Status WriteFileThrough(std::string_view path, std::string_view contents) override {
        return WriteFile(path, contents);
    }
    // Only the upgrade puts files in each other's place, and it never runs dry: a move that
    // would take a file's name from it is refused rather than pretended. A file the dry run
    // made itself (the cleaned copy of a database) takes its place in memory.
    platform::Status ReplaceFile(std::string_view, std::string_view, std::string_view) override {
        return platform::kErrorAccessDenied;
    }
    platform::Status MoveFileReplacing(std::string_view source, std::string_view target) override;
    void RecordKept(std::string_view path, KeptFor why = KeptFor::Cookies) override {
        const std::string_view reason = why == KeptFor::Exclusion ? kKeptExcluded
                                        : why == KeptFor::Pins    ? kKeptPinned
                                                                  : std::string_view();
        record_.push_back({DryDeletion::Kind::Kept, std::string(path), std::string(reason), 0});
    }
    void RecordRowsRemoved(std::string_view path, std::string_view table,
                           std::uint64_t rows) override {
        if (rows > 0)
            record_.push_back(
                {DryDeletion::Kind::Rows, std::string(path), std::string(table), rows});
    }
    platform::Status GetTempPath(std::string& path) override { return real_.GetTempPath(path); }
    platform::Status GetIdentity(std::string_view path, platform::FileIdentity& identity) override;
    platform::Status GetFinalPath(std::string_view path, std::string& final_path) override;
    platform::Status ReadCompoundStream(std::string_view path, std::string_view stream,
                                        std::string& contents) override;
    platform::Status ListDriveRoots(std::vector<std::string>& roots) override {
        return real_.ListDriveRoots(roots);
    }

  private:
    // Not found, in the words Windows uses for a missing entry or a missing folder above it.
    platform::Status Gone(std::string_view path);
    platform::Status Delete(std::string_view path, bool even_read_only);
    std::uint32_t Effective(std::string_view path, std::uint32_t real_attributes) const;
    // The real drive's answer, unless the dry run has deleted `path` or what leads to it.
    template <class Ask>
    platform::Status Visible(std::string_view path, Ask&& ask);

    platform::FileSystem& real_;
    std::vector<DryDeletion>& record_;
    Rewrites rewrites_;
    HiddenFiles hidden_;
    // The real drive's answer for each entry of the latest listing that is still there, by
    // folded path. The cleaners delete what they have just listed; the check before each of
    // those deletes takes attributes and size from here instead of asking the drive twice
    // more.
    struct Listed {
        std::uint32_t attributes;
        std::uint64_t size;
        std::size_t order;  // among the listing's files
        bool opened = false;
        platform::Status open = platform::kOk;  // what opening it for delete answered
    };
    std::unordered_map<std::string, Listed> last_listing_;
    // The listing's folder and its files' names in its order. A delete of one of them opens
    // it together with the next few not yet opened, all at once where the drive can: the
    // cleaners delete what they list, in that order. Names only, as most fit in the string
    // itself; a large cache folder lists thousands.
    std::string listed_folder_;
    std::vector<std::string> listed_files_;
    // The folder, folded, when the latest listing had everything in it ("*" or "*.*"): once
    // all it showed has gone, the folder is known to be empty without listing it again.
    std::string listed_whole_;
    void OpenAhead(std::size_t from);
    void ForgetListing();
    // Attributes the cleaners changed (to clear read-only before a delete), by folded path.
    std::map<std::string, std::uint32_t> attributes_;
};

}  // namespace qm::dry_run
