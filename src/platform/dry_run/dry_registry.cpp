#include "platform/dry_run/dry_registry.h"

namespace qm::dry_run {

using platform::RegKey;
using platform::Root;
using platform::Status;

namespace {

std::string KeyName(Root root, std::string_view path) {
    std::string name = root == Root::CurrentUser ? "HKCU" : "HKLM";
    if (!path.empty()) name.append("\\").append(path);
    return name;
}

// Values live in a namespace of their own below the key's, where no key name can reach.
std::string ValueName(const std::string& key, std::string_view value) {
    return key + "\\\x01" + std::string(value);
}

}  // namespace

DryRegistry::~DryRegistry() {
    for (const auto& [key, opened] : opened_) {
        if (opened.real != 0) real_.CloseKey(opened.real);
    }
}

RegKey DryRegistry::Hand(std::string name, RegKey real) {
    const RegKey key = next_++;
    opened_[key] = {std::move(name), real};
    return key;
}

RegKey DryRegistry::Visible(RegKey key, std::string_view value_name) const {
    const auto opened = opened_.find(key);
    if (opened == opened_.end() || opened->second.real == 0) return 0;
    if (hidden_.Contains(ValueName(opened->second.name, value_name))) return 0;
    return opened->second.real;
}

Status DryRegistry::OpenKey(Root root, std::string_view path, RegKey& key) {
    std::string name = KeyName(root, path);
    if (hidden_.Contains(name)) return platform::kErrorFileNotFound;
    RegKey real = 0;
    if (const Status status = real_.OpenKey(root, path, real); status != platform::kOk) {
        return status;
    }
    key = Hand(std::move(name), real);
    return platform::kOk;
}

Status DryRegistry::CreateKey(Root root, std::string_view path, RegKey& key) {
    std::string name = KeyName(root, path);
    RegKey real = 0;
    if (hidden_.Contains(name) || real_.OpenKey(root, path, real) != platform::kOk) real = 0;
    key = Hand(std::move(name), real);
    return platform::kOk;
}

Status DryRegistry::QueryValueInfo(RegKey key, std::string_view name, platform::RegType& type,
                                   std::uint32_t& size) {
    const RegKey real = Visible(key, name);
    return real == 0 ? platform::kErrorFileNotFound : real_.QueryValueInfo(real, name, type, size);
}

Status DryRegistry::QueryValue(RegKey key, std::string_view name, platform::RegType& type,
                               std::vector<std::uint8_t>& data) {
    const RegKey real = Visible(key, name);
    return real == 0 ? platform::kErrorFileNotFound : real_.QueryValue(real, name, type, data);
}

Status DryRegistry::DeleteValue(RegKey key, std::string_view name) {
    const RegKey real = Visible(key, name);
    if (real == 0) return platform::kErrorFileNotFound;
    platform::RegType type = platform::RegType::None;
    std::uint32_t size = 0;
    if (const Status status = real_.QueryValueInfo(real, name, type, size);
        status != platform::kOk) {
        return status;
    }
    const std::string& key_name = opened_.at(key).name;
    record_.push_back({DryDeletion::Kind::RegistryValue, key_name, std::string(name), size});
    hidden_.Hide(ValueName(key_name, name));
    return platform::kOk;
}

Status DryRegistry::DeleteKey(Root root, std::string_view path) {
    std::string name = KeyName(root, path);
    if (hidden_.Contains(name)) return platform::kErrorFileNotFound;
    RegKey real = 0;
    if (const Status status = real_.OpenKey(root, path, real); status != platform::kOk) {
        return status;
    }
    real_.CloseKey(real);
    record_.push_back({DryDeletion::Kind::RegistryKey, name, "", 0});
    hidden_.Hide(name);
    return platform::kOk;
}

void DryRegistry::CloseKey(RegKey key) {
    const auto opened = opened_.find(key);
    if (opened == opened_.end()) return;
    if (opened->second.real != 0) real_.CloseKey(opened->second.real);
    opened_.erase(opened);
}

Status DryRegistry::ListKey(RegKey key, std::vector<std::string>& subkeys,
                            std::vector<std::string>& values) {
    subkeys.clear();
    values.clear();
    const auto opened = opened_.find(key);
    if (opened == opened_.end()) return platform::kErrorInvalidHandle;
    if (opened->second.real == 0) return platform::kOk;  // made by this dry run: empty
    if (const Status status = real_.ListKey(opened->second.real, subkeys, values);
        status != platform::kOk) {
        return status;
    }
    const std::string& name = opened->second.name;
    std::erase_if(subkeys,
                  [&](const std::string& sub) { return hidden_.Contains(name + "\\" + sub); });
    std::erase_if(
        values, [&](const std::string& value) { return hidden_.Contains(ValueName(name, value)); });
    return platform::kOk;
}

}  // namespace qm::dry_run
