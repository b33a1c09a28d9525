// The 32-bit build in a 64-bit prefix runs under WOW64: what it writes, reads and deletes in
// HKLM\Software and System32 is the machine's own, as the 64-bit program would see it, and
// Program Files is the 64-bit one. Read back with the raw API past the 32-bit views.
#include "platform/win32/windows_api.h"

#include <gtest/gtest.h>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/wow64.h"

namespace qm {
namespace {

bool KeyInView(const wchar_t* path, REGSAM view) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_READ | view, &key) != 0) return false;
    ::RegCloseKey(key);
    return true;
}

TEST(Win32Wow64, RegistrySystemFolderAndProgramFilesAreTheMachinesOwn) {
    if (!win32::RunsUnderWow64()) GTEST_SKIP() << "a process of the machine's own bitness";
    win32::Win32Platform machine;
    platform::Platform& p = machine.platform();
    const wchar_t* probe = L"Software\\QuillmossWow64Probe";
    HKEY software = nullptr;  // what an earlier run may have left in the 32-bit view
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software", 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY,
                        &software) == 0) {
        ::RegDeleteKeyW(software, L"QuillmossWow64Probe");
        ::RegCloseKey(software);
    }
    platform::RegKey key = 0;
    ASSERT_EQ(
        p.registry.CreateKey(platform::Root::LocalMachine, "Software\\QuillmossWow64Probe", key),
        0);
    const std::uint8_t data[] = {'x', 0};
    EXPECT_EQ(p.registry.SetValue(key, "v", platform::RegType::Sz, data), 0);
    p.registry.CloseKey(key);
    EXPECT_TRUE(KeyInView(probe, KEY_WOW64_64KEY));
    EXPECT_FALSE(KeyInView(probe, KEY_WOW64_32KEY));
    EXPECT_EQ(
        p.registry.OpenKey(platform::Root::LocalMachine, "Software\\QuillmossWow64Probe", key), 0);
    p.registry.CloseKey(key);
    EXPECT_EQ(p.registry.DeleteKey(platform::Root::LocalMachine, "Software\\QuillmossWow64Probe"),
              0);
    EXPECT_FALSE(KeyInView(probe, KEY_WOW64_64KEY));

    wchar_t system[MAX_PATH] = {}, wow64[MAX_PATH] = {};
    ASSERT_GT(::GetSystemDirectoryW(system, MAX_PATH), 0u);
    ASSERT_GT(::GetSystemWow64DirectoryW(wow64, MAX_PATH), 0u);
    const std::string file = win32::ToUtf8(system) + "\\qm-wow64-probe.txt";
    ASSERT_EQ(p.files.WriteFile(file, "x"), 0);
    const std::wstring in_wow64 = std::wstring(wow64) + L"\\qm-wow64-probe.txt";
    EXPECT_EQ(::GetFileAttributesW(in_wow64.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(p.files.DeleteFile(file), 0);

    std::string program_files, x86;
    ASSERT_EQ(p.shell.GetFolderPath(platform::csidl::kProgramFiles, program_files), 0);
    ASSERT_EQ(p.shell.GetFolderPath(platform::csidl::kProgramFilesX86, x86), 0);
    EXPECT_EQ(program_files, "C:\\Program Files");
    EXPECT_EQ(x86, "C:\\Program Files (x86)");
}

}  // namespace
}  // namespace qm
