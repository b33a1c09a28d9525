#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <vector>

#include "core_test_support.h"
#include "errors/labels.h"
#include "errors/runtime_error.h"

namespace qm::errors {
namespace {

TEST(ErrorReporter, LabelsAreDistinctAndAddressesPercentEncodedWithSignedNumbers) {
    // The server files reports by label, so two places sharing one would be indistinguishable.
    const std::set<std::string_view> distinct(label::kAll.begin(), label::kAll.end());
    EXPECT_EQ(distinct.size(), label::kAll.size());
    EXPECT_EQ(ErrorReporter::ReportAddress("https://h", "MoDule\",Get", -2147483647 - 1, "a&b c?"),
              "https://h/error-reporting/error-msg.php?MoDule%22%2CGet-2147483648a%26b%20c%3F");
}

TEST(ErrorReporter, SendsTheGenericTextOnlyWhenOnlineAndEachLabelAndNumberOncePerRun) {
    int online_tests = 0;
    std::vector<std::string> sent;
    ErrorReporter reporter([&] { return ++online_tests, true; },
                           [&](const std::string& address) { sent.push_back(address); });
    reporter.SetSite("https://site");
    const RuntimeError wipe_dir(53, "C:\\Users\\Tester\\secret.doc");
    // Error number 0 is no error: not even the online test runs.
    reporter.Report(label::kWipeDir, RuntimeError(0, "nothing"));
    EXPECT_EQ(online_tests, 0);
    reporter.Report(label::kWipeDir, wipe_dir);
    reporter.Report(label::kWipeDir, wipe_dir);
    reporter.Report(label::kWipeFiles, wipe_dir);
    reporter.Report(label::kWipeDir, RuntimeError(70, "Permission denied"));
    const std::string page = "https://site/error-reporting/error-msg.php?modClean%2CWipe";
    EXPECT_EQ(sent, (std::vector<std::string>{page + "Dir53File%20not%20found",
                                              page + "Files53File%20not%20found",
                                              page + "Dir70Permission%20denied"}));
    EXPECT_EQ(online_tests, 1);

    ErrorReporter timing_out([] { return true; },
                             [](const std::string&) { throw RuntimeError(35761, "Timeout"); });
    ErrorReporter unreachable([]() -> bool { throw std::runtime_error("no network stack"); },
                              [](const std::string&) {});
    int steps_run = 0;
    ReportingStep(timing_out, label::kWipeFiles, [] { throw RuntimeError(70, "Denied"); });
    ReportingStep(unreachable, label::kWipeFiles, [] { throw RuntimeError(7, "Out of memory"); });
    ReportingStep(timing_out, label::kWipeFiles, [&] { ++steps_run; });
    EXPECT_EQ(steps_run, 1);
}

// A clean run meeting one locked file after another must not wait on the network for each.
TEST(ErrorReporter, AsksWhetherTheSiteIsReachableOnceARunAndAFailedSendCountsAsNo) {
    struct Case {
        bool online;
        bool send_fails;
        int sends_tried;  // of three reports, each with its own label
    };
    for (const Case& c : {Case{false, false, 0}, Case{true, true, 1}, Case{true, false, 3}}) {
        int online_tests = 0, sends = 0;
        ErrorReporter reporter([&] { return ++online_tests, c.online; },
                               [&](const std::string&) {
                                   ++sends;
                                   if (c.send_fails) throw RuntimeError(35754, "Cannot connect");
                               });
        for (const std::string_view label :
             {label::kWipeDir, label::kWipeFiles, label::kKillFolder})
            reporter.Report(label, RuntimeError(53, "File not found"));
        EXPECT_EQ(online_tests, 1) << c.online;
        EXPECT_EQ(sends, c.sends_tried) << c.online << c.send_fails;
    }

    // The online test's wait runs the window's handlers; one that fails meanwhile reports
    // without a second test, and without a send before the answer is in.
    int online_tests = 0;
    std::vector<std::string> sent;
    ErrorReporter* self = nullptr;
    ErrorReporter nested(
        [&] {
            ++online_tests;
            self->Report(label::kWipeFiles, RuntimeError(70, "Permission denied"));
            return true;
        },
        [&](const std::string& address) { sent.push_back(address); });
    self = &nested;
    nested.Report(label::kWipeDir, RuntimeError(53, "File not found"));
    EXPECT_EQ(online_tests, 1);
    EXPECT_EQ(sent.size(), 1u);
    EXPECT_EQ(nested.reports(), 2);
}

TEST(ErrorStyles, ReportingGoesOnAfterReportingAndSilentSwallowsOnlyRunTimeErrors) {
    testing::OnlineReporter log;
    int reached = 0;
    ReportingStep(log.reporter, label::kWipeDir, [&] {
        ThrowIfFailed(platform::kErrorDirNotEmpty);
        ++reached;  // never: the step ends at the failure
    });
    ReportingStep(log.reporter, label::kWipeDir, [&] { reached += 10; });
    EXPECT_EQ(reached, 10);
    EXPECT_EQ(log.CountFor(label::kWipeDir), 1);
    SilentStep([] { ThrowIfFailed(platform::kErrorAccessDenied); });
    EXPECT_EQ(log.sent.size(), 1u);
    // A programming fault is not a run-time error and must not vanish.
    EXPECT_THROW(SilentStep([] { throw std::logic_error("bug"); }), std::logic_error);
}

}  // namespace
}  // namespace qm::errors
