#include "platform/win32/win32_event_log.h"

#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

namespace qm::win32 {

namespace {

// ReportEvent takes at most 31,839 characters in one insertion string; the rest is cut
// rather than the whole entry refused.
constexpr std::size_t kMostCharacters = 31000;

}  // namespace

platform::Status Win32EventLog::Report(std::string_view source, platform::EventType type,
                                       std::uint32_t event_id, std::string_view text) {
    const std::wstring name = ToWide(source);
    HANDLE log = ::RegisterEventSourceW(nullptr, name.c_str());
    if (log == nullptr) return static_cast<platform::Status>(::GetLastError());
    std::wstring wide = ToWide(text);
    if (wide.size() > kMostCharacters) wide.resize(kMostCharacters);
    const wchar_t* strings[] = {wide.c_str()};
    const WORD kind =
        type == platform::EventType::Warning ? EVENTLOG_WARNING_TYPE : EVENTLOG_INFORMATION_TYPE;
    const BOOL reported = ::ReportEventW(log, kind, 0, event_id, nullptr, 1, 0, strings, nullptr);
    const platform::Status status =
        reported ? platform::kOk : static_cast<platform::Status>(::GetLastError());
    ::DeregisterEventSource(log);
    return status;
}

}  // namespace qm::win32
