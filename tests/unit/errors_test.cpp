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
    bool online = false;
    std::vector<std::string> sent;
    ErrorReporter reporter([&] { return ++online_tests, online; },
                           [&](const std::string& address) { sent.push_back(address); });
    reporter.SetSite("https://site");
    const RuntimeError wipe_dir(53, "C:\\Users\\Tester\\secret.doc");
    reporter.Report(label::kWipeDir, wipe_dir);
    // Error number 0 is no error: not even the online test runs.
    reporter.Report(label::kWipeDir, RuntimeError(0, "nothing"));
    EXPECT_EQ(online_tests, 1);
    online = true;
    reporter.Report(label::kWipeDir, wipe_dir);
    reporter.Report(label::kWipeDir, wipe_dir);
    reporter.Report(label::kWipeFiles, wipe_dir);
    reporter.Report(label::kWipeDir, RuntimeError(70, "Permission denied"));
    const std::string page = "https://site/error-reporting/error-msg.php?modClean%2CWipe";
    EXPECT_EQ(sent, (std::vector<std::string>{page + "Dir53File%20not%20found",
                                              page + "Files53File%20not%20found",
                                              page + "Dir70Permission%20denied"}));

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
