#pragma once
// The JSON report of /clean and /preview, for the tools an administrator reads runs with:
// one document a run, written with nlohmann/json, never pasted together from strings.
//   {"version", "machine", "user", "start", "end" (ISO 8601 UTC), "exitCode", ["preview": true,]
//    "items": [{"name", "outcome" ("cleaned", "failed", "skipped"), "files", "folders",
//               "registry", "bytes"}, ...], "ignoredPolicies": [text, ...]}
// A text that is not valid UTF-8 (a name as Windows gave it) has its bad bytes replaced with
// U+FFFD, so the document always parses.
#include <cstdint>
#include <string>
#include <vector>

#include "clean/run_outcome.h"

namespace qm::cli {

struct JsonFacts {
    std::string machine;
    std::string user;
    int exit_code = 0;
    bool preview = false;  // the counts are what would go
    // The policy values the run ignored, as the text report's first lines say them.
    std::vector<std::string> ignored_policies;
};

std::string JsonReport(const clean::RunOutcome& outcome, const JsonFacts& facts);
// "2026-12-07T22:40:00Z"
std::string IsoUtc(std::int64_t seconds);

}  // namespace qm::cli
