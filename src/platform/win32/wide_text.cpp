#include "platform/win32/wide_text.h"

#include "platform/win32/windows_api.h"

#include <algorithm>

namespace qm::win32 {

std::wstring ToWide(std::string_view text) {
    if (text.empty()) return {};
    const int length =
        ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                          length);
    return wide;
}

std::string ToUtf8(std::wstring_view text) {
    if (text.empty()) return {};
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                             nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), narrow.data(),
                          length, nullptr, nullptr);
    return narrow;
}

namespace {

bool IsDriveAbsolute(std::wstring_view path) {
    return path.size() >= 3 &&
           ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z')) &&
           path[1] == L':' && path[2] == L'\\';
}

// The \\?\ form skips Windows' own clean-up of ".", ".." and doubled separators, so it is
// done here first; the result then names the same file as the unprefixed path would.
std::wstring FullPath(const std::wstring& path) {
    DWORD capacity = static_cast<DWORD>(path.size()) + 16;
    std::wstring full;
    for (;;) {
        full.assign(capacity, L'\0');
        const DWORD length = ::GetFullPathNameW(path.c_str(), capacity, full.data(), nullptr);
        if (length == 0) return path;
        if (length < capacity) {
            full.resize(length);
            return full;
        }
        capacity = length + 1;
    }
}

}  // namespace

std::wstring ToWidePath(std::string_view path) {
    std::wstring wide = ToWide(path);
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    if (!IsDriveAbsolute(wide)) return wide;
    return L"\\\\?\\" + FullPath(wide);
}

}  // namespace qm::win32
