// The FileSystem calls of the simulated drive, answering with the status codes Windows gives.
#include "platform/sim/sim_file_system.h"

#include "platform/sim/sim_path.h"
#include "platform/sim/text_fold.h"
#include "platform/sim/wildcard.h"

namespace qm::sim {

using platform::Status;
namespace attr = platform::attr;

namespace {

// RemoveDirectory on a file: ERROR_DIRECTORY, "the directory name is invalid".
constexpr Status kErrorNotADirectory = 267;
constexpr Status kErrorDiskFull = 112;

// The attribute bits a program may set; the rest belong to the file system.
constexpr std::uint32_t kSettableAttributes = attr::kReadOnly | attr::kHidden | attr::kSystem |
                                              attr::kArchive | 0x100 /*temporary*/ |
                                              0x2000 /*not content indexed*/;

}  // namespace

Status SimFileSystem::List(std::string_view pattern_path,
                           std::vector<platform::DirEntry>& entries) {
    entries.clear();
    std::string_view folder_path;
    std::string_view pattern;
    SplitLastName(pattern_path, folder_path, pattern);
    if (HasWildcard(folder_path)) return platform::kErrorInvalidName;
    Node* folder = nullptr;
    const Status status = FindTarget(folder_path, folder);
    if (status == platform::kErrorInvalidName || status == kErrorCantResolveFilename) {
        return status;
    }
    if (status != platform::kOk || !folder->is_folder) return platform::kErrorPathNotFound;
    if (pattern.empty()) return platform::kErrorFileNotFound;

    if (folder->parent != nullptr) {
        if (MatchesWildcard(pattern, ".")) entries.push_back(EntryFor(*folder, "."));
        if (MatchesWildcard(pattern, "..")) entries.push_back(EntryFor(*folder->parent, ".."));
    }
    for (const auto& [key, child] : folder->children) {
        if (MatchesWildcard(pattern, child->name)) entries.push_back(EntryFor(*child, child->name));
    }
    return entries.empty() ? platform::kErrorFileNotFound : platform::kOk;
}

Status SimFileSystem::GetAttributes(std::string_view path, std::uint32_t& attributes) {
    Node* node = nullptr;
    if (const Status status = Find(path, node); status != platform::kOk) return status;
    attributes = ReportedAttributes(*node);
    return platform::kOk;
}

Status SimFileSystem::SetAttributes(std::string_view path, std::uint32_t attributes) {
    Node* node = nullptr;
    if (const Status status = Find(path, node); status != platform::kOk) return status;
    // Only the file system makes or unmakes a link.
    if (node->parent != nullptr) {
        node->attributes =
            (attributes & kSettableAttributes) | (node->attributes & attr::kReparsePoint);
    }
    return platform::kOk;
}

Status SimFileSystem::DeleteFile(std::string_view path) {
    Node* node = nullptr;
    if (const Status status = Find(path, node); status != platform::kOk) return status;
    if (node->is_folder) return platform::kErrorAccessDenied;
    if (node->lock) return platform::kErrorSharingViolation;
    if (node->attributes & attr::kReadOnly) return platform::kErrorAccessDenied;
    deletions_.push_back({Deletion::Kind::File, FullPath(*node), ""});
    node->parent->children.erase(FoldCase(node->name));
    Changed(path);
    return platform::kOk;
}

Status SimFileSystem::ForceDeleteFile(std::string_view path) {
    Node* node = nullptr;
    if (const Status status = Find(path, node); status != platform::kOk) return status;
    if (node->is_folder) return platform::kErrorAccessDenied;
    if (node->lock) return platform::kErrorSharingViolation;
    deletions_.push_back({Deletion::Kind::File, FullPath(*node), ""});
    node->parent->children.erase(FoldCase(node->name));
    return platform::kOk;
}

Status SimFileSystem::RemoveDirectory(std::string_view path) {
    Place place;
    if (const Status status = Locate(path, place); status != platform::kOk) return status;
    Node* node = place.node;
    if (node == nullptr) return platform::kErrorFileNotFound;
    if (!node->is_folder) return kErrorNotADirectory;
    if (place.folder == nullptr) return platform::kErrorAccessDenied;  // a root
    // A link has no entries of its own: it goes, whatever its target holds.
    if (node->lock) return platform::kErrorSharingViolation;
    if (node->attributes & attr::kReadOnly) return platform::kErrorAccessDenied;
    if (!node->children.empty()) return platform::kErrorDirNotEmpty;
    deletions_.push_back({Deletion::Kind::Folder, FullPath(*node), ""});
    node->parent->children.erase(FoldCase(node->name));
    return platform::kOk;
}

Status SimFileSystem::CreateDirectory(std::string_view path) {
    Place place;
    if (const Status status = Locate(path, place); status != platform::kOk) return status;
    if (place.node != nullptr) return platform::kErrorAlreadyExists;
    CreateChild(*place.folder, place.leaf, true);
    return platform::kOk;
}

Status SimFileSystem::OpenForRead(std::string_view path) {
    Node* node = nullptr;
    if (const Status status = Find(path, node); status != platform::kOk) return status;
    if (node->is_folder) return platform::kErrorAccessDenied;
    if (node->lock == LockMode::Exclusive) return platform::kErrorSharingViolation;
    return platform::kOk;
}

Status SimFileSystem::OpenForDelete(std::string_view path) {
    Node* node = nullptr;
    if (const Status status = Find(path, node); status != platform::kOk) return status;
    return node->lock ? platform::kErrorSharingViolation : platform::kOk;
}

Status SimFileSystem::ReadFile(std::string_view path, std::string& contents) {
    Node* node = nullptr;
    if (const Status status = OpenForRead(path); status != platform::kOk) return status;
    Find(path, node);
    contents = node->contents;
    return platform::kOk;
}

Status SimFileSystem::WriteFile(std::string_view path, std::string_view contents) {
    Place place;
    if (const Status status = Locate(path, place); status != platform::kOk) return status;
    Node* node = place.node;
    if (node == nullptr) {
        if (place.folder == nullptr) return platform::kErrorAccessDenied;
        // Windows marks every newly written file for backup.
        node = &CreateChild(*place.folder, place.leaf, false);
        node->attributes = attr::kArchive;
    } else {
        if (node->is_folder) return platform::kErrorAccessDenied;
        if (node->attributes & attr::kReadOnly) return platform::kErrorAccessDenied;
        if (node->lock) return platform::kErrorSharingViolation;
        node->attributes |= attr::kArchive;
    }
    // The file is emptied before anything is written to it, so a full disk leaves what fitted.
    const std::optional<std::uint64_t> room = RoomOn(*place.folder);
    const std::uint64_t fits = room ? *room + node->contents.size() : contents.size();
    const bool whole = contents.size() <= fits;
    node->contents = std::string(whole ? contents : contents.substr(0, fits));
    Changed(path);
    return whole ? platform::kOk : kErrorDiskFull;
}

}  // namespace qm::sim
