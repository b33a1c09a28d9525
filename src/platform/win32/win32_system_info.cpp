#include "platform/win32/win32_system_info.h"

#include "platform/win32/windows_api.h"
// After windows.h, which it needs.
#include <shlwapi.h>

#include "platform/win32/scoped_handle.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/wow64.h"

namespace qm::win32 {

platform::VersionRecord Win32SystemInfo::GetVersion() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    // Quillmoss wants the version Windows admits to, compatibility shims included: that is
    // what its version tests were written against, so the deprecated call is the right one.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const BOOL ok = ::GetVersionExW(&info);
#pragma GCC diagnostic pop
    platform::VersionRecord record;
    if (!ok) return record;
    record.ok = true;
    record.major = info.dwMajorVersion;
    record.minor = info.dwMinorVersion;
    record.build = info.dwBuildNumber;
    record.platform = info.dwPlatformId;
    return record;
}

std::uint32_t Win32SystemInfo::GetTickCount() {
    return ::GetTickCount();
}

platform::ProcessorInfo Win32SystemInfo::GetProcessor() {
    SYSTEM_INFO info{};
    GetMachineSystemInfo(info);
    return {info.dwNumberOfProcessors, info.dwProcessorType};
}

platform::MemoryInfo Win32SystemInfo::GetMemory() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    if (!::GlobalMemoryStatusEx(&status)) return {};
    return {status.ullTotalPhys, status.ullAvailPhys};
}

std::string Win32SystemInfo::NowAsText() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    wchar_t date[128] = {};
    wchar_t time[128] = {};
    if (::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &now, nullptr, date, 128) == 0)
        date[0] = L'\0';
    if (::GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &now, nullptr, time, 128) == 0) time[0] = L'\0';
    return ToUtf8(std::wstring(date) + L" " + time);
}

platform::DllVersion Win32SystemInfo::GetShlwapiVersion() {
    platform::DllVersion version;
    ScopedModule shlwapi(::LoadLibraryW(L"shlwapi.dll"));
    if (!shlwapi) return version;
    // Through void(*)(): the one function type any other may be cast from without a warning.
    const auto get_version = reinterpret_cast<DLLGETVERSIONPROC>(
        reinterpret_cast<void (*)()>(::GetProcAddress(shlwapi.get(), "DllGetVersion")));
    if (get_version == nullptr) return version;
    DLLVERSIONINFO info{};
    info.cbSize = sizeof(info);
    if (FAILED(get_version(&info))) return version;
    version.ok = true;
    version.major = info.dwMajorVersion;
    version.minor = info.dwMinorVersion;
    version.build = info.dwBuildNumber;
    return version;
}

bool Win32SystemInfo::ToAnsiCodePage(std::string_view utf8, std::string& ansi) {
    ansi.clear();
    // A machine set to use UTF-8 as its ANSI code page refuses the used-default question.
    if (::GetACP() == CP_UTF8) {
        ansi.assign(utf8);
        return true;
    }
    const std::wstring wide = ToWide(utf8);
    if (wide.empty()) return true;
    const int size = static_cast<int>(wide.size());
    BOOL used_default = FALSE;
    const int length = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size,
                                             nullptr, 0, nullptr, &used_default);
    if (length <= 0) return false;
    ansi.assign(static_cast<std::size_t>(length), '\0');
    const int written = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size,
                                              ansi.data(), length, nullptr, &used_default);
    if (written == length && !used_default) return true;
    ansi.clear();
    return false;
}

bool Win32SystemInfo::FromAnsiCodePage(std::string_view ansi, std::string& utf8) {
    utf8.clear();
    if (ansi.empty()) return true;
    const int size = static_cast<int>(ansi.size());
    const int length =
        ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi.data(), size, nullptr, 0);
    if (length <= 0) return false;
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    if (::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi.data(), size, wide.data(),
                              length) != length) {
        return false;
    }
    utf8 = ToUtf8(wide);
    return true;
}

std::string Win32SystemInfo::ComputerName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    return ::GetComputerNameW(name, &size) ? ToUtf8(std::wstring_view(name, size)) : std::string();
}

std::string Win32SystemInfo::UserName() {
    wchar_t name[257] = {};  // UNLEN + 1
    DWORD size = 257;
    // The size counts the terminating NUL.
    return ::GetUserNameW(name, &size) && size > 0 ? ToUtf8(std::wstring_view(name, size - 1))
                                                   : std::string();
}

std::int64_t Win32SystemInfo::UtcSeconds() {
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    const std::uint64_t ticks = (std::uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime;
    constexpr std::uint64_t kTicksTo1970 = 116444736000000000ull;  // 100 ns steps from 1601
    return static_cast<std::int64_t>((ticks - kTicksTo1970) / 10000000ull);
}

std::string Win32SystemInfo::ErrorText(std::int32_t error) {
    wchar_t text[512] = {};
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        static_cast<DWORD>(error), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text, 512, nullptr);
    std::wstring_view words(text, length);
    while (!words.empty() &&
           (words.back() == L'\r' || words.back() == L'\n' || words.back() == L' '))
        words.remove_suffix(1);
    return ToUtf8(words);
}

}  // namespace qm::win32
