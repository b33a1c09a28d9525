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
    : deletions_(deletions), version_(version) {
    drives_['C'].root = MakeRoot("C:");
}

SimFileSystem::~SimFileSystem() = default;

Status SimFileSystem::Locate(std::string_view path, Place& place) const {
    int hops = 0;
    return Locate(path, place, hops);
}

Status SimFileSystem::Locate(std::string_view path, Place& place, int& hops) const {
    place = {};
    WindowsPath parsed;
    if (const Status status = ParseWindowsPath(path, current_folder_, parsed); status != 0) {
        return status;
    }
    Node* folder = nullptr;
    if (const Status status = RootOf(parsed.root, folder, hops); status != platform::kOk) {
        return status;
    }
    if (parsed.names.empty()) {
        place.node = folder;
        return platform::kOk;
    }
    for (std::size_t i = 0; i + 1 < parsed.names.size(); ++i) {
        const auto found = folder->children.find(FoldCase(parsed.names[i]));
        if (found == folder->children.end() || !found->second->is_folder) {
            return platform::kErrorPathNotFound;
        }
        folder = found->second.get();
        if (const Status status = Follow(folder, hops); status != platform::kOk) {
            return status == kErrorCantResolveFilename ? status : platform::kErrorPathNotFound;
        }
    }
    place.folder = folder;
    place.leaf = parsed.names.back();
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

Status SimFileSystem::FindTarget(std::string_view path, Node*& node) const {
    int hops = 0;
    Place place;
    if (const Status status = Locate(path, place, hops); status != platform::kOk) return status;
    if (place.node == nullptr) return platform::kErrorFileNotFound;
    node = place.node;
    return Follow(node, hops);
}

WindowsPath SimFileSystem::Parse(std::string_view path) const {
    WindowsPath parsed;
    if (ParseWindowsPath(path, current_folder_, parsed) != platform::kOk) {
        throw std::invalid_argument("not a Windows path: " + std::string(path));
    }
    return parsed;
}

SimFileSystem::Node& SimFileSystem::CreateChild(Node& folder, const std::string& name,
                                                bool is_folder) {
    auto node = std::make_unique<Node>();
    node->name = name;
    node->is_folder = is_folder;
    node->parent = &folder;
    node->index = next_index_++;
    Node& created = *node;
    folder.children[FoldCase(name)] = std::move(node);
    return created;
}

SimFileSystem::Node& SimFileSystem::EnsureFolder(const WindowsPath& path, std::size_t depth) {
    int hops = 0;
    Node* folder = nullptr;
    if (RootOf(path.root, folder, hops) != platform::kOk) {
        throw std::invalid_argument("no such drive or share: " + path.root);
    }
    for (std::size_t i = 0; i < depth; ++i) {
        const std::string& name = path.names[i];
        const auto found = folder->children.find(FoldCase(name));
        if (found == folder->children.end()) {
            folder = &CreateChild(*folder, name, true);
        } else if (!found->second->is_folder) {
            throw std::invalid_argument("a file stands where a folder should be: " +
                                        JoinPath(path));
        } else {
            folder = found->second.get();
            if (Follow(folder, hops) != platform::kOk) {
                throw std::invalid_argument("a link leads nowhere: " + JoinPath(path));
            }
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
    const WindowsPath parsed = Parse(path);
    if (parsed.names.empty()) throw std::invalid_argument("not a file path: " + path);
    Node& folder = EnsureFolder(parsed, parsed.names.size() - 1);
    const auto found = folder.children.find(FoldCase(parsed.names.back()));
    if (found != folder.children.end() && found->second->is_folder) {
        throw std::invalid_argument("a folder stands where the file should be: " + path);
    }
    Node& file = found != folder.children.end() ? *found->second
                                                : CreateChild(folder, parsed.names.back(), false);
    file.contents = contents;
    file.attributes = attributes & ~(attr::kDirectory | attr::kNormal);
}

void SimFileSystem::AddFolder(const std::string& path, std::uint32_t attributes) {
    const WindowsPath parsed = Parse(path);
    Node& folder = EnsureFolder(parsed, parsed.names.size());
    if (folder.parent != nullptr) {
        folder.attributes = attributes & ~(attr::kDirectory | attr::kNormal);
    }
}

bool SimFileSystem::Exists(std::string_view path) const {
    Node* node = nullptr;
    return Find(path, node) == platform::kOk;
}

std::optional<std::string> SimFileSystem::Peek(std::string_view path) const {
    Node* node = nullptr;
    if (Find(path, node) != platform::kOk || node->is_folder) return std::nullopt;
    return node->contents;
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
    for (const Node* root : Roots()) CollectPaths(*root, paths);
    return paths;
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
    Place place;
    if (const Status status = Locate(path, place); status != platform::kOk) return status;
    if (place.node == nullptr) return platform::kErrorFileNotFound;
    // A root (of a substituted drive too) is not a thing to delete; a link goes as a link.
    if (place.folder == nullptr) return platform::kErrorAccessDenied;
    return DeleteNodeTree(*place.node) ? platform::kOk : platform::kErrorSharingViolation;
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
    if (FindTarget(folder, node) == platform::kOk && node->is_folder) {
        CollectFiles(*node, "", names);
    }
    return names;
}

}  // namespace qm::sim
