#include "platform/win32/win32_shell.h"

#include "platform/win32/windows_api.h"
// After windows.h, which they need.
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>

#include "platform/win32/scoped_handle.h"
#include "platform/win32/wide_text.h"

namespace qm::win32 {

using platform::Status;

namespace {

// Shell calls answer with HRESULTs; the core compares Windows error numbers. S_FALSE (the
// folder is known but does not exist) is a failure too, since there is no path to use.
Status FromHresult(HRESULT result) {
    if (result == S_OK) return platform::kOk;
    if (HRESULT_FACILITY(result) == FACILITY_WIN32) return HRESULT_CODE(result);
    if (result == S_FALSE) return platform::kErrorFileNotFound;
    return platform::kErrorInvalidParameter;
}

std::string TextBeforeNul(const wchar_t* buffer) {
    return ToUtf8(std::wstring_view(buffer));
}

// SHFileOperation takes lists of paths, each ended by a NUL and the list by a second one. It
// does not understand the \\?\ form, so only the slashes are turned.
std::wstring PathList(std::string_view path) {
    std::wstring list = ToWide(path);
    std::replace(list.begin(), list.end(), L'/', L'\\');
    list.push_back(L'\0');
    list.push_back(L'\0');
    return list;
}

}  // namespace

Status Win32Shell::GetFolderPath(int csidl, std::string& path) {
    wchar_t buffer[MAX_PATH + 1] = {};
    const HRESULT result = ::SHGetFolderPathW(nullptr, csidl, nullptr, 0, buffer);
    if (result != S_OK) return FromHresult(result);
    path = TextBeforeNul(buffer);
    return platform::kOk;
}

Status Win32Shell::GetSpecialFolderLocationPath(int csidl, std::string& path) {
    ScopedItemIdList items;
    const HRESULT result = ::SHGetSpecialFolderLocation(
        nullptr, csidl, reinterpret_cast<LPITEMIDLIST*>(items.receive()));
    if (result != S_OK) return FromHresult(result);
    wchar_t buffer[MAX_PATH + 1] = {};
    if (!::SHGetPathFromIDListW(static_cast<LPCITEMIDLIST>(items.get()), buffer))
        return platform::kErrorPathNotFound;  // a virtual folder with no file-system path
    path = TextBeforeNul(buffer);
    return platform::kOk;
}

Status Win32Shell::CopyFileSilent(std::string_view source, std::string_view target, bool& aborted) {
    const std::wstring from = PathList(source);
    const std::wstring to = PathList(target);
    SHFILEOPSTRUCTW operation{};
    operation.hwnd = nullptr;
    operation.wFunc = FO_COPY;
    operation.pFrom = from.c_str();
    operation.pTo = to.c_str();
    operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION;
    const int result = ::SHFileOperationW(&operation);
    aborted = operation.fAnyOperationsAborted != FALSE;
    return result;
}

}  // namespace qm::win32

namespace qm::win32 {
platform::Status Win32Shell::HistoryItemCount(std::size_t&) {
    return platform::kErrorCallNotImplemented;
}
platform::Status Win32Shell::HistoryItemVerbs(std::size_t, std::vector<std::string>&) {
    return platform::kErrorCallNotImplemented;
}
platform::Status Win32Shell::InvokeHistoryVerb(std::size_t, std::size_t) {
    return platform::kErrorCallNotImplemented;
}
void Win32Shell::ClearRecentDocs() {}
std::int32_t Win32Shell::EmptyRecycleBin() {
    return E_NOTIMPL;
}
void Win32Shell::UpdateRecycleBinIcon() {}
}  // namespace qm::win32
