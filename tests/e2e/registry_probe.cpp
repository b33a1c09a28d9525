#include "registry_probe.h"

#include <shlwapi.h>

#include <cstring>

namespace qm::e2e {

std::wstring RawValue::text() const {
    std::wstring out(bytes.size() / 2, L'\0');
    std::memcpy(out.data(), bytes.data(), out.size() * sizeof(wchar_t));
    return out;
}

std::optional<RawValue> ReadValue(HKEY root, const std::wstring& path, const std::wstring& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | kMachineView, &key) != ERROR_SUCCESS)
        return std::nullopt;
    RawValue value;
    value.bytes.resize(65536);  // far more than any value the tests look at
    DWORD size = 65536;
    const LSTATUS status =
        RegQueryValueExW(key, name.c_str(), nullptr, &value.type, value.bytes.data(), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return std::nullopt;
    value.bytes.resize(size);
    return value;
}

void DeleteTree(HKEY root, const std::wstring& path) {
    SHDeleteKeyW(root, path.c_str());
}

}  // namespace qm::e2e
