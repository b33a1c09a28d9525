#include "gui/console_output.h"

#include "platform/win32/scoped_handle.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

namespace qm::gui {

namespace {

constexpr DWORD kAttachParentProcess = static_cast<DWORD>(-1);
using AttachConsoleFn = BOOL(WINAPI*)(DWORD);

// AttachConsole came with Windows XP; before it a window program has no console to reach.
bool AttachToStartersConsole() {
    const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    if (kernel == nullptr) return false;
    const auto attach = reinterpret_cast<AttachConsoleFn>(
        reinterpret_cast<void*>(::GetProcAddress(kernel, "AttachConsole")));
    return attach != nullptr && attach(kAttachParentProcess) != FALSE;
}

}  // namespace

void WriteToStarter(std::string_view utf8_text) {
    const HANDLE redirected = ::GetStdHandle(STD_OUTPUT_HANDLE);
    if (redirected != nullptr && redirected != INVALID_HANDLE_VALUE &&
        ::GetFileType(redirected) != FILE_TYPE_CHAR && ::GetFileType(redirected) != 0) {
        DWORD written = 0;
        ::WriteFile(redirected, utf8_text.data(), static_cast<DWORD>(utf8_text.size()), &written,
                    nullptr);
        return;
    }
    if (!AttachToStartersConsole()) return;
    win32::ScopedFile console(::CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
    if (!console) return;
    // The console shows UTF-16 whatever its code page, so names outside it stay readable.
    const std::wstring wide = win32::ToWide(utf8_text);
    DWORD written = 0;
    ::WriteConsoleW(console.get(), wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
}

}  // namespace qm::gui
