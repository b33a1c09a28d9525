#pragma once
// <windows.h> for the backend. Its A/W switch macros would rename the platform interfaces'
// own members (DeleteFile, MessageBox, ...) in every file that sees both, so they go; the
// backend always calls the W functions by their full names anyway.
#include <windows.h>
// After windows.h, which it needs: the task allocator that frees shell item lists.
#include <objbase.h>

#undef CreateDirectory
#undef DeleteFile
#undef GetTempPath
#undef GetUserName
#undef MessageBox
#undef RemoveDirectory
#undef ReplaceFile
