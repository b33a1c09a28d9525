#include "platform/win32/win32_process.h"

#include <iterator>
#include <string>
#include <utility>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_http.h"
#include "platform/win32/windows_api.h"

namespace qm::win32 {

namespace {

std::string ModulePath() {
    // The path may be longer than MAX_PATH when started through a \\?\ path; grow until the
    // whole of it fits (a full buffer means it was cut).
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) {
            buffer.resize(length);
            return ToUtf8(buffer);
        }
        buffer.resize(buffer.size() * 2);
    }
}

bool EndsWithExe(std::string_view name) {
    if (name.size() < 4) return false;
    const std::string_view tail = name.substr(name.size() - 4);
    return tail[0] == '.' && (tail[1] | 0x20) == 'e' && (tail[2] | 0x20) == 'x' &&
           (tail[3] | 0x20) == 'e';
}

// One per session: two users on one machine each run their own copy.
constexpr wchar_t kSingleCopyMutex[] = L"Local\\Quillmoss.SingleCopy";
// Held by whichever copy cleans, for as long as it cleans.
constexpr wchar_t kCleanRunMutex[] = L"Local\\Quillmoss.CleanRun";

struct WindowSearch {
    std::wstring caption;
    HWND found = nullptr;
};

// The main window of another Quillmoss process. This copy's own main window already exists
// with the same class and caption, so it is told apart by its process.
BOOL CALLBACK MatchOtherCopy(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<WindowSearch*>(context);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process == ::GetCurrentProcessId()) return TRUE;
    wchar_t name[64] = {};
    if (::GetClassNameW(window, name, static_cast<int>(std::size(name))) == 0 ||
        std::wstring_view(name) != kMainWindowClass)
        return TRUE;
    std::wstring caption(search.caption.size() + 2, L'\0');
    caption.resize(static_cast<std::size_t>(
        ::GetWindowTextW(window, caption.data(), static_cast<int>(caption.size()))));
    if (caption != search.caption) return TRUE;
    search.found = window;
    return FALSE;
}

}  // namespace

bool Win32Process::ActivatePreviousInstance(std::string_view main_window_caption) {
    if (single_copy_) return false;  // asked before: this copy holds the mutex itself
    ::SetLastError(ERROR_SUCCESS);
    single_copy_.reset(::CreateMutexW(nullptr, FALSE, kSingleCopyMutex));
    if (::GetLastError() != ERROR_ALREADY_EXISTS) return false;
    WindowSearch search{ToWide(main_window_caption)};
    ::EnumWindows(MatchOtherCopy, reinterpret_cast<LPARAM>(&search));
    // Still starting, or its window gone: this copy carries on rather than leave the user with
    // none.
    if (search.found == nullptr) return false;
    // Minimised copies are hidden as well; SW_RESTORE brings those back in the normal state.
    ::ShowWindow(search.found, ::IsIconic(search.found) ? SW_RESTORE : SW_SHOW);
    ::SetForegroundWindow(search.found);
    return true;
}

bool Win32Process::OtherCopyRunning(std::string_view main_window_caption) {
    if (!single_copy_) single_copy_.reset(::CreateMutexW(nullptr, FALSE, kSingleCopyMutex));
    // The mutex stays as long as this copy holds it, so only a window tells whether the other
    // copy is still there.
    WindowSearch search{ToWide(main_window_caption)};
    ::EnumWindows(MatchOtherCopy, reinterpret_cast<LPARAM>(&search));
    return search.found != nullptr;
}

bool Win32Process::StartProgram(std::string_view path) {
    const std::wstring program = ToWide(path);
    // Quoted, so a folder with blanks (Program Files) is not taken for a program and arguments.
    std::wstring command_line = L"\"" + program + L"\"";
    std::wstring folder = program.substr(0, program.find_last_of(L'\\') + 1);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINIMIZED;
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder.empty() ? nullptr : folder.c_str(), &startup, &started))
        return false;
    ::CloseHandle(started.hThread);
    ::CloseHandle(started.hProcess);
    return true;
}

bool Win32Process::BeginCleanRun() {
    if (clean_run_) return true;
    ScopedFile mutex(::CreateMutexW(nullptr, FALSE, kCleanRunMutex));
    if (!mutex) return false;
    // An owner that ended without giving the run back left it abandoned: it is free again.
    const DWORD waited = ::WaitForSingleObject(mutex.get(), 0);
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) return false;
    clean_run_ = std::move(mutex);
    return true;
}

void Win32Process::EndCleanRun() {
    if (!clean_run_) return;
    ::ReleaseMutex(clean_run_.get());
    clean_run_.reset();
}

void Win32Process::EndProcess() {
    // A transfer may be under way beneath the handler that ends the program; it must neither
    // hold the end back nor leave half a download behind.
    CancelAllTransfers();
    ::ExitProcess(0);
}

void SplitProgramPath(std::string_view path, std::string& folder, std::string& name) {
    const std::size_t cut = path.find_last_of('\\');
    if (cut == std::string_view::npos) {
        folder.clear();
        name = path;
    } else {
        folder = path.substr(0, cut);
        name = path.substr(cut + 1);
        if (folder.size() == 2 && folder[1] == ':') folder.push_back('\\');
    }
    if (EndsWithExe(name)) name.resize(name.size() - 4);
}

std::string Win32Process::ProgramFolder() {
    std::string folder, name;
    SplitProgramPath(ModulePath(), folder, name);
    return folder;
}

std::string Win32Process::ProgramName() {
    std::string folder, name;
    SplitProgramPath(ModulePath(), folder, name);
    return name;
}

}  // namespace qm::win32
