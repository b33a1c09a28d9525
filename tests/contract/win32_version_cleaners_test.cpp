// The cleaners whose work depends on the Windows version, against the real registry and
// restart list of a prefix that reports the version named in QM_WINVER (winxp when unset);
// and a cleaner's fixed text buffer against the real wide API.
#include "platform/win32/windows_api.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "cleaners/file_tools.h"
#include "cleaners/leftovers.h"
#include "cleaners/recent_lists.h"
#include "errors/error_reporter.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_platform.h"
#include "settings/settings_store.h"
#include "sysinfo/system_details.h"

namespace qm {
namespace {

using platform::Root;

const char* const kFindKeys[] = {
    "Software\\Microsoft\\Internet Explorer\\Explorer "
    "Bars\\{C4EE31F3-4768-11D2-BE5C-00A0C9A83DA1}\\FilesNamedMRU",
    "Software\\Microsoft\\Search Assistant\\ACMru\\5603",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Doc Find Spec MRU",
};

TEST(Win32VersionCleaners, FindListAndRestartSchedulingFollowTheWindowsVersion) {
    const char* configured = std::getenv("QM_WINVER");
    const std::string winver = configured != nullptr ? configured : "winxp";
    // Which Find key goes: 2000's, XP's, or the one of every other version.
    const int expected = winver == "win2k" ? 0 : winver == "winxp" ? 1 : 2;

    win32::Win32Platform machine;
    platform::Platform& p = machine.platform();
    errors::ErrorReporter reporter;
    settings::SettingsStore settings(p.registry, p.process, reporter);
    cleaners::FileTools tools(p.files, p.shell, reporter);
    sysinfo::SystemDetails details(p.system, settings, reporter);
    cleaners::RecentListCleaners recent(p, settings, tools, details, reporter);

    for (const char* key : kFindKeys) settings.SaveSettingString(Root::CurrentUser, key, "a", "x");
    recent.CleanFindMRU();
    for (int i = 0; i < 3; ++i) {
        platform::RegKey key = 0;
        const bool present = p.registry.OpenKey(Root::CurrentUser, kFindKeys[i], key) == 0;
        if (present) p.registry.CloseKey(key);
        EXPECT_EQ(present, i != expected) << winver << ": " << kFindKeys[i];
        settings.DeleteKey(Root::CurrentUser, kFindKeys[i]);
    }

    // Windows 98 has no restart list, so the index files cannot be scheduled there; asking
    // about a file that is not there keeps the restart list of the prefix untouched elsewhere.
    const platform::Status status = p.files.ScheduleDeleteAtRestart("C:\\no-such-file.dat");
    EXPECT_EQ(status, winver == "win98" ? platform::kErrorCallNotImplemented
                                        : platform::kErrorFileNotFound);
}

// GetTempFolder's buffer holds 254 characters and the NUL, counted in UTF-16 units: 254
// letters that take two bytes each in UTF-8 come back whole, and one letter more gives none.
TEST(Win32FixedBuffers, TempFolderOfNonAsciiLettersFillsTheBufferToTheLastLetter) {
    win32::Win32Platform machine;
    platform::Platform& p = machine.platform();
    errors::ErrorReporter reporter;
    settings::SettingsStore settings(p.registry, p.process, reporter);
    cleaners::FileTools tools(p.files, p.shell, reporter);
    cleaners::LeftoverCleaners leftovers(p, settings, tools, reporter);
    std::wstring saved(32768, L'\0');
    saved.resize(::GetEnvironmentVariableW(L"TMP", saved.data(), 32768));
    for (const int letters : {250, 251}) {
        std::string folder = "C:\\";
        for (int i = 0; i < letters; ++i) folder += "\xC3\xA9";
        folder += "\\";
        ::SetEnvironmentVariableW(L"TMP", win32::ToWide(folder).c_str());
        EXPECT_EQ(leftovers.GetTempFolder(), letters == 250 ? folder : "") << letters;
    }
    ::SetEnvironmentVariableW(L"TMP", saved.empty() ? nullptr : saved.c_str());
}

}  // namespace
}  // namespace qm
