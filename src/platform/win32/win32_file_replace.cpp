// Putting one file in the place of another in a single step, each step written through to the
// disk before the call returns.
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/windows_api.h"

namespace qm::win32 {

using platform::Status;

Status Win32FileSystem::ReplaceFile(std::string_view replaced, std::string_view replacement,
                                    std::string_view backup) {
    const std::wstring old_file = ToWidePath(replaced);
    const std::wstring new_file = ToWidePath(replacement);
    const std::wstring kept = ToWidePath(backup);
    if (::ReplaceFileW(old_file.c_str(), new_file.c_str(), kept.c_str(), REPLACEFILE_WRITE_THROUGH,
                       nullptr, nullptr))
        return platform::kOk;
    // Some versions take no write-through flag at all and say so before doing anything; the
    // replacement was written through already, so the renames alone are left.
    if (::GetLastError() != ERROR_INVALID_PARAMETER) return static_cast<Status>(::GetLastError());
    if (::ReplaceFileW(old_file.c_str(), new_file.c_str(), kept.c_str(), 0, nullptr, nullptr))
        return platform::kOk;
    return static_cast<Status>(::GetLastError());
}

Status Win32FileSystem::MoveFileReplacing(std::string_view source, std::string_view target) {
    if (::MoveFileExW(ToWidePath(source).c_str(), ToWidePath(target).c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return platform::kOk;
    return static_cast<Status>(::GetLastError());
}

}  // namespace qm::win32
