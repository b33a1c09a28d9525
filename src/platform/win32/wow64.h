#pragma once
// A 32-bit Quillmoss on 64-bit Windows runs under WOW64, which shows a 32-bit process its own
// part of the machine: HKLM\Software is Software\Wow6432Node, System32 is SysWOW64 and
// CSIDL_PROGRAM_FILES is "Program Files (x86)". The user's traces and Quillmoss's settings are
// where the 64-bit program finds them, so the backend reaches past that view, and only under
// WOW64: a 32-bit Windows knows neither the flags nor the folders.
#include "platform/win32/windows_api.h"

#include <string>

namespace qm::win32 {

// True for a 32-bit process on 64-bit Windows. IsWow64Process is looked up when first asked:
// Windows 2000 and XP before SP2 have none, and neither comes in 64 bits.
bool RunsUnderWow64();

// KEY_WOW64_64KEY under WOW64, else nothing (Windows 2000 does not know the flag).
REGSAM NativeRegistryView();

// Deletes a key of the machine's own view: RegDeleteKeyExW with KEY_WOW64_64KEY under WOW64,
// looked up when first needed, else RegDeleteKeyW.
LONG DeleteNativeKey(HKEY root, const wchar_t* path);

// A \\?\ drive path below the Windows System32 folder, under WOW64, turned to Sysnative: the
// machine's own System32, where the file system would give SysWOW64. Any other path, and
// every path elsewhere, comes back as it is. Libraries are loaded by their own path
// (GetSystemDirectory), never through here, so a 32-bit program still loads 32-bit ones.
std::wstring NativeSystemPath(std::wstring path);

// "C:\Program Files" of the machine's own programs under WOW64, where CSIDL_PROGRAM_FILES
// names "Program Files (x86)": ProgramFilesDir of the 64-bit view. Empty when not under WOW64
// or not found.
std::wstring NativeProgramFiles();

// The machine's processors as GetNativeSystemInfo tells them (XP and later, looked up when
// first asked), so a 32-bit process on 64-bit Windows reports the 64-bit processor the 64-bit
// program does; GetSystemInfo where it is missing.
void GetMachineSystemInfo(SYSTEM_INFO& info);

}  // namespace qm::win32
