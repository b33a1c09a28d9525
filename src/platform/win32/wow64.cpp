#include "platform/win32/wow64.h"

#include <cwctype>
#include <string_view>

namespace qm::win32 {
namespace {

using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
using RegDeleteKeyExWFn = LONG(WINAPI*)(HKEY, LPCWSTR, REGSAM, DWORD);
using GetNativeSystemInfoFn = void(WINAPI*)(LPSYSTEM_INFO);

template <class Function>
Function Lookup(const wchar_t* module, const char* name) {
    const HMODULE loaded = ::GetModuleHandleW(module);
    if (loaded == nullptr) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(loaded, name)));
}

bool AskWow64() {
    const auto is_wow64 = Lookup<IsWow64ProcessFn>(L"kernel32.dll", "IsWow64Process");
    BOOL wow64 = FALSE;
    return is_wow64 != nullptr && is_wow64(::GetCurrentProcess(), &wow64) && wow64;
}

bool SameText(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::towlower(a[i]) != std::towlower(b[i])) return false;
    }
    return true;
}

// "\\?\C:\WINDOWS\system32", as ToWidePath spells the system folder.
std::wstring LongSystemFolder() {
    wchar_t folder[MAX_PATH + 1] = {};
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length > MAX_PATH) return {};
    return L"\\\\?\\" + std::wstring(folder, length);
}

}  // namespace

bool RunsUnderWow64() {
    static const bool wow64 = AskWow64();
    return wow64;
}

REGSAM NativeRegistryView() {
    return RunsUnderWow64() ? KEY_WOW64_64KEY : 0;
}

LONG DeleteNativeKey(HKEY root, const wchar_t* path) {
    if (RunsUnderWow64()) {
        static const auto delete_key_ex =
            Lookup<RegDeleteKeyExWFn>(L"advapi32.dll", "RegDeleteKeyExW");
        if (delete_key_ex != nullptr) return delete_key_ex(root, path, KEY_WOW64_64KEY, 0);
    }
    return ::RegDeleteKeyW(root, path);
}

std::wstring NativeSystemPath(std::wstring path) {
    if (!RunsUnderWow64()) return path;
    static const std::wstring system = LongSystemFolder();
    const std::size_t cut = system.find_last_of(L'\\');
    if (system.empty() || cut == std::wstring::npos || path.size() < system.size() ||
        !SameText(std::wstring_view(path).substr(0, system.size()), system) ||
        (path.size() > system.size() && path[system.size()] != L'\\')) {
        return path;
    }
    return path.replace(cut + 1, system.size() - cut - 1, L"Sysnative");
}

std::wstring NativeProgramFiles() {
    if (!RunsUnderWow64()) return {};
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion", 0,
                        KEY_QUERY_VALUE | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS) {
        return {};
    }
    wchar_t folder[MAX_PATH + 1] = {};
    DWORD size = sizeof(folder) - sizeof(wchar_t);
    DWORD type = REG_NONE;
    const LONG status = ::RegQueryValueExW(key, L"ProgramFilesDir", nullptr, &type,
                                           reinterpret_cast<BYTE*>(folder), &size);
    ::RegCloseKey(key);
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return {};
    return std::wstring(folder);
}

void GetMachineSystemInfo(SYSTEM_INFO& info) {
    static const auto native =
        Lookup<GetNativeSystemInfoFn>(L"kernel32.dll", "GetNativeSystemInfo");
    if (native != nullptr) {
        native(&info);
    } else {
        ::GetSystemInfo(&info);
    }
}

}  // namespace qm::win32
