#include "cleaners/name_pattern.h"

#include <gtest/gtest.h>

#include <tuple>

namespace qm::cleaners {
namespace {

TEST(NamePattern, MatchesAsAFolderListingDoes) {
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"logo[1].GIF", "*.gif", true}, {"a.gif.bak", "*.gif", false},
        {"README", "*.*", true},        {"README", "*", true},
        {"page.htm", "*.html", false},  {"x.tmp", "?.tmp", true},
        {"xy.tmp", "?.tmp", false},     {"a.b.c.cab", "*.cab", true},
        {"cab", "*.cab", false},        {"", "*", true},
    };
    for (const auto& [name, pattern, matches] : cases)
        EXPECT_EQ(MatchesPattern(name, pattern), matches) << name << " / " << pattern;
}

}  // namespace
}  // namespace qm::cleaners
