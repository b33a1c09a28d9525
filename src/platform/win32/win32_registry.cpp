#include "platform/win32/win32_registry.h"

#include "platform/win32/windows_api.h"

#include <vector>

#include "platform/win32/wide_text.h"
#include "platform/win32/wow64.h"

namespace qm::win32 {

using platform::RegKey;
using platform::RegType;
using platform::Root;
using platform::Status;

namespace {

// KEY_READ | KEY_WRITE: what RegCreateKey asks for.
constexpr REGSAM kReadWrite = 0x2001F;

// Every key is opened in the machine's own view: a 32-bit Quillmoss on 64-bit Windows reads
// and cleans the keys the 64-bit one does, and keeps its settings where that one reads them,
// never under Wow6432Node. Keys opened from such a key stay in its view.
REGSAM Access(REGSAM access) {
    return access | NativeRegistryView();
}

HKEY RootHandle(Root root) {
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
}

HKEY ToHandle(RegKey key) {
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(key));
}

RegKey FromHandle(HKEY key) {
    return static_cast<RegKey>(reinterpret_cast<ULONG_PTR>(key));
}

}  // namespace

Status Win32Registry::OpenKey(Root root, std::string_view path, RegKey& key) {
    key = 0;
    const std::wstring wide = ToWide(path);
    HKEY opened = nullptr;
    LONG status = ::RegOpenKeyExW(RootHandle(root), wide.c_str(), 0, Access(kReadWrite), &opened);
    // A user without administrator rights may still read what he cannot change.
    if (status == ERROR_ACCESS_DENIED)
        status = ::RegOpenKeyExW(RootHandle(root), wide.c_str(), 0, Access(KEY_READ), &opened);
    if (status == ERROR_SUCCESS) key = FromHandle(opened);
    return status;
}

Status Win32Registry::CreateKey(Root root, std::string_view path, RegKey& key) {
    key = 0;
    const std::wstring wide = ToWide(path);
    HKEY created = nullptr;
    const LONG status =
        ::RegCreateKeyExW(RootHandle(root), wide.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          Access(kReadWrite), nullptr, &created, nullptr);
    if (status == ERROR_SUCCESS) key = FromHandle(created);
    return status;
}

Status Win32Registry::QueryValueInfo(RegKey key, std::string_view name, RegType& type,
                                     std::uint32_t& size) {
    const std::wstring wide = ToWide(name);
    DWORD raw_type = REG_NONE;
    DWORD raw_size = 0;
    const LONG status =
        ::RegQueryValueExW(ToHandle(key), wide.c_str(), nullptr, &raw_type, nullptr, &raw_size);
    if (status == ERROR_SUCCESS) {
        type = static_cast<RegType>(raw_type);
        size = raw_size;
    }
    return status;
}

Status Win32Registry::QueryValue(RegKey key, std::string_view name, RegType& type,
                                 std::vector<std::uint8_t>& data) {
    const std::wstring wide = ToWide(name);
    DWORD raw_type = REG_NONE;
    DWORD raw_size = 0;
    LONG status =
        ::RegQueryValueExW(ToHandle(key), wide.c_str(), nullptr, &raw_type, nullptr, &raw_size);
    // The value may grow between the two calls; ask again until the buffer holds it.
    while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
        data.resize(raw_size);
        DWORD filled = raw_size;
        status = ::RegQueryValueExW(ToHandle(key), wide.c_str(), nullptr, &raw_type,
                                    data.empty() ? nullptr : data.data(), &filled);
        if (status == ERROR_SUCCESS) {
            data.resize(filled);
            type = static_cast<RegType>(raw_type);
            return status;
        }
        if (status == ERROR_MORE_DATA) raw_size = filled;
    }
    data.clear();
    return status;
}

Status Win32Registry::SetValue(RegKey key, std::string_view name, RegType type,
                               std::span<const std::uint8_t> data) {
    const std::wstring wide = ToWide(name);
    // For string types Windows looks one character past the given size and, if it finds a
    // NUL there, stores that terminator too. Quillmoss writes its texts without one and reads
    // them back by size, so the bytes go from a copy whose next character is never NUL.
    std::vector<std::uint8_t> exact(data.begin(), data.end());
    exact.insert(exact.end(), sizeof(wchar_t) * 2, 0xFF);
    return ::RegSetValueExW(ToHandle(key), wide.c_str(), 0, static_cast<DWORD>(type), exact.data(),
                            static_cast<DWORD>(data.size()));
}

Status Win32Registry::DeleteValue(RegKey key, std::string_view name) {
    const std::wstring wide = ToWide(name);
    return ::RegDeleteValueW(ToHandle(key), wide.c_str());
}

Status Win32Registry::DeleteKey(Root root, std::string_view path) {
    const std::wstring wide = ToWide(path);
    return DeleteNativeKey(RootHandle(root), wide.c_str());
}

void Win32Registry::CloseKey(RegKey key) {
    if (key != 0) ::RegCloseKey(ToHandle(key));
}

Status Win32Registry::ListKey(RegKey key, std::vector<std::string>& subkeys,
                              std::vector<std::string>& values) {
    subkeys.clear();
    values.clear();
    // Key names are at most 255 characters, value names at most 16,383.
    std::wstring name(16384, L'\0');
    for (DWORD index = 0;; ++index) {
        DWORD length = 256;
        const LONG status = ::RegEnumKeyExW(ToHandle(key), index, name.data(), &length, nullptr,
                                            nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) break;
        if (status != ERROR_SUCCESS) return status;
        subkeys.push_back(ToUtf8(name.substr(0, length)));
    }
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(name.size());
        const LONG status = ::RegEnumValueW(ToHandle(key), index, name.data(), &length, nullptr,
                                            nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) break;
        if (status != ERROR_SUCCESS) return status;
        values.push_back(ToUtf8(name.substr(0, length)));
    }
    return platform::kOk;
}

}  // namespace qm::win32
