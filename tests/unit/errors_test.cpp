#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

#include "core_test_support.h"
#include "errors/error_reporter.h"
#include "errors/labels.h"
#include "errors/runtime_error.h"

namespace qm::errors {
namespace {

TEST(ErrorReporter, LabelsAreDistinctAndAddressesUnescapedWithSignedNumbers) {
    // The server files reports by label, so two places sharing one would be indistinguishable.
    const std::set<std::string_view> distinct(label::kAll.begin(), label::kAll.end());
    EXPECT_EQ(distinct.size(), label::kAll.size());
    for (const std::string_view text : label::kAll) {
        EXPECT_NE(text.find(','), std::string_view::npos) << text;
    }
    EXPECT_EQ(ErrorReporter::ReportAddress("http://h", label::kWipeDir, 53, "File not found"),
              "http://h/error-reporting/error-msg.php?modClean,WipeDir53File not found");
    EXPECT_EQ(ErrorReporter::ReportAddress("http://h", "Form1,Load", -2147221504, "a&b c?"),
              "http://h/error-reporting/error-msg.php?Form1,Load-2147221504a&b c?");
    EXPECT_EQ(ErrorReporter::ReportAddress("http://h", "x,y", -2147483647 - 1, ""),
              "http://h/error-reporting/error-msg.php?x,y-2147483648");
}

TEST(ErrorReporter, SendsOnlyWhenOnlineAndAlwaysClearsTheErrorState) {
    // No channel at all: offline.
    ErrorReporter offline;
    offline.Report(label::kWipeDir, RuntimeError(53, "File not found"));
    EXPECT_EQ(offline.current_number(), 0);
    EXPECT_TRUE(offline.current_description().empty());

    int online_tests = 0;
    bool online = false;
    std::vector<std::string> sent;
    std::int32_t number_while_sending = 0;
    ErrorReporter reporter(
        [&] {
            ++online_tests;
            return online;
        },
        [&](const std::string& address) {
            sent.push_back(address);
            number_while_sending = reporter.current_number();
        });
    reporter.SetSite("http://site");

    reporter.Report(label::kWipeDir, RuntimeError(53, "File not found"));
    EXPECT_EQ(online_tests, 1);
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(reporter.current_number(), 0);

    // Error number 0 is no error: not even the online test runs.
    reporter.Report(label::kWipeDir, RuntimeError(0, "nothing"));
    EXPECT_EQ(online_tests, 1);

    online = true;
    reporter.Report(label::kWipeDir, RuntimeError(53, "File not found"));
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0],
              "http://site/error-reporting/error-msg.php?modClean,WipeDir53File not found");
    EXPECT_EQ(number_while_sending, 53);
    EXPECT_EQ(reporter.current_number(), 0);
    EXPECT_TRUE(reporter.current_description().empty());
}

TEST(ErrorReporter, AFailingChannelNeverReachesTheReportingProcedure) {
    ErrorReporter reporter([] { return true; },
                           [](const std::string&) { throw RuntimeError(35761, "Timeout"); });
    int steps_run = 0;
    ReportingStep(reporter, label::kWipeFiles, [] { throw RuntimeError(70, "Permission denied"); });
    ReportingStep(reporter, label::kWipeFiles, [&] { ++steps_run; });
    EXPECT_EQ(steps_run, 1);
    EXPECT_EQ(reporter.current_number(), 0);

    ErrorReporter unreachable([]() -> bool { throw std::runtime_error("no network stack"); },
                              [](const std::string&) {});
    EXPECT_NO_THROW(unreachable.Report(label::kMemInfo, RuntimeError(7, "Out of memory")));
}

TEST(ErrorStyles, ReportingGoesOnAfterReportingAndSilentSwallowsOnlyRunTimeErrors) {
    testing::OnlineReporter log;
    std::vector<int> order;
    ReportingStep(log.reporter, label::kWipeDir, [&] {
        order.push_back(1);
        ThrowIfFailed(platform::kErrorDirNotEmpty);
        order.push_back(99);  // never reached: the step ends at the failure
    });
    ReportingStep(log.reporter, label::kWipeDir, [&] { order.push_back(2); });
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    EXPECT_EQ(log.CountFor(label::kWipeDir), 1);

    SilentStep([] { ThrowIfFailed(platform::kErrorAccessDenied); });
    EXPECT_EQ(log.sent.size(), 1u);
    // A programming fault is not a run-time error and must not vanish.
    EXPECT_THROW(SilentStep([] { throw std::logic_error("bug"); }), std::logic_error);
}

}  // namespace
}  // namespace qm::errors
