#include "platform/win32/win32_desktop.h"

#include "platform/win32/scoped_handle.h"
#include "platform/win32/windows_api.h"

#include <iterator>
#include <string_view>

namespace qm::win32 {

namespace {

bool BelongsToThisProcess(HWND window) {
    DWORD process = 0;
    return ::GetWindowThreadProcessId(window, &process) != 0 && process == ::GetCurrentProcessId();
}

bool IsDialog(HWND window) {
    wchar_t name[16] = {};
    const int length = ::GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return length == 6 && std::wstring_view(name, 6) == L"#32770";
}

// The window a press of Enter would go to. When some window has the foreground, that is the
// one, ours or not; only when none has (no desktop session, or focus nowhere) does our own
// thread's active window count.
HWND ActiveWindow() {
    if (const HWND foreground = ::GetForegroundWindow(); foreground != nullptr) return foreground;
    return ::GetActiveWindow();
}

// The button Enter would press, as the dialog manager chooses it: a focused push button
// that has taken the default look, otherwise the dialog's default id, otherwise IDOK.
int ButtonForEnter(HWND dialog) {
    GUITHREADINFO thread{};
    thread.cbSize = sizeof(thread);
    const DWORD owner_thread = ::GetWindowThreadProcessId(dialog, nullptr);
    if (::GetGUIThreadInfo(owner_thread, &thread) && thread.hwndFocus != nullptr &&
        ::IsChild(dialog, thread.hwndFocus) &&
        (::SendMessageW(thread.hwndFocus, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON))
        return ::GetDlgCtrlID(thread.hwndFocus);
    const LRESULT default_id = ::SendMessageW(dialog, DM_GETDEFID, 0, 0);
    return HIWORD(default_id) == DC_HASDEFID ? LOWORD(default_id) : IDOK;
}

}  // namespace

bool Win32Desktop::ConfirmOwnQuestion() {
    const HWND question = ActiveWindow();
    if (question == nullptr || !BelongsToThisProcess(question) || !IsDialog(question) ||
        !::IsWindowVisible(question) || !::IsWindowEnabled(question))
        return false;
    // A dialog without such a button would take the command as an answer it never offered;
    // the question then waits for the user instead.
    const int id = ButtonForEnter(question);
    const HWND button = ::GetDlgItem(question, id);
    if (button == nullptr || !::IsWindowEnabled(button)) return false;
    // Posted, as the key press would be, so that the question closes from its own loop once
    // this tick has returned.
    return ::PostMessageW(question, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                          reinterpret_cast<LPARAM>(button)) != FALSE;
}

bool Win32Desktop::EnableShutdownPrivilege() {
    // Windows 95/98/ME have no tokens: OpenProcessToken fails there and nothing is needed.
    ScopedKernelHandle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY,
                            token.receive()))
        return false;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!::LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &privileges.Privileges[0].Luid))
        return false;
    // Succeeds even when the token lacks the privilege; only the last error tells.
    ::SetLastError(ERROR_SUCCESS);
    return ::AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr) &&
           ::GetLastError() == ERROR_SUCCESS;
}

bool Win32Desktop::RequestExitWindows(std::uint32_t flags, std::uint32_t reason) {
    return ::ExitWindowsEx(flags, reason) != FALSE;
}

}  // namespace qm::win32
