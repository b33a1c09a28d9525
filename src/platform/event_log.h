#pragma once
// The Application event log, where an administrator's tools look for what ran unattended.
// One entry a call, under an event source the installer registers with Quillmoss.exe as its
// message file; the entry's text is the one insertion string of its message.
#include <cstdint>
#include <string_view>

#include "platform/status.h"

namespace qm::platform {

enum class EventType : std::uint8_t { Information, Warning };

class EventLog {
  public:
    virtual ~EventLog() = default;
    // RegisterEventSource, ReportEvent with `text` as the one insertion string, and
    // DeregisterEventSource. A machine without an event log, or one that refuses the source,
    // answers with the Windows error; nothing else happens then.
    virtual Status Report(std::string_view source, EventType type, std::uint32_t event_id,
                          std::string_view text) = 0;
};

}  // namespace qm::platform
