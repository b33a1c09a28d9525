// Other programs' top-level windows and the keyboard state, for the boss keys and the closing
// of browser windows.
#include <iterator>

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
