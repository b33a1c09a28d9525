// The tree behind SimFileSystem: path look-up, test set-up helpers and copying.
#include <stdexcept>

#include "platform/sim/sim_file_system.h"
#include "platform/sim/sim_path.h"
#include "platform/sim/text_fold.h"

namespace qm::sim {

using platform::Status;
namespace attr = platform::attr;

SimFileSystem::SimFileSystem(std::vector<Deletion>& deletions,
                             const platform::VersionRecord& version)
    : deletions_(deletions), version_(version), root_(std::make_unique<Node>()) {
    root_->name = "C:";
    root_->is_folder = true;
}

SimFileSystem::~SimFileSystem() = default;

Status SimFileSystem::Locate(std::string_view path, Place& place) const {
    place = {};
    std::vector<std::string> names;
    if (const Status status = SplitWindowsPath(path, names); status != platform::kOk) {
        return status;
    }
    if (names.empty()) {
        place.node = root_.get();
        return platform::kOk;
    }
    Node* folder = root_.get();
    for (std::size_t i = 0; i + 1 < names.size(); ++i) {
        const auto found = folder->children.find(FoldCase(names[i]));
        if (found == folder->children.end() || !found->second->is_folder) {
            return platform::kErrorPathNotFound;
        }
        folder = found->second.get();
    }
    place.folder = folder;
    place.leaf = names.back();
    const auto found = folder->children.find(FoldCase(place.leaf));
    if (found != folder->children.end()) place.node = found->second.get();
    return platform::kOk;
}

Status SimFileSystem::Find(std::string_view path, Node*& node) const {
    Place place;
    if (const Status status = Locate(path, place); status != platform::kOk) return status;
    if (place.node == nullptr) return platform::kErrorFileNotFound;
    node = place.node;
    return platform::kOk;
}

SimFileSystem::Node& SimFileSystem::CreateChild(Node& folder, const std::string& name,
                                                bool is_folder) {
    auto node = std::make_unique<Node>();
    node->name = name;
    node->is_folder = is_folder;
    node->parent = &folder;
    Node& created = *node;
    folder.children[FoldCase(name)] = std::move(node);
    return created;
}

SimFileSystem::Node& SimFileSystem::EnsureFolder(std::string_view path) {
    std::vector<std::string> names;
    if (SplitWindowsPath(path, names) != platform::kOk) {
        throw std::invalid_argument("not a path on drive C: " + std::string(path));
    }
    Node* folder = root_.get();
    for (const std::string& name : names) {
        const auto found = folder->children.find(FoldCase(name));
        if (found == folder->children.end()) {
            folder = &CreateChild(*folder, name, true);
        } else if (!found->second->is_folder) {
            throw std::invalid_argument("a file stands where a folder should be: " +
                                        std::string(path));
        } else {
            folder = found->second.get();
        }
    }
    return *folder;
}

std::string SimFileSystem::FullPath(const Node& node) {
    if (node.parent == nullptr) return node.name + "\\";
    if (node.parent->parent == nullptr) return node.parent->name + "\\" + node.name;
    return FullPath(*node.parent) + "\\" + node.name;
}

std::uint32_t SimFileSystem::ReportedAttributes(const Node& node) {
    if (node.is_folder) return node.attributes | attr::kDirectory;
    return node.attributes == 0 ? attr::kNormal : node.attributes;
}

platform::DirEntry SimFileSystem::EntryFor(const Node& node, std::string name) {
    return {std::move(name), ReportedAttributes(node),
            node.is_folder ? 0 : static_cast<std::uint64_t>(node.contents.size())};
}

void SimFileSystem::AddFile(const std::string& path, const std::string& contents,
                            std::uint32_t attributes) {
    std::string_view folder_path;
    std::string_view name;
    SplitLastName(path, folder_path, name);
    Node& folder = EnsureFolder(folder_path);
    std::vector<std::string> names;
    if (SplitWindowsPath(path, names) != platform::kOk || names.empty()) {
        throw std::invalid_argument("not a file path on drive C: " + path);
    }
    const auto found = folder.children.find(FoldCase(names.back()));
    if (found != folder.children.end() && found->second->is_folder) {
        throw std::invalid_argument("a folder stands where the file should be: " + path);
    }
    Node& file =
        found != folder.children.end() ? *found->second : CreateChild(folder, names.back(), false);
    file.contents = contents;
    file.attributes = attributes & ~(attr::kDirectory | attr::kNormal);
}

void SimFileSystem::AddFolder(const std::string& path, std::uint32_t attributes) {
    Node& folder = EnsureFolder(path);
    if (folder.parent != nullptr) {
        folder.attributes = attributes & ~(attr::kDirectory | attr::kNormal);
    }
}

bool SimFileSystem::Exists(std::string_view path) const {
    Node* node = nullptr;
    return Find(path, node) == platform::kOk;
}

void SimFileSystem::Lock(const std::string& path, LockMode mode) {
    Node* node = nullptr;
    if (Find(path, node) != platform::kOk || node->parent == nullptr) {
        throw std::invalid_argument("nothing to lock at " + path);
    }
    node->lock = mode;
}

void SimFileSystem::Unlock(const std::string& path) {
    Node* node = nullptr;
    if (Find(path, node) == platform::kOk) node->lock.reset();
}

void SimFileSystem::CollectPaths(const Node& folder, std::vector<std::string>& paths) const {
    for (const auto& [key, child] : folder.children) {
        paths.push_back(FullPath(*child));
        if (child->is_folder) CollectPaths(*child, paths);
    }
}

std::vector<std::string> SimFileSystem::AllPaths() const {
    std::vector<std::string> paths;
    CollectPaths(*root_, paths);
    return paths;
}

void SimFileSystem::CopyInto(const Node& source, Node& folder, const std::string& name) {
    const auto found = folder.children.find(FoldCase(name));
    if (found != folder.children.end() && found->second->is_folder != source.is_folder) {
        folder.children.erase(found);
    }
    const auto existing = folder.children.find(FoldCase(name));
    Node& copy =
        existing != folder.children.end() ? *existing->second : CreateChild(folder, name, false);
    copy.is_folder = source.is_folder;
    copy.attributes = source.attributes;
    copy.contents = source.contents;
    for (const auto& [key, child] : source.children) CopyInto(*child, copy, child->name);
}

Status SimFileSystem::Copy(std::string_view source, std::string_view target) {
    Node* from = nullptr;
    if (const Status status = Find(source, from); status != platform::kOk) return status;
    std::vector<std::string> names;
    if (const Status status = SplitWindowsPath(target, names); status != platform::kOk) {
        return status;
    }
    if (names.empty() || from->parent == nullptr) return platform::kErrorAccessDenied;
    // The shell makes missing target folders without asking when confirmations are off.
    std::string folder_path = "C:";
    for (std::size_t i = 0; i + 1 < names.size(); ++i) folder_path += "\\" + names[i];
    Node* target_folder = nullptr;
    try {
        target_folder = &EnsureFolder(folder_path);
    } catch (const std::invalid_argument&) {
        return platform::kErrorPathNotFound;
    }
    Node& folder = *target_folder;
    // Copying a folder into itself would never end.
    for (const Node* up = &folder; up != nullptr; up = up->parent) {
        if (up == from) return platform::kErrorAccessDenied;
    }
    const auto existing = folder.children.find(FoldCase(names.back()));
    if (existing != folder.children.end()) {
        if (existing->second.get() == from) return platform::kErrorAccessDenied;
        if (existing->second->lock) return platform::kErrorSharingViolation;
    }
    CopyInto(*from, folder, names.back());
    return platform::kOk;
}

bool SimFileSystem::DeleteNodeTree(Node& node) {
    bool all_gone = true;
    if (node.is_folder) {
        std::vector<Node*> children;
        for (auto& [key, child] : node.children) children.push_back(child.get());
        for (Node* child : children) all_gone = DeleteNodeTree(*child) && all_gone;
    }
    if (!all_gone || node.lock) return false;
    deletions_.push_back(
        {node.is_folder ? Deletion::Kind::Folder : Deletion::Kind::File, FullPath(node), ""});
    node.parent->children.erase(FoldCase(node.name));
    return true;
}

Status SimFileSystem::DeleteTree(std::string_view path) {
    Node* node = nullptr;
    if (const Status status = Find(path, node); status != platform::kOk) return status;
    if (node->parent == nullptr) return platform::kErrorAccessDenied;
    return DeleteNodeTree(*node) ? platform::kOk : platform::kErrorSharingViolation;
}

void SimFileSystem::CollectFiles(const Node& folder, const std::string& prefix,
                                 std::vector<std::string>& names) const {
    for (const auto& [key, child] : folder.children) {
        if (child->is_folder) {
            CollectFiles(*child, prefix + child->name + "\\", names);
        } else {
            names.push_back(prefix + child->name);
        }
    }
}

std::vector<std::string> SimFileSystem::FilesBelow(std::string_view folder) const {
    std::vector<std::string> names;
    Node* node = nullptr;
    if (Find(folder, node) == platform::kOk && node->is_folder) CollectFiles(*node, "", names);
    return names;
}

}  // namespace qm::sim
