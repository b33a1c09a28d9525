#include "platform/win32/win32_shell.h"

#include "platform/win32/windows_api.h"
// After windows.h, which they need.
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>

#include "platform/win32/hresult_status.h"
#include "platform/win32/scoped_handle.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/wow64.h"

// Exported by shell32 since Windows 2000 without a declaration in its headers.
extern "C" __declspec(dllimport) HRESULT WINAPI SHUpdateRecycleBinIcon();

namespace qm::win32 {

using platform::Status;

namespace {

std::string TextBeforeNul(const wchar_t* buffer) {
    return ToUtf8(std::wstring_view(buffer));
}

}  // namespace

Status Win32Shell::GetFolderPath(int csidl, std::string& path) {
    // Under WOW64 the shell names "Program Files (x86)" for both Program Files folders; the
    // machine's own is the one the 64-bit program is given.
    if ((csidl & ~CSIDL_FLAG_MASK) == CSIDL_PROGRAM_FILES) {
        if (const std::wstring native = NativeProgramFiles(); !native.empty()) {
            path = ToUtf8(native);
            return platform::kOk;
        }
    }
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

void Win32Shell::ClearRecentDocs() {
    apartment_.Join();
    // No item means "forget them all": the shortcuts in Recent and the RecentDocs list.
    ::SHAddToRecentDocs(SHARD_PIDL, nullptr);
}

std::int32_t Win32Shell::EmptyRecycleBin() {
    apartment_.Join();
    // An owner that has gone would make any window the shell shows float free; none at all
    // is the better owner then. The empty root means every drive's bin.
    const HWND owner = (owner_ != nullptr && ::IsWindow(owner_)) ? owner_ : nullptr;
    return ::SHEmptyRecycleBinW(owner, nullptr,
                                SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND);
}

void Win32Shell::UpdateRecycleBinIcon() {
    apartment_.Join();
    ::SHUpdateRecycleBinIcon();
}

void Win32Shell::OpenInBrowser(std::string_view address) {
    apartment_.Join();
    // No verb: whatever the user made the default action for web addresses.
    const std::wstring file = ToWide(address);
    ::ShellExecuteW(nullptr, nullptr, file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace qm::win32
