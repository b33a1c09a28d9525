#pragma once
// File-name patterns as FindFirstFile applies them: '*' is any run of characters, '?' exactly
// one, letter case is ignored, "*.*" means every name (with or without a dot), and a mask that
// runs out may still end in dots and stars. Short 8.3 aliases play no part: the simulated
// drive has none, so "*.txt" never matches "a.txt.bak".
#include <string_view>

namespace qm::sim {

bool MatchesWildcard(std::string_view pattern, std::string_view name);

// True when the text holds '*' or '?'.
bool HasWildcard(std::string_view text);

}  // namespace qm::sim
