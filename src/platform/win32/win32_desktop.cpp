#include "platform/win32/win32_desktop.h"

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

}  // namespace

bool Win32Desktop::ConfirmOwnQuestion() {
    const HWND question = ActiveWindow();
    if (question == nullptr || !BelongsToThisProcess(question) || !IsDialog(question) ||
        !::IsWindowVisible(question) || !::IsWindowEnabled(question))
        return false;
    // What the dialog manager does with Enter: the default button's command, or IDOK when the
    // dialog names none. Posted, as the key press would be, so that the question closes from
    // its own loop once this tick has returned.
    const LRESULT default_id = ::SendMessageW(question, DM_GETDEFID, 0, 0);
    const WORD button = HIWORD(default_id) == DC_HASDEFID ? LOWORD(default_id) : IDOK;
    return ::PostMessageW(question, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                          reinterpret_cast<LPARAM>(::GetDlgItem(question, button))) != FALSE;
}

}  // namespace qm::win32
