#include "platform/win32/wide_text.h"

#include "platform/win32/windows_api.h"

#include <algorithm>
#include <vector>

#include "platform/win32/wow64.h"

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

// Length of the "\\server\share\" that starts a UNC path, or 0 when there is none.
std::size_t UncRootLength(std::wstring_view path) {
    if (path.size() < 3 || !path.starts_with(L"\\\\") || path[2] == L'\\') return 0;
    if (path[2] == L'?' || path[2] == L'.') return 0;  // \\?\ and \\.\ are not servers
    const std::size_t server_end = path.find(L'\\', 2);
    if (server_end == std::wstring_view::npos || server_end + 1 >= path.size()) return 0;
    const std::size_t share_end = path.find(L'\\', server_end + 1);
    if (share_end == server_end + 1) return 0;
    return share_end == std::wstring_view::npos ? path.size() : share_end + 1;
}

// The \\?\ form skips Windows' own clean-up of the names, so "." and ".." and doubled
// separators are resolved here. Every other name is kept exactly as given: Windows' clean-up
// would also cut trailing dots and blanks, and then a file named "trail." (as other systems
// make them) could never be reached.
std::wstring ResolveNames(std::wstring root, std::wstring_view rest) {
    std::vector<std::wstring_view> names;
    for (std::size_t start = 0; start <= rest.size();) {
        std::size_t end = rest.find(L'\\', start);
        if (end == std::wstring_view::npos) end = rest.size();
        const std::wstring_view name = rest.substr(start, end - start);
        if (name == L"..") {
            if (!names.empty()) names.pop_back();
        } else if (!name.empty() && name != L".") {
            names.push_back(name);
        }
        start = end + 1;
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) root += L'\\';
        root += names[i];
    }
    if (!names.empty() && rest.ends_with(L'\\')) root += L'\\';
    return root;
}

}  // namespace

namespace {

std::wstring ConvertPath(std::string_view path) {
    std::wstring wide = ToWide(path);
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    const std::wstring_view view = wide;
    // Under WOW64 the system folder is the machine's own, as the 64-bit program sees it.
    if (IsDriveAbsolute(view))
        return NativeSystemPath(ResolveNames(L"\\\\?\\" + wide.substr(0, 3), view.substr(3)));
    if (const std::size_t root = UncRootLength(view); root != 0) {
        std::wstring prefix = L"\\\\?\\UNC\\" + wide.substr(2, root - 2);
        if (!prefix.ends_with(L'\\')) prefix += L'\\';
        return ResolveNames(std::move(prefix), view.substr(root));
    }
    return wide;
}

// The cleaners reach every file of a folder one after another; the folder's part of the
// path is converted once for all of them. A converted folder is reused only in the long form
// without a trailing backslash, where appending "\name" gives what converting the whole
// path would.
struct ConvertedFolder {
    std::string folder;
    std::wstring wide;
};

bool IsPlainName(std::string_view name) {
    return !name.empty() && name != "." && name != "..";
}

}  // namespace

std::wstring ToWidePath(std::string_view path) {
    const std::size_t cut = path.find_last_of("\\/");
    if (cut == std::string_view::npos || cut == 0 || !IsPlainName(path.substr(cut + 1))) {
        return ConvertPath(path);
    }
    const std::string_view folder = path.substr(0, cut);
    thread_local ConvertedFolder last;
    if (folder != last.folder) {
        std::wstring wide = ConvertPath(folder);
        if (!wide.starts_with(L"\\\\?\\") || wide.ends_with(L'\\')) return ConvertPath(path);
        last.folder.assign(folder);
        last.wide = std::move(wide);
    }
    std::wstring whole = last.wide;
    whole += L'\\';
    whole += ToWide(path.substr(cut + 1));
    return whole;
}

bool IsFullyQualifiedPath(std::wstring_view path) {
    std::wstring wide(path);
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    return IsDriveAbsolute(wide) || UncRootLength(wide) != 0;
}

}  // namespace qm::win32
