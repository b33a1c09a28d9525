#include "cli/json_report.h"

#include <chrono>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "clean/clean_run.h"
#include "platform/dry_run/dry_tally.h"

namespace qm::cli {

std::string IsoUtc(std::int64_t seconds) {
    using namespace std::chrono;
    const sys_seconds time{std::chrono::seconds{seconds}};
    const sys_days day = floor<days>(time);
    const year_month_day date{day};
    const hh_mm_ss clock{time - day};
    char text[32] = {};
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ",
                  static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
                  static_cast<unsigned>(date.day()), static_cast<int>(clock.hours().count()),
                  static_cast<int>(clock.minutes().count()),
                  static_cast<int>(clock.seconds().count()));
    return text;
}

std::string JsonReport(const clean::RunOutcome& outcome, const JsonFacts& facts) {
    nlohmann::ordered_json document;
    document["version"] = clean::kProgramVersion;
    document["machine"] = facts.machine;
    document["user"] = facts.user;
    document["start"] = IsoUtc(outcome.start);
    document["end"] = IsoUtc(outcome.end);
    document["exitCode"] = facts.exit_code;
    if (facts.preview) document["preview"] = true;
    nlohmann::ordered_json items = nlohmann::ordered_json::array();
    for (const clean::ItemOutcome& item : outcome.items) {
        dry_run::Tally tally;
        for (const auto& removal : item.removals.removed) tally.Add(removal);
        items.push_back({{"name", item.name},
                         {"outcome", !item.selected ? "skipped"
                                     : item.failed  ? "failed"
                                                    : "cleaned"},
                         {"files", tally.files},
                         {"folders", tally.folders},
                         {"registry", tally.registry_entries},
                         {"bytes", tally.bytes}});
    }
    document["items"] = std::move(items);
    document["ignoredPolicies"] = facts.ignored_policies;
    return document.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\r\n";
}

}  // namespace qm::cli
