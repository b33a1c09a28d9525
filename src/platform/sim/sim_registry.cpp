#include "platform/sim/sim_registry.h"

#include "platform/sim/text_fold.h"

namespace qm::sim {

using platform::RegKey;
using platform::RegType;
using platform::Root;
using platform::Status;

namespace {

// Key paths tolerate doubled and trailing backslashes, as the registry API does.
std::vector<std::string_view> SplitKeyPath(std::string_view path) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('\\', start);
        if (end == std::string_view::npos) end = path.size();
        if (end > start) parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

}  // namespace

SimRegistry::SimRegistry(std::vector<Deletion>& deletions) : deletions_(deletions) {
    current_user_ = std::make_shared<Key>();
    current_user_->full_path = "HKCU";
    current_user_->root = Root::CurrentUser;
    local_machine_ = std::make_shared<Key>();
    local_machine_->full_path = "HKLM";
    local_machine_->root = Root::LocalMachine;
}

SimRegistry::~SimRegistry() = default;

std::shared_ptr<SimRegistry::Key>& SimRegistry::Hive(Root root) {
    return root == Root::LocalMachine ? local_machine_ : current_user_;
}

Status SimRegistry::Resolve(RegKey handle, Key*& key) const {
    const auto found = handles_.find(handle);
    if (found == handles_.end()) return platform::kErrorInvalidHandle;
    if (found->second->deleted) return platform::kErrorKeyDeleted;
    key = found->second.get();
    return platform::kOk;
}

Status SimRegistry::RefuseWriteIfReadOnly(const Key& key) const {
    if (local_machine_read_only_ && key.root == Root::LocalMachine) {
        return platform::kErrorAccessDenied;
    }
    return platform::kOk;
}

RegKey SimRegistry::NewHandle(std::shared_ptr<Key> key) {
    const RegKey handle = next_handle_;
    next_handle_ += 4;  // like real handles: never 0, never reused while the machine lives
    handles_.emplace(handle, std::move(key));
    return handle;
}

Status SimRegistry::OpenKey(Root root, std::string_view path, RegKey& key) {
    key = 0;
    std::shared_ptr<Key> node = Hive(root);
    for (const std::string_view part : SplitKeyPath(path)) {
        const auto found = node->subkeys.find(FoldCase(part));
        if (found == node->subkeys.end()) return platform::kErrorFileNotFound;
        node = found->second;
    }
    key = NewHandle(std::move(node));
    return platform::kOk;
}

Status SimRegistry::CreateKey(Root root, std::string_view path, RegKey& key) {
    key = 0;
    const std::vector<std::string_view> parts = SplitKeyPath(path);
    // RegCreateKey asks for read-write access even to a key that exists, so a user without
    // rights is refused there too; only OpenKey, which falls back to reading, gets in.
    std::shared_ptr<Key> node = Hive(root);
    if (const Status refused = RefuseWriteIfReadOnly(*node); refused != platform::kOk) {
        return refused;
    }
    std::size_t existing = 0;
    for (; existing < parts.size(); ++existing) {
        const auto found = node->subkeys.find(FoldCase(parts[existing]));
        if (found == node->subkeys.end()) break;
        node = found->second;
    }
    for (std::size_t i = existing; i < parts.size(); ++i) {
        auto child = std::make_shared<Key>();
        child->full_path = node->full_path + "\\" + std::string(parts[i]);
        child->root = root;
        node->subkeys.emplace(FoldCase(parts[i]), child);
        node = std::move(child);
    }
    key = NewHandle(std::move(node));
    return platform::kOk;
}

Status SimRegistry::QueryValueInfo(RegKey handle, std::string_view name, RegType& type,
                                   std::uint32_t& size) {
    Key* key = nullptr;
    if (const Status status = Resolve(handle, key); status != platform::kOk) return status;
    const auto found = key->values.find(FoldCase(name));
    if (found == key->values.end()) return platform::kErrorFileNotFound;
    type = found->second.type;
    size = static_cast<std::uint32_t>(found->second.data.size());
    return platform::kOk;
}

Status SimRegistry::QueryValue(RegKey handle, std::string_view name, RegType& type,
                               std::vector<std::uint8_t>& data) {
    Key* key = nullptr;
    if (const Status status = Resolve(handle, key); status != platform::kOk) return status;
    const auto found = key->values.find(FoldCase(name));
    if (found == key->values.end()) return platform::kErrorFileNotFound;
    type = found->second.type;
    data = found->second.data;
    return platform::kOk;
}

Status SimRegistry::SetValue(RegKey handle, std::string_view name, RegType type,
                             std::span<const std::uint8_t> data) {
    Key* key = nullptr;
    if (const Status status = Resolve(handle, key); status != platform::kOk) return status;
    if (const Status refused = RefuseWriteIfReadOnly(*key); refused != platform::kOk) {
        return refused;
    }
    auto [slot, inserted] = key->values.try_emplace(FoldCase(name));
    if (inserted) slot->second.name = std::string(name);
    slot->second.type = type;
    slot->second.data.assign(data.begin(), data.end());
    return platform::kOk;
}

Status SimRegistry::DeleteValue(RegKey handle, std::string_view name) {
    Key* key = nullptr;
    if (const Status status = Resolve(handle, key); status != platform::kOk) return status;
    const auto found = key->values.find(FoldCase(name));
    if (found == key->values.end()) return platform::kErrorFileNotFound;
    if (const Status refused = RefuseWriteIfReadOnly(*key); refused != platform::kOk) {
        return refused;
    }
    deletions_.push_back({Deletion::Kind::RegistryValue, key->full_path, found->second.name});
    key->values.erase(found);
    return platform::kOk;
}

Status SimRegistry::DeleteKey(Root root, std::string_view path) {
    const std::vector<std::string_view> parts = SplitKeyPath(path);
    // The hive roots themselves cannot go.
    if (parts.empty()) return platform::kErrorAccessDenied;
    Key* parent = Hive(root).get();
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        const auto found = parent->subkeys.find(FoldCase(parts[i]));
        if (found == parent->subkeys.end()) return platform::kErrorFileNotFound;
        parent = found->second.get();
    }
    const auto victim = parent->subkeys.find(FoldCase(parts.back()));
    if (victim == parent->subkeys.end()) return platform::kErrorFileNotFound;
    if (const Status refused = RefuseWriteIfReadOnly(*victim->second); refused != platform::kOk) {
        return refused;
    }
    // NT never deletes a tree in one call: a key with subkeys is refused.
    if (!victim->second->subkeys.empty()) return platform::kErrorAccessDenied;
    victim->second->deleted = true;
    victim->second->values.clear();
    deletions_.push_back({Deletion::Kind::RegistryKey, victim->second->full_path, ""});
    parent->subkeys.erase(victim);
    return platform::kOk;
}

Status SimRegistry::DeleteTree(Root root, std::string_view path) {
    RegKey handle = 0;
    if (const Status status = OpenKey(root, path, handle); status != platform::kOk) return status;
    std::vector<std::string> children;
    for (const auto& [folded, subkey] : handles_.at(handle)->subkeys) {
        children.push_back(subkey->full_path.substr(subkey->full_path.rfind('\\') + 1));
    }
    CloseKey(handle);
    for (const std::string& child : children) {
        if (const Status status = DeleteTree(root, std::string(path) + "\\" + child);
            status != platform::kOk) {
            return status;
        }
    }
    return DeleteKey(root, path);
}

void SimRegistry::CloseKey(RegKey handle) {
    handles_.erase(handle);
}

Status SimRegistry::ListKey(RegKey handle, std::vector<std::string>& subkeys,
                            std::vector<std::string>& values) {
    subkeys.clear();
    values.clear();
    Key* key = nullptr;
    if (const Status status = Resolve(handle, key); status != platform::kOk) return status;
    for (const auto& [folded, subkey] : key->subkeys) {
        if (subkey->deleted) continue;
        const std::string& path = subkey->full_path;
        subkeys.push_back(path.substr(path.find_last_of('\\') + 1));
    }
    for (const auto& [folded, value] : key->values) values.push_back(value.name);
    return platform::kOk;
}

}  // namespace qm::sim
