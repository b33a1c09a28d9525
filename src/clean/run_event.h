#pragma once
// The one Application event log entry of an unattended clean: information when nothing
// failed, a warning otherwise, with what ran, the items cleaned and failed, and the counts.
// The message ids are those of res/messages.mc, whose one insertion string is the text.
#include <cstdint>
#include <string>
#include <string_view>

#include "clean/run_outcome.h"
#include "platform/event_log.h"

namespace qm::clean {

inline constexpr std::string_view kEventSource = "Quillmoss";
inline constexpr std::uint32_t kCleanDoneEvent = 1;
inline constexpr std::uint32_t kCleanFailedEvent = 2;

// Who started the run. The window's own runs (its button, Clean and Reboot) are watched by
// the user and write no entry.
enum class RunStart { Window, CommandLine, Schedule, SessionEnd };

std::string EventText(RunStart start, const RunOutcome& outcome);
// Writes the entry. Where the machine has no event log, or it refuses, the run is not told:
// the entry is an extra for the administrator, never a reason for the run to fail.
void ReportToEventLog(platform::EventLog& log, RunStart start, const RunOutcome& outcome);

}  // namespace qm::clean
