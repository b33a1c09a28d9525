// What deletion at the restart leaves behind on Windows: an entry of the session manager's
// restart list that names the file in NT form with no new name, so the file is deleted at
// the restart rather than moved somewhere.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "backend.h"
#include "platform/win32/scoped_handle.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_file_system.h"

namespace qm::win32 {
namespace {

TEST(Win32RestartList, ScheduledDeletionIsAnNtPathWithNoNewName) {
    const wchar_t* const kPending = L"PendingFileRenameOperations";
    ScopedRegKey key;
    ASSERT_EQ(
        ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\Session Manager",
                        0, KEY_QUERY_VALUE | KEY_SET_VALUE, key.receive()),
        ERROR_SUCCESS);
    // The list as stored: pairs of NUL-ended texts (old name, new name; empty = delete).
    const auto read_list = [&] {
        DWORD size = 0;
        if (::RegQueryValueExW(key.get(), kPending, nullptr, nullptr, nullptr, &size) != 0)
            return std::wstring();
        std::wstring list(size / sizeof(wchar_t), L'\0');
        ::RegQueryValueExW(key.get(), kPending, nullptr, nullptr,
                           reinterpret_cast<BYTE*>(list.data()), &size);
        return list;
    };
    const std::wstring before = read_list();

    auto backend = contract::MakeBackend();
    const std::string file = backend->ScratchFolder() + "\\index.dat";
    Win32FileSystem files;
    ASSERT_EQ(files.WriteFile(file, "locked by the browser"), platform::kOk);
    // Written with forward slashes, as a caller might; the list still gets Windows' form.
    std::string slashed = file;
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    ASSERT_EQ(files.ScheduleDeleteAtRestart(slashed), platform::kOk);
    const std::wstring entry = L"\\??\\" + ToWide(file) + std::wstring(2, L'\0');
    EXPECT_NE(read_list().find(entry), std::wstring::npos);

    // The test prefix's next restart must not go looking for the scratch file.
    if (before.empty())
        ::RegDeleteValueW(key.get(), kPending);
    else
        ::RegSetValueExW(key.get(), kPending, 0, REG_MULTI_SZ,
                         reinterpret_cast<const BYTE*>(before.data()),
                         static_cast<DWORD>(before.size() * sizeof(wchar_t)));
}

}  // namespace
}  // namespace qm::win32
