// Other programs' top-level windows and the keyboard state, for the boss keys and the closing
// of browser windows.
#include <iterator>

#include "platform/win32/scoped_handle.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_desktop.h"

namespace qm::win32 {

namespace {

HWND ToHwnd(platform::WindowHandle window) {
    return reinterpret_cast<HWND>(window);
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM found) {
    reinterpret_cast<std::vector<platform::WindowHandle>*>(found)->push_back(
        reinterpret_cast<platform::WindowHandle>(window));
    return TRUE;
}

}  // namespace

std::vector<platform::WindowHandle> Win32Desktop::TopLevelWindows() {
    std::vector<platform::WindowHandle> windows;
    ::EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::string Win32Desktop::WindowClassName(platform::WindowHandle window) {
    // 256 is the longest class name RegisterClass accepts.
    wchar_t name[257] = {};
    const int length = ::GetClassNameW(ToHwnd(window), name, static_cast<int>(std::size(name)));
    return length > 0 ? ToUtf8(std::wstring_view(name, static_cast<std::size_t>(length)))
                      : std::string();
}

std::string Win32Desktop::WindowProgramName(platform::WindowHandle window) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(ToHwnd(window), &pid);
    if (pid == 0) return {};
    // Vista and later name any process's program with the least rights; XP needs the rights
    // to read the process and psapi. Both are looked up here, so the program starts on either.
    using QueryName = BOOL(WINAPI*)(HANDLE, DWORD, LPWSTR, PDWORD);
    using ModuleName = DWORD(WINAPI*)(HANDLE, HMODULE, LPWSTR, DWORD);
    static const auto query = reinterpret_cast<QueryName>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "QueryFullProcessImageNameW")));
    constexpr DWORD kQueryLimitedInformation = 0x1000;
    const DWORD rights =
        query ? kQueryLimitedInformation : PROCESS_QUERY_INFORMATION | PROCESS_VM_READ;
    ScopedKernelHandle process(::OpenProcess(rights, FALSE, pid));
    if (!process) return {};
    wchar_t path[MAX_PATH * 4] = {};
    DWORD size = static_cast<DWORD>(std::size(path));
    bool named = false;
    if (query) {
        named = query(process.get(), 0, path, &size) != FALSE;
    } else if (HMODULE psapi = ::LoadLibraryW(L"psapi.dll")) {
        const auto module_name = reinterpret_cast<ModuleName>(
            reinterpret_cast<void*>(::GetProcAddress(psapi, "GetModuleFileNameExW")));
        named = module_name && module_name(process.get(), nullptr, path, size) > 0;
        ::FreeLibrary(psapi);
    }
    if (!named) return {};
    const std::wstring_view full(path);
    return ToUtf8(full.substr(full.find_last_of(L"\\/") + 1));
}

bool Win32Desktop::IsWindowVisible(platform::WindowHandle window) {
    return ::IsWindowVisible(ToHwnd(window)) != FALSE;
}

bool Win32Desktop::GetWindowPlacement(platform::WindowHandle window,
                                      platform::WindowPlacement& placement) {
    WINDOWPLACEMENT record{};
    record.length = sizeof(record);
    if (!::GetWindowPlacement(ToHwnd(window), &record)) return false;
    placement.flags = record.flags;
    placement.show_command = record.showCmd;
    placement.min_position = {record.ptMinPosition.x, record.ptMinPosition.y};
    placement.max_position = {record.ptMaxPosition.x, record.ptMaxPosition.y};
    const RECT& normal = record.rcNormalPosition;
    placement.normal_position = {normal.left, normal.top, normal.right, normal.bottom};
    return true;
}

bool Win32Desktop::SetWindowPlacement(platform::WindowHandle window,
                                      const platform::WindowPlacement& placement) {
    WINDOWPLACEMENT record{};
    record.length = sizeof(record);
    record.flags = placement.flags;
    record.showCmd = placement.show_command;
    record.ptMinPosition = {placement.min_position.x, placement.min_position.y};
    record.ptMaxPosition = {placement.max_position.x, placement.max_position.y};
    const platform::WindowRect& normal = placement.normal_position;
    record.rcNormalPosition = {normal.left, normal.top, normal.right, normal.bottom};
    const HWND target = ToHwnd(window);
    if (::SetWindowPlacement(target, &record)) return true;
    // Wine refuses to place another process's window. The show state, and a normal window's
    // rectangle, still reach it through calls that the window's own thread carries out.
    if (!::IsWindow(target)) return false;
    ::ShowWindow(target, static_cast<int>(placement.show_command));
    if (placement.show_command == SW_SHOWNORMAL) {
        ::SetWindowPos(target, nullptr, normal.left, normal.top, normal.right - normal.left,
                       normal.bottom - normal.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return true;
}

bool Win32Desktop::PostCloseRequest(platform::WindowHandle window) {
    return ::PostMessageW(ToHwnd(window), WM_CLOSE, 0, 0) != FALSE;
}

bool Win32Desktop::KeyPressedSinceLastQuery(int virtual_key) {
    return ::GetAsyncKeyState(virtual_key) != 0;
}

}  // namespace qm::win32
