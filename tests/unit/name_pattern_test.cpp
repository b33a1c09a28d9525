#include "cleaners/name_pattern.h"

#include <gtest/gtest.h>

namespace qm::cleaners {
namespace {

TEST(NamePattern, MatchesAsAFolderListingDoes) {
    struct Case {
        const char* name;
        const char* pattern;
        bool matches;
    };
    const Case cases[] = {
        {"logo[1].GIF", "*.gif", true}, {"a.gif.bak", "*.gif", false},
        {"README", "*.*", true},        {"README", "*", true},
        {"page.htm", "*.html", false},  {"x.tmp", "?.tmp", true},
        {"xy.tmp", "?.tmp", false},     {"a.b.c.cab", "*.cab", true},
        {"cab", "*.cab", false},        {"", "*", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MatchesPattern(c.name, c.pattern), c.matches) << c.name << " / " << c.pattern;
    }
}

}  // namespace
}  // namespace qm::cleaners
