#include "platform/recording/recording_files.h"

#include "platform/dry_run/dry_record.h"

namespace qm::recording {

using dry_run::HiddenNames;
using platform::Status;
using Kind = Removal::Kind;

namespace {

constexpr std::size_t kMostListedSizes = 1u << 16;

}  // namespace

Status RecordingFiles::List(std::string_view pattern_path,
                            std::vector<platform::DirEntry>& entries) {
    const Status status = real_.List(pattern_path, entries);
    if (status != platform::kOk) return status;
    if (listed_sizes_.size() > kMostListedSizes) listed_sizes_.clear();
    const std::size_t cut = pattern_path.find_last_of('\\');
    const std::string folder(pattern_path.substr(0, cut == std::string_view::npos ? 0 : cut + 1));
    for (const platform::DirEntry& entry : entries) {
        if ((entry.attributes & platform::attr::kDirectory) == 0)
            listed_sizes_[HiddenNames::Fold(folder + entry.name)] = entry.size;
    }
    return status;
}

std::uint64_t RecordingFiles::SizeOf(std::string_view path) {
    if (const auto listed = listed_sizes_.find(HiddenNames::Fold(path));
        listed != listed_sizes_.end())
        return listed->second;
    std::vector<platform::DirEntry> self;
    return real_.List(path, self) == platform::kOk && self.size() == 1 ? self.front().size : 0;
}

Status RecordingFiles::Delete(std::string_view path, bool even_read_only) {
    const std::string folded = HiddenNames::Fold(path);
    if (made_.contains(folded)) {
        const Status status = even_read_only ? real_.ForceDeleteFile(path) : real_.DeleteFile(path);
        if (status == platform::kOk) made_.erase(folded);
        return status;
    }
    // Taken before the file goes: afterwards there is nothing left to ask.
    const std::uint64_t size = SizeOf(path);
    const Status status = even_read_only ? real_.ForceDeleteFile(path) : real_.DeleteFile(path);
    record_.Note(Kind::File, path, "", size, status);
    if (status == platform::kOk) listed_sizes_.erase(folded);
    return status;
}

Status RecordingFiles::RemoveDirectory(std::string_view path) {
    std::string_view folder = path;
    while (folder.size() > 3 && folder.back() == '\\') folder.remove_suffix(1);
    const Status status = real_.RemoveDirectory(path);
    record_.Note(Kind::Folder, folder, "", 0, status);
    return status;
}

Status RecordingFiles::ScheduleDeleteAtRestart(std::string_view path) {
    const Status status = real_.ScheduleDeleteAtRestart(path);
    record_.Note(Kind::AtRestart, path, "", 0, status);
    return status;
}

template <class Make>
Status RecordingFiles::Made(std::string_view path, Make&& make) {
    std::uint32_t attributes = 0;
    const bool there = real_.GetAttributes(path, attributes) == platform::kOk;
    const Status status = make();
    if (status == platform::kOk && !there) made_.insert(HiddenNames::Fold(path));
    return status;
}

Status RecordingFiles::OpenAlone(std::string_view path, platform::OpenMode mode,
                                 std::unique_ptr<platform::OpenFile>& file) {
    if (mode != platform::OpenMode::OpenOrCreate) return real_.OpenAlone(path, mode, file);
    return Made(path, [&] { return real_.OpenAlone(path, mode, file); });
}

Status RecordingFiles::WriteFile(std::string_view path, std::string_view contents) {
    return Made(path, [&] { return real_.WriteFile(path, contents); });
}

Status RecordingFiles::WriteFileThrough(std::string_view path, std::string_view contents) {
    return Made(path, [&] { return real_.WriteFileThrough(path, contents); });
}

Status RecordingFiles::MoveFileReplacing(std::string_view source, std::string_view target) {
    const Status status = real_.MoveFileReplacing(source, target);
    // The file made takes an old one's place: the old one's content is rewritten, not removed.
    if (status == platform::kOk) made_.erase(HiddenNames::Fold(source));
    return status;
}

void RecordingFiles::RecordRowsRemoved(std::string_view path, std::string_view table,
                                       std::uint64_t rows) {
    if (rows > 0) record_.Add({Kind::Rows, std::string(path), std::string(table), rows});
    real_.RecordRowsRemoved(path, table, rows);
}

void RecordingFiles::RecordKept(std::string_view path, KeptFor why) {
    const std::string_view reason = why == KeptFor::Exclusion ? dry_run::kKeptExcluded
                                    : why == KeptFor::Pins    ? dry_run::kKeptPinned
                                                              : std::string_view();
    record_.Add({Kind::Kept, std::string(path), std::string(reason), 0});
    real_.RecordKept(path, why);
}

}  // namespace qm::recording
