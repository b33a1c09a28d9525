#pragma once
// Reads and prepares the registry of the test prefix directly, as a second program would.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qm::e2e {

// Keys are read and planted in the machine's own view, where a 64-bit program has them: a
// 32-bit driver (of the 32-bit build, in a 64-bit prefix) must not see Wow6432Node instead.
inline constexpr REGSAM kMachineView = KEY_WOW64_64KEY;

struct RawValue {
    DWORD type = 0;
    std::vector<std::uint8_t> bytes;
    // The REG_SZ text as stored (UTF-16 units up to the end of the data).
    std::wstring text() const;
};

std::optional<RawValue> ReadValue(HKEY root, const std::wstring& path, const std::wstring& name);
// Removes the key and everything below it; a missing key is fine.
void DeleteTree(HKEY root, const std::wstring& path);

}  // namespace qm::e2e
