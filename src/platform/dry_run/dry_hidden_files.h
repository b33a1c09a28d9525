#pragma once
// The files and folders a dry run has deleted, kept in room that does not grow with the
// number of files: a removed folder is one name and stands for everything below it, and a
// file deleted in a folder that still stands is only its place in the record. The names of
// one folder at a time are gathered from the record when that folder is asked about.
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "platform/dry_run/dry_record.h"

namespace qm::dry_run {

class HiddenFiles {
  public:
    explicit HiddenFiles(const std::vector<DryDeletion>& record) : record_(record) {}

    // `path` is a file, deleted as record[at].
    void HideFile(std::string_view path, std::size_t at);
    void HideFolder(std::string_view path);
    // The record is about to be handed over: what it still names is kept without it.
    void KeepAcrossTake();

    // `path` or a folder above it was removed.
    bool Removed(std::string_view path) const;
    // `path` itself was deleted, as a file or as a folder.
    bool Deleted(std::string_view path);
    // `path` or anything on the way to it was deleted. Deleted files were files on the drive,
    // so a path below one is not there either: callers ask this once the drive said no.
    bool Covers(std::string_view path);

  private:
    struct Folder {
        std::vector<std::pair<std::size_t, std::size_t>> ranges;  // [first, end) of the record
        std::vector<std::uint64_t> kept;  // sorted hashes of names deleted before a take
    };
    bool DeletedFile(std::string_view folded);
    bool RemovedExactly(std::string_view folded) const;

    const std::vector<DryDeletion>& record_;
    std::set<std::string, std::less<>> removed_;        // folded; none below another
    std::map<std::string, Folder, std::less<>> files_;  // by folded folder
    // The names deleted in one folder, gathered for the folder asked about last.
    std::string cached_folder_;
    bool cached_ = false;
    std::unordered_set<std::uint64_t> cached_names_;
};

}  // namespace qm::dry_run
