#include "platform/dry_run/dry_files.h"

#include <algorithm>

namespace qm::dry_run {

using platform::Status;
namespace attr = platform::attr;

namespace {

// RemoveDirectory on a file: ERROR_DIRECTORY.
constexpr Status kErrorNotADirectory = 267;
constexpr std::uint32_t kSettable = attr::kReadOnly | attr::kHidden | attr::kSystem |
                                    attr::kArchive | 0x100 /*temporary*/ |
                                    0x2000 /*not content indexed*/;

std::string_view FolderOf(std::string_view path) {
    const std::size_t cut = path.find_last_of('\\');
    return cut == std::string_view::npos ? std::string_view() : path.substr(0, cut);
}

bool IsDot(std::string_view name) {
    return name == "." || name == "..";
}

std::string Joined(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (path.empty() || path.back() != '\\') path.push_back('\\');
    return path.append(name);
}

}  // namespace

Status DryFiles::Gone(std::string_view path) {
    return hidden_.Covers(FolderOf(path)) ? platform::kErrorPathNotFound
                                          : platform::kErrorFileNotFound;
}

template <class Ask>
Status DryFiles::Visible(std::string_view path, Ask&& ask) {
    if (hidden_.Removed(path) || hidden_.Deleted(path)) return Gone(path);
    const Status status = ask();
    // Below a deleted file the drive has nothing either; say so as Windows would.
    return status != platform::kOk && hidden_.Covers(path) ? Gone(path) : status;
}

std::uint32_t DryFiles::Effective(std::string_view path, std::uint32_t real_attributes) const {
    const auto changed = attributes_.find(HiddenNames::Fold(path));
    if (changed == attributes_.end()) return real_attributes;
    const std::uint32_t both = (real_attributes & ~(kSettable | attr::kNormal)) | changed->second;
    // Windows reports a file left with no bit at all as "normal".
    return both == 0 ? attr::kNormal : both;
}

Status DryFiles::List(std::string_view pattern_path, std::vector<platform::DirEntry>& entries) {
    if (const auto rewritten = rewrites_.Find(pattern_path)) {
        const std::size_t cut = pattern_path.find_last_of('\\');
        entries = {{std::string(pattern_path.substr(cut + 1)), attr::kArchive,
                    rewritten->contents.size()}};
        return platform::kOk;
    }
    const std::string_view folder = FolderOf(pattern_path);
    ForgetListing();
    const bool gone = hidden_.Removed(folder);
    const Status status = gone ? platform::kErrorPathNotFound : real_.List(pattern_path, entries);
    if (status != platform::kOk) {
        if (!gone && !hidden_.Covers(folder)) return status;
        entries.clear();
        return platform::kErrorPathNotFound;
    }
    std::erase_if(entries, [&](platform::DirEntry& entry) {
        if (IsDot(entry.name)) return false;
        const std::string path = Joined(folder, entry.name);
        if (hidden_.Deleted(path)) return true;
        last_listing_[HiddenNames::Fold(path)] = {entry.attributes, entry.size,
                                                  listed_files_.size()};
        if ((entry.attributes & attr::kDirectory) == 0) listed_files_.push_back(entry.name);
        entry.attributes = Effective(path, entry.attributes);
        return false;
    });
    if (entries.empty()) return platform::kErrorFileNotFound;
    listed_folder_ = folder;
    const std::string_view mask =
        pattern_path.substr(std::min(folder.size() + 1, pattern_path.size()));
    if (mask == "*" || mask == "*.*") listed_whole_ = HiddenNames::Fold(folder);
    return platform::kOk;
}

Status DryFiles::GetAttributes(std::string_view path, std::uint32_t& attributes) {
    if (const auto rewritten = rewrites_.Find(path); rewritten && rewritten->made) {
        attributes = attr::kArchive;
        return platform::kOk;
    }
    if (hidden_.Removed(path)) return Gone(path);
    std::uint32_t real = 0;
    const Status status = real_.GetAttributes(path, real);
    if (status != platform::kOk) return hidden_.Covers(path) ? Gone(path) : status;
    // Only files are deleted one by one; a folder is never one of them, and not asking spares
    // gathering its parent's deleted names while a tree is taken down.
    if ((real & attr::kDirectory) == 0 && hidden_.Deleted(path)) return Gone(path);
    attributes = Effective(path, real);
    return status;
}

Status DryFiles::SetAttributes(std::string_view path, std::uint32_t attributes) {
    std::uint32_t now = 0;
    if (const Status status = GetAttributes(path, now); status != platform::kOk) return status;
    attributes_[HiddenNames::Fold(path)] = attributes & kSettable;
    return platform::kOk;
}

Status DryFiles::DeleteFile(std::string_view path) {
    return Delete(path, false);
}

Status DryFiles::ForceDeleteFile(std::string_view path) {
    return Delete(path, true);
}

Status DryFiles::Delete(std::string_view path, bool even_read_only) {
    if (const auto rewritten = rewrites_.Find(path)) {
        rewrites_.Remove(path);
        if (rewritten->made) return platform::kOk;  // never on the drive: nothing to record
    }
    std::uint32_t attributes = 0;
    std::uint64_t size = 0;
    // What the latest listing holds is still there: deletes and removals take their own out.
    const auto listed = last_listing_.find(HiddenNames::Fold(path));
    if (listed == last_listing_.end()) {
        if (const Status status = GetAttributes(path, attributes); status != platform::kOk) {
            return status;
        }
        std::vector<platform::DirEntry> self;
        if (real_.List(path, self) == platform::kOk && !self.empty()) size = self.front().size;
    } else {
        attributes = Effective(path, listed->second.attributes);
        size = listed->second.size;
    }
    if ((attributes & attr::kDirectory) != 0) return platform::kErrorAccessDenied;
    if (listed != last_listing_.end() && !listed->second.opened) OpenAhead(listed->second.order);
    const Status open =
        listed == last_listing_.end() ? real_.OpenForDelete(path) : listed->second.open;
    if (open != platform::kOk) return open;
    if (!even_read_only && (attributes & attr::kReadOnly) != 0) return platform::kErrorAccessDenied;
    record_.push_back({DryDeletion::Kind::File, std::string(path), "", size});
    hidden_.HideFile(path, record_.size() - 1);
    if (listed != last_listing_.end()) last_listing_.erase(listed);
    return platform::kOk;
}

void DryFiles::ForgetListing() {
    last_listing_.clear();
    listed_folder_.clear();
    listed_files_.clear();
    listed_whole_.clear();
}

void DryFiles::OpenAhead(std::size_t from) {
    // Enough to keep a few threads busy, few enough that a cleaner deleting only the first
    // of a large folder's files opens little more.
    constexpr std::size_t kAhead = 64;
    std::vector<std::string> paths;
    std::vector<Listed*> slots;
    for (std::size_t i = from; i < listed_files_.size() && paths.size() < kAhead; ++i) {
        std::string path = Joined(listed_folder_, listed_files_[i]);
        const auto listed = last_listing_.find(HiddenNames::Fold(path));
        if (listed == last_listing_.end() || listed->second.opened) continue;
        paths.push_back(std::move(path));
        slots.push_back(&listed->second);
    }
    const std::vector<std::string_view> views(paths.begin(), paths.end());
    std::vector<Status> results(paths.size());
    real_.OpenEachForDelete(views, results);
    for (std::size_t i = 0; i < slots.size(); ++i) {
        slots[i]->opened = true;
        slots[i]->open = results[i];
    }
}

Status DryFiles::RemoveDirectory(std::string_view path) {
    std::uint32_t attributes = 0;
    if (const Status status = GetAttributes(path, attributes); status != platform::kOk) {
        return status;
    }
    if ((attributes & attr::kDirectory) == 0) return kErrorNotADirectory;
    std::string_view folder = path;
    while (!folder.empty() && folder.back() == '\\') folder.remove_suffix(1);
    if (folder.find('\\') == std::string_view::npos) return platform::kErrorAccessDenied;  // a root
    if (const Status status = real_.OpenForDelete(path); status != platform::kOk) return status;
    if ((attributes & attr::kReadOnly) != 0) return platform::kErrorAccessDenied;
    // A link goes whatever its target holds; a folder only once everything in it has gone.
    const bool emptied = last_listing_.empty() && listed_whole_ == HiddenNames::Fold(folder);
    if ((attributes & attr::kReparsePoint) == 0 && !emptied) {
        std::vector<platform::DirEntry> inside;
        List(Joined(folder, "*"), inside);
        for (const platform::DirEntry& entry : inside) {
            if (!IsDot(entry.name)) return platform::kErrorDirNotEmpty;
        }
    }
    record_.push_back({DryDeletion::Kind::Folder, std::string(folder), "", 0});
    hidden_.HideFolder(folder);
    // A link goes without the listing above, so what was listed through it goes here.
    ForgetListing();
    return platform::kOk;
}

Status DryFiles::CreateDirectory(std::string_view path) {
    // A folder removed on the way (the temporary folder, made again empty) counts as made.
    if (hidden_.Covers(path)) return platform::kOk;
    std::uint32_t attributes = 0;
    if (real_.GetAttributes(path, attributes) == platform::kOk) {
        return platform::kErrorAlreadyExists;
    }
    return platform::kOk;
}

Status DryFiles::OpenAlone(std::string_view path, platform::OpenMode mode,
                           std::unique_ptr<platform::OpenFile>& file) {
    file.reset();
    if (auto rewritten = rewrites_.Find(path)) {
        file = OpenRewrite(std::move(rewritten), mode != platform::OpenMode::Read);
        return platform::kOk;
    }
    std::unique_ptr<platform::OpenFile> real;
    const Status status =
        Visible(path, [&] { return real_.OpenAlone(path, platform::OpenMode::Read, real); });
    if (mode == platform::OpenMode::Read || status != platform::kOk) {
        if (status == platform::kOk) file = std::move(real);
        if (status != platform::kErrorFileNotFound || mode != platform::OpenMode::OpenOrCreate)
            return status;
        std::uint32_t folder = 0;
        if (GetAttributes(FolderOf(path), folder) != platform::kOk ||
            (folder & attr::kDirectory) == 0)
            return platform::kErrorPathNotFound;
        file = OpenRewrite(rewrites_.Add(path, "", true), true);
        return platform::kOk;
    }
    std::uint32_t attributes = 0;
    if (GetAttributes(path, attributes) == platform::kOk && (attributes & attr::kReadOnly))
        return platform::kErrorAccessDenied;
    const std::string name(path);
    file = OpenCopyOnWrite(std::move(real), [this, name](std::string contents) {
        return rewrites_.Add(name, std::move(contents), false);
    });
    return platform::kOk;
}

Status DryFiles::MoveFileReplacing(std::string_view source, std::string_view target) {
    const auto made = rewrites_.Find(source);
    if (made == nullptr || !made->made) return platform::kErrorAccessDenied;
    std::uint32_t attributes = 0;
    const bool exists = GetAttributes(target, attributes) == platform::kOk;
    if (exists && (attributes & (attr::kReadOnly | attr::kDirectory)))
        return platform::kErrorAccessDenied;
    rewrites_.Move(source, target, exists);
    return platform::kOk;
}

Status DryFiles::OpenForRead(std::string_view path) {
    return Visible(path, [&] { return real_.OpenForRead(path); });
}

Status DryFiles::OpenForDelete(std::string_view path) {
    return Visible(path, [&] { return real_.OpenForDelete(path); });
}

Status DryFiles::ReadFile(std::string_view path, std::string& contents) {
    if (const auto rewritten = rewrites_.Find(path)) {
        contents = rewritten->contents;
        return platform::kOk;
    }
    return Visible(path, [&] { return real_.ReadFile(path, contents); });
}

Status DryFiles::WriteFile(std::string_view path, std::string_view) {
    return hidden_.Covers(FolderOf(path)) ? platform::kErrorPathNotFound : platform::kOk;
}

Status DryFiles::ScheduleDeleteAtRestart(std::string_view path) {
    // Windows takes only what is there to delete.
    std::uint32_t attributes = 0;
    if (const Status status = GetAttributes(path, attributes); status != platform::kOk) {
        return status;
    }
    record_.push_back({DryDeletion::Kind::AtRestart, std::string(path), "", 0});
    return platform::kOk;
}

Status DryFiles::GetIdentity(std::string_view path, platform::FileIdentity& identity) {
    return Visible(path, [&] { return real_.GetIdentity(path, identity); });
}

Status DryFiles::ReadCompoundStream(std::string_view path, std::string_view stream,
                                    std::string& contents) {
    return Visible(path, [&] { return real_.ReadCompoundStream(path, stream, contents); });
}

Status DryFiles::GetFinalPath(std::string_view path, std::string& final_path) {
    return Visible(path, [&] { return real_.GetFinalPath(path, final_path); });
}

}  // namespace qm::dry_run
