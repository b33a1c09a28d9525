// Writing a file through to the disk and putting it in the place of another, with the faults
// an upgrade must survive: a disk that fills up, a replace that stops half-way, and a hook
// after any change where a test can end the program or spoil what was written.
#include "platform/sim/sim_file_system.h"
#include "platform/sim/text_fold.h"

namespace qm::sim {

using platform::Status;

namespace {

constexpr Status kErrorNotSameDevice = 17;
constexpr Status kErrorUnableToMoveReplacement2 = 1177;

}  // namespace

const SimFileSystem::Node& SimFileSystem::RootNode(const Node& node) {
    const Node* root = &node;
    while (root->parent != nullptr) root = root->parent;
    return *root;
}

std::uint64_t SimFileSystem::BytesBelow(const Node& folder) {
    std::uint64_t bytes = folder.contents.size();
    for (const auto& [key, child] : folder.children) bytes += BytesBelow(*child);
    return bytes;
}

std::optional<std::uint64_t> SimFileSystem::RoomOn(const Node& folder) const {
    const Node& root = RootNode(folder);
    const auto capacity = capacity_.find(&root);
    if (capacity == capacity_.end()) return std::nullopt;
    const std::uint64_t used = BytesBelow(root);
    return used < capacity->second ? capacity->second - used : 0;
}

void SimFileSystem::SetFreeSpace(char drive, std::uint64_t bytes) {
    const Node& root = *drives_.at(static_cast<char>(drive & ~0x20)).root;
    capacity_[&root] = BytesBelow(root) + bytes;
}

void SimFileSystem::AfterFileChange(std::size_t count,
                                    std::function<void(const std::string&)> action) {
    changes_until_action_ = count;
    after_change_ = std::move(action);
}

void SimFileSystem::Changed(std::string_view path) {
    if (changes_until_action_ == 0 || --changes_until_action_ != 0) return;
    // Taken out first: the action may throw to end the program there.
    const auto action = std::move(after_change_);
    after_change_ = nullptr;
    action(std::string(path));
}

void SimFileSystem::Rename(Node& node, Node& folder, const std::string& name) {
    std::unique_ptr<Node> moved = std::move(node.parent->children.at(FoldCase(node.name)));
    node.parent->children.erase(FoldCase(node.name));
    if (const auto old = folder.children.find(FoldCase(name)); old != folder.children.end()) {
        deletions_.push_back({Deletion::Kind::File, FullPath(*old->second), ""});
        folder.children.erase(old);
    }
    moved->name = name;
    moved->parent = &folder;
    folder.children[FoldCase(name)] = std::move(moved);
}

Status SimFileSystem::WriteFileThrough(std::string_view path, std::string_view contents) {
    // Nothing here is ever lost to a cache: every write already reaches the disk.
    return WriteFile(path, contents);
}

Status SimFileSystem::ReplaceFile(std::string_view replaced, std::string_view replacement,
                                  std::string_view backup) {
    Place old_place, new_place, backup_place;
    if (const Status status = Locate(replacement, new_place); status != platform::kOk)
        return status;
    if (const Status status = Locate(replaced, old_place); status != platform::kOk) return status;
    if (const Status status = Locate(backup, backup_place); status != platform::kOk) return status;
    Node* old_file = old_place.node;
    Node* new_file = new_place.node;
    if (old_file == nullptr || new_file == nullptr) return platform::kErrorFileNotFound;
    if (old_file->is_folder || new_file->is_folder) return platform::kErrorAccessDenied;
    if (old_file->lock || new_file->lock) return platform::kErrorSharingViolation;
    if (old_file->attributes & platform::attr::kReadOnly) return platform::kErrorAccessDenied;
    if (&RootNode(*old_file) != &RootNode(*new_file)) return kErrorNotSameDevice;
    Rename(*old_file, *backup_place.folder, backup_place.leaf);
    if (replace_half_way_) {
        replace_half_way_ = false;
        Changed(replaced);
        return kErrorUnableToMoveReplacement2;
    }
    Rename(*new_file, *old_place.folder, old_place.leaf);
    Changed(replaced);
    return platform::kOk;
}

Status SimFileSystem::MoveFileReplacing(std::string_view source, std::string_view target) {
    Node* from = nullptr;
    if (const Status status = Find(source, from); status != platform::kOk) return status;
    Place to;
    if (const Status status = Locate(target, to); status != platform::kOk) return status;
    if (to.folder == nullptr) return platform::kErrorAccessDenied;
    if (to.node == from) return platform::kOk;
    if (from->lock) return platform::kErrorSharingViolation;
    if (to.node != nullptr) {
        if (to.node->is_folder || (to.node->attributes & platform::attr::kReadOnly))
            return platform::kErrorAccessDenied;
        if (to.node->lock) return platform::kErrorAccessDenied;
    }
    if (&RootNode(*from) != &RootNode(*to.folder)) return kErrorNotSameDevice;
    Rename(*from, *to.folder, to.leaf);
    Changed(target);
    return platform::kOk;
}

}  // namespace qm::sim
