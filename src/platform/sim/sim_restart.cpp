// What the simulated drive keeps for the next restart, and the folder for temporary files.
#include "platform/sim/sim_file_system.h"
#include "platform/sim/text_fold.h"

namespace qm::sim {

using platform::Status;

Status SimFileSystem::ScheduleDeleteAtRestart(std::string_view path) {
    // Windows 95/98/ME keep such work in WININIT.INI, which MoveFileEx does not write.
    if (version_.platform == 1) return platform::kErrorCallNotImplemented;
    Node* node = nullptr;
    if (const Status status = Find(path, node); status != platform::kOk) return status;
    if (node->parent == nullptr) return platform::kErrorAccessDenied;
    scheduled_.emplace_back(path);
    return platform::kOk;
}

void SimFileSystem::Restart() {
    for (Node* root : Roots()) ReleaseLocks(*root);
    for (const std::string& path : scheduled_) {
        Node* node = nullptr;
        if (Find(path, node) != platform::kOk) continue;
        // The boot-time delete does not clear the read-only bit, so such a file survives.
        if (node->attributes & platform::attr::kReadOnly) continue;
        if (node->is_folder && !node->children.empty()) continue;
        deletions_.push_back(
            {node->is_folder ? Deletion::Kind::Folder : Deletion::Kind::File, FullPath(*node), ""});
        node->parent->children.erase(FoldCase(node->name));
    }
    scheduled_.clear();
}

void SimFileSystem::ReleaseLocks(Node& folder) {
    for (auto& [key, child] : folder.children) {
        child->lock.reset();
        if (child->is_folder) ReleaseLocks(*child);
    }
}

void SimFileSystem::SetTempPath(const std::string& path) {
    temp_path_ = path;
    if (temp_path_.empty() || temp_path_.back() != '\\') temp_path_ += '\\';
}

Status SimFileSystem::GetTempPath(std::string& path) {
    // Like GetTempPath, this only reports the setting; the folder need not exist.
    path = temp_path_;
    return platform::kOk;
}

}  // namespace qm::sim
