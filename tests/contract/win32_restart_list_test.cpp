// What deletion at the restart leaves behind on Windows: an entry of the session manager's
// restart list that names the file in NT form with no new name, so the file is deleted at
// the restart rather than moved somewhere.
#include <gtest/gtest.h>

#include <string>

#include "backend.h"
#include "platform/win32/scoped_handle.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_file_system.h"

namespace qm::win32 {
namespace {

constexpr wchar_t kSessionManager[] = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager";
constexpr wchar_t kPendingValue[] = L"PendingFileRenameOperations";

// The list as stored: pairs of NUL-ended texts (old name, new name; empty = delete).
std::wstring ReadRestartList() {
    ScopedRegKey key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_QUERY_VALUE, key.receive()) !=
        ERROR_SUCCESS)
        return {};
    DWORD size = 0;
    if (::RegQueryValueExW(key.get(), kPendingValue, nullptr, nullptr, nullptr, &size) !=
        ERROR_SUCCESS)
        return {};
    std::wstring list(size / sizeof(wchar_t), L'\0');
    ::RegQueryValueExW(key.get(), kPendingValue, nullptr, nullptr,
                       reinterpret_cast<BYTE*>(list.data()), &size);
    list.resize(size / sizeof(wchar_t));
    return list;
}

// Takes the entries naming `folder` or anything in it out of the list again, so the test
// prefix's next restart does not go looking for them.
void ForgetEntriesUnder(const std::wstring& folder) {
    const std::wstring list = ReadRestartList();
    std::wstring kept;
    for (std::size_t at = 0; at < list.size();) {
        const std::size_t old_end = list.find(L'\0', at);
        if (old_end == std::wstring::npos) break;
        const std::size_t new_end = list.find(L'\0', old_end + 1);
        if (new_end == std::wstring::npos) break;
        if (list.compare(at, folder.size(), folder) != 0) kept.append(list, at, new_end + 1 - at);
        at = new_end + 1;
    }
    ScopedRegKey key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_SET_VALUE, key.receive()) !=
        ERROR_SUCCESS)
        return;
    if (kept.empty()) {
        ::RegDeleteValueW(key.get(), kPendingValue);
        return;
    }
    kept.push_back(L'\0');
    ::RegSetValueExW(key.get(), kPendingValue, 0, REG_MULTI_SZ,
                     reinterpret_cast<const BYTE*>(kept.data()),
                     static_cast<DWORD>(kept.size() * sizeof(wchar_t)));
}

TEST(Win32RestartList, ScheduledDeletionIsAnNtPathWithNoNewName) {
    auto backend = contract::MakeBackend();
    const std::string folder = backend->ScratchFolder();
    const std::string file = folder + "\\index.dat";
    Win32FileSystem files;
    ASSERT_EQ(files.WriteFile(file, "locked by the browser"), platform::kOk);

    // Written with forward slashes, as a caller might; the list still gets Windows' form.
    std::string slashed = file;
    for (char& c : slashed)
        if (c == '\\') c = '/';
    ASSERT_EQ(files.ScheduleDeleteAtRestart(slashed), platform::kOk);

    const std::wstring list = ReadRestartList();
    const std::wstring entry = L"\\??\\" + ToWide(file) + std::wstring(2, L'\0');
    EXPECT_NE(list.find(entry), std::wstring::npos);

    ForgetEntriesUnder(L"\\??\\" + ToWide(folder));
    EXPECT_EQ(ReadRestartList().find(entry), std::wstring::npos);
}

}  // namespace
}  // namespace qm::win32
