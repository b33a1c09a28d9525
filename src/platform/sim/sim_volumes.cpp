// The simulated machine's volumes and the names that reach them: drive letters (own volumes
// or substituted folders), network shares, folder links, the current folder and identities.
#include <stdexcept>

#include "platform/sim/sim_file_system.h"
#include "platform/sim/text_fold.h"

namespace qm::sim {

using platform::Status;

namespace {

// NTFS gives up after this many links in one path.
constexpr int kMaxLinkHops = 63;

char DriveLetter(char letter) {
    const char upper = static_cast<char>(letter & ~0x20);
    if (upper < 'A' || upper > 'Z') throw std::invalid_argument("not a drive letter");
    return upper;
}

}  // namespace

std::unique_ptr<SimFileSystem::Node> SimFileSystem::MakeRoot(const std::string& name) {
    auto root = std::make_unique<Node>();
    root->name = name;
    root->is_folder = true;
    root->index = next_index_++;
    root->serial = next_serial_;
    next_serial_ += 0x01010101;
    return root;
}

Status SimFileSystem::RootOf(const std::string& root, Node*& node, int& hops) const {
    if (root.starts_with("\\\\")) {
        const auto share = shares_.find(FoldCase(root));
        if (share == shares_.end()) return kErrorBadNetPath;
        node = share->second.get();
        return platform::kOk;
    }
    const auto drive = drives_.find(root[0]);
    if (drive == drives_.end()) return platform::kErrorPathNotFound;
    if (drive->second.root) {
        node = drive->second.root.get();
        return platform::kOk;
    }
    // A substituted drive counts as a link: drives named after each other must not loop.
    if (++hops > kMaxLinkHops) return kErrorCantResolveFilename;
    Place place;
    Status status = Locate(drive->second.folder, place, hops);
    if (status == platform::kOk && place.node == nullptr) status = platform::kErrorPathNotFound;
    if (status == platform::kOk) {
        node = place.node;
        status = Follow(node, hops);
    }
    if (status == platform::kOk && !node->is_folder) status = platform::kErrorPathNotFound;
    return status == platform::kOk || status == kErrorCantResolveFilename
               ? status
               : platform::kErrorPathNotFound;
}

Status SimFileSystem::Follow(Node*& node, int& hops) const {
    while (!node->link_target.empty()) {
        if (++hops > kMaxLinkHops) return kErrorCantResolveFilename;
        Place place;
        if (const Status status = Locate(node->link_target, place, hops); status != 0) {
            return status;
        }
        if (place.node == nullptr) return platform::kErrorFileNotFound;
        node = place.node;
    }
    return platform::kOk;
}

std::vector<SimFileSystem::Node*> SimFileSystem::Roots() const {
    std::vector<Node*> roots;
    for (const auto& [letter, drive] : drives_) {
        if (drive.root) roots.push_back(drive.root.get());
    }
    for (const auto& [key, share] : shares_) roots.push_back(share.get());
    return roots;
}

void SimFileSystem::AddDrive(char letter) {
    Drive& drive = drives_[DriveLetter(letter)];
    drive.folder.clear();
    drive.root = MakeRoot(std::string{DriveLetter(letter), ':'});
}

void SimFileSystem::SubstDrive(char letter, const std::string& folder) {
    Node* node = nullptr;
    if (FindTarget(folder, node) != platform::kOk || !node->is_folder) {
        throw std::invalid_argument("no folder to name: " + folder);
    }
    Drive& drive = drives_[DriveLetter(letter)];
    drive.root.reset();
    drive.folder = JoinPath(Parse(folder));
}

void SimFileSystem::AddShare(const std::string& unc_root) {
    const WindowsPath parsed = Parse(unc_root);
    if (!parsed.root.starts_with("\\\\") || !parsed.names.empty()) {
        throw std::invalid_argument("not a share: " + unc_root);
    }
    shares_[FoldCase(parsed.root)] = MakeRoot(parsed.root);
}

void SimFileSystem::SetCurrentFolder(const std::string& folder) {
    Node* node = nullptr;
    if (FindTarget(folder, node) != platform::kOk || !node->is_folder) {
        throw std::invalid_argument("no folder to work in: " + folder);
    }
    current_folder_ = JoinPath(Parse(folder));
}

void SimFileSystem::AddFolderLink(const std::string& link, const std::string& target) {
    const WindowsPath parsed = Parse(link);
    if (parsed.names.empty()) throw std::invalid_argument("a root cannot be a link: " + link);
    Node& folder = EnsureFolder(parsed, parsed.names.size() - 1);
    if (folder.children.contains(FoldCase(parsed.names.back()))) {
        throw std::invalid_argument("something is already there: " + link);
    }
    Node& node = CreateChild(folder, parsed.names.back(), true);
    node.attributes = platform::attr::kReparsePoint;
    node.link_target = JoinPath(Parse(target));
}

Status SimFileSystem::GetIdentity(std::string_view path, platform::FileIdentity& identity) {
    Node* node = nullptr;
    if (const Status status = FindTarget(path, node); status != platform::kOk) return status;
    const Node* root = node;
    while (root->parent != nullptr) root = root->parent;
    identity = {root->serial, node->index};
    return platform::kOk;
}

Status SimFileSystem::ListDriveRoots(std::vector<std::string>& roots) {
    roots.clear();
    for (const auto& [letter, drive] : drives_) roots.push_back(std::string{letter, ':', '\\'});
    return platform::kOk;
}

Status SimFileSystem::GetFinalPath(std::string_view path, std::string& final_path) {
    // Every node lies on the volume it was made on, so its own path names no link and no
    // substituted drive.
    Node* node = nullptr;
    if (const Status status = FindTarget(path, node); status != platform::kOk) return status;
    final_path = FullPath(*node);
    return platform::kOk;
}

}  // namespace qm::sim
