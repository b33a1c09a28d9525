#pragma once
// Wildcard matching of a file name against a pattern as a folder listing applies it: "*" any
// run of characters, "?" one character, letters without regard to case, and "*.*" (like "*")
// every name, with or without a dot. Lets a cleaner list a folder once and apply several
// patterns to the listing instead of listing the folder again for each.
#include <string_view>

namespace qm::cleaners {

bool MatchesPattern(std::string_view name, std::string_view pattern);

}  // namespace qm::cleaners
