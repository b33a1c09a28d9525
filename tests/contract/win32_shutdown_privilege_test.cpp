// The shutdown privilege on a real token. Never ExitWindowsEx here: the prefix is shared with
// the other suites, and a restart would end them.
#include <gtest/gtest.h>

#include "platform/win32/scoped_handle.h"
#include "platform/win32/win32_desktop.h"

TEST(Win32ShutdownPrivilege, IsEnabledInThisProcessToken) {
    ASSERT_TRUE(qm::win32::Win32Desktop().EnableShutdownPrivilege());
    // The check reads an impersonation token: a copy of the process token as it is now.
    ASSERT_TRUE(::ImpersonateSelf(SecurityImpersonation));
    qm::win32::ScopedKernelHandle token;
    PRIVILEGE_SET wanted{1, PRIVILEGE_SET_ALL_NECESSARY, {{{0, 0}, 0}}};
    BOOL held = FALSE;
    EXPECT_TRUE(
        ::OpenThreadToken(::GetCurrentThread(), TOKEN_QUERY, TRUE, token.receive()) &&
        ::LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &wanted.Privilege[0].Luid) &&
        ::PrivilegeCheck(token.get(), &wanted, &held) && held);
    ::RevertToSelf();
}
