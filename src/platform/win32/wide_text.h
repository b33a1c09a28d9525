#pragma once
// The core speaks UTF-8, Windows speaks UTF-16: every text crosses here, so names outside
// the ANSI code page survive the trip both ways.
#include <string>
#include <string_view>

namespace qm::win32 {

std::wstring ToWide(std::string_view text);
std::string ToUtf8(std::wstring_view text);

// A file-system path for the W APIs: "/" becomes "\". A drive path ("C:\...") or a UNC path
// ("\\server\share\...") gets the \\?\ form ("\\?\UNC\server\share\..." for UNC),
// which lifts the MAX_PATH limit and keeps names exactly as given, trailing dots and blanks
// included; only ".", ".." and doubled separators are resolved. Anything else (relative,
// drive-relative, already prefixed) only has its slashes turned.
// A 32-bit process on 64-bit Windows gets the machine's own System32 (through Sysnative) for
// a drive path below it, not the 32-bit SysWOW64 the file system would give (wow64.h).
std::wstring ToWidePath(std::string_view path);

// True for a path that names the same place wherever the program stands: "C:\..." or
// "\\server\share\..." (either slash).
bool IsFullyQualifiedPath(std::wstring_view path);

}  // namespace qm::win32
