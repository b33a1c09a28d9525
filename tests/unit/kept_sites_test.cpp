// The sites whose cookies stay: which names the list takes, and which hosts a name keeps.
#include <gtest/gtest.h>

#include "cleaners/kept_sites.h"

namespace qm::cleaners {
namespace {

TEST(KeptSites, PlainHostNamesAreTakenFoldedAndOddOnesKeepNothing) {
    const std::string too_long(64, 'a');
    const KeptSites kept = KeptSites::Parse(
        "  Mail.Example.COM\t..bank.example.  *.evil.test evil?.test a/b.test host:80 " + too_long +
        ".test 10.0.0.1 b\xC3\xA4nk.test a..b .  mail.example.com -x.test");
    EXPECT_EQ(kept.sites(),
              (std::vector<std::string>{"mail.example.com", "bank.example", "10.0.0.1"}));
    EXPECT_TRUE(KeptSites::Parse("").empty());
    EXPECT_TRUE(KeptSites::Parse(" \t ").empty());
}

TEST(KeptSites, ASiteKeepsItselfAndWhatLiesBelowItNeverANameThatMerelyEndsTheSame) {
    const KeptSites kept = KeptSites::Parse("example.com 10.0.0.1");
    for (const char* host : {"example.com", ".example.com", "WWW.Example.com", "a.b.example.com",
                             "example.com.", "10.0.0.1"})
        EXPECT_TRUE(kept.Keeps(host)) << host;
    for (const char* host : {"badexample.com", "example.com.evil", "com", "", ".", "x10.0.0.1",
                             "example.co", "exam\xC3\xA9ple.com"})
        EXPECT_FALSE(kept.Keeps(host)) << host;
}

}  // namespace
}  // namespace qm::cleaners
