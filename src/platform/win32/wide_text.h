#pragma once
// The core speaks UTF-8, Windows speaks UTF-16: every text crosses here, so names outside
// the ANSI code page survive the trip both ways.
#include <string>
#include <string_view>

namespace qm::win32 {

std::wstring ToWide(std::string_view text);
std::string ToUtf8(std::wstring_view text);

// A file-system path for the W APIs: "/" becomes "\", and an absolute drive path is
// normalised and given the \\?\ prefix so that paths of MAX_PATH characters and more work.
// Anything else (relative, UNC, already prefixed) only has its slashes turned.
std::wstring ToWidePath(std::string_view path);

}  // namespace qm::win32
