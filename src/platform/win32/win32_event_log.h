#pragma once
// The Application event log through advapi32's event source calls, there since Windows NT.
#include "platform/event_log.h"

namespace qm::win32 {

class Win32EventLog final : public platform::EventLog {
  public:
    platform::Status Report(std::string_view source, platform::EventType type,
                            std::uint32_t event_id, std::string_view text) override;
};

}  // namespace qm::win32
