#pragma once
// The simulated Application event log: it keeps every entry, or refuses them all as a
// machine without an event log service does.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/event_log.h"

namespace qm::sim {

struct EventEntry {
    std::string source;
    platform::EventType type = platform::EventType::Information;
    std::uint32_t event_id = 0;
    std::string text;
};

class SimEventLog final : public platform::EventLog {
  public:
    std::vector<EventEntry> entries;
    platform::Status refusal = platform::kOk;  // not kOk: every report fails with it

    platform::Status Report(std::string_view source, platform::EventType type,
                            std::uint32_t event_id, std::string_view text) override {
        if (refusal != platform::kOk) return refusal;
        entries.push_back({std::string(source), type, event_id, std::string(text)});
        return platform::kOk;
    }
};

}  // namespace qm::sim
