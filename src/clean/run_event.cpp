#include "clean/run_event.h"

#include "platform/dry_run/dry_tally.h"

namespace qm::clean {

namespace {

std::string_view WhatRan(RunStart start) {
    switch (start) {
        case RunStart::CommandLine:
            return "The clean from the command line";
        case RunStart::Schedule:
            return "The scheduled clean";
        case RunStart::SessionEnd:
            return "The clean at log-off";
        case RunStart::Window:
            break;
    }
    return "The clean";
}

std::string Names(const RunOutcome& outcome, bool failed_only) {
    std::string names;
    for (const ItemOutcome& item : outcome.items) {
        if (!item.selected || (failed_only && !item.failed)) continue;
        names.append(names.empty() ? "" : ", ").append(item.name);
    }
    return names.empty() ? "none" : names;
}

}  // namespace

std::string EventText(RunStart start, const RunOutcome& outcome) {
    dry_run::Tally total;
    std::size_t cleaned = 0, failed = 0, failures = 0;
    for (const ItemOutcome& item : outcome.items) {
        if (!item.selected) continue;
        ++cleaned;
        if (item.failed) ++failed;
        failures += item.removals.failed.size();
        for (const auto& removal : item.removals.removed) total.Add(removal);
    }
    std::string text(WhatRan(start));
    text.append(" ran: ")
        .append(std::to_string(cleaned))
        .append(" items cleaned, ")
        .append(std::to_string(failed))
        .append(" failed.\r\nCleaned: ")
        .append(Names(outcome, false))
        .append("\r\nFailed: ")
        .append(Names(outcome, true))
        .append("\r\nRemoved: ")
        .append(std::to_string(total.files))
        .append(" files (")
        .append(std::to_string(total.bytes))
        .append(" bytes), ")
        .append(std::to_string(total.folders))
        .append(" folders, ")
        .append(std::to_string(total.registry_entries))
        .append(" registry entries, ")
        .append(std::to_string(total.entries))
        .append(" entries in all; ")
        .append(std::to_string(failures))
        .append(" could not be removed.");
    return text;
}

void ReportToEventLog(platform::EventLog& log, RunStart start, const RunOutcome& outcome) {
    bool failed = false;
    for (const ItemOutcome& item : outcome.items) failed = failed || (item.selected && item.failed);
    log.Report(kEventSource,
               failed ? platform::EventType::Warning : platform::EventType::Information,
               failed ? kCleanFailedEvent : kCleanDoneEvent, EventText(start, outcome));
}

}  // namespace qm::clean
