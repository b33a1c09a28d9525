#include "platform/recording/recording_registry.h"

namespace qm::recording {

using platform::RegKey;
using platform::Root;
using platform::Status;

namespace {

std::string KeyName(Root root, std::string_view path) {
    std::string name = root == Root::CurrentUser ? "HKCU" : "HKLM";
    if (!path.empty()) name.append("\\").append(path);
    return name;
}

}  // namespace

Status RecordingRegistry::OpenKey(Root root, std::string_view path, RegKey& key) {
    const Status status = real_.OpenKey(root, path, key);
    if (status == platform::kOk) names_[key] = KeyName(root, path);
    return status;
}

Status RecordingRegistry::CreateKey(Root root, std::string_view path, RegKey& key) {
    const Status status = real_.CreateKey(root, path, key);
    if (status == platform::kOk) names_[key] = KeyName(root, path);
    return status;
}

Status RecordingRegistry::DeleteValue(RegKey key, std::string_view name) {
    const Status status = real_.DeleteValue(key, name);
    const auto named = names_.find(key);
    record_.Note(Removal::Kind::RegistryValue, named == names_.end() ? "" : named->second, name, 0,
                 status);
    return status;
}

Status RecordingRegistry::DeleteKey(Root root, std::string_view path) {
    const Status status = real_.DeleteKey(root, path);
    record_.Note(Removal::Kind::RegistryKey, KeyName(root, path), "", 0, status);
    return status;
}

void RecordingRegistry::CloseKey(RegKey key) {
    names_.erase(key);
    real_.CloseKey(key);
}

}  // namespace qm::recording
