// What an unattended clean reports from the record of the real run: the text report's lines
// and tallies, the JSON document, and the one event log entry of each unattended start.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "browser_machine.h"
#include "cleaners/ie_cleaners.h"
#include "cli/command_line.h"
#include "cli/unattended.h"
#include "main_window_fixture.h"
#include "platform/sim/sim_system.h"

namespace qm {
namespace {

constexpr auto npos = std::string::npos;
const std::string kTemp = "C:\\Documents and Settings\\Tester\\Local Settings\\Temp";
const std::string kCookies = "C:\\Documents and Settings\\Tester\\Cookies";
const std::string kHeldText =
    ": The process cannot access the file because it is being used by another process. (error "
    "32)";

class CleanReportTest : public testing::MainWindowTest {
  protected:
    int Run(const std::vector<std::string>& args) {
        return cli_.Run(args, [this](std::string_view report) { report_ = report; });
    }
    // Three files that go (5, 3 and 1 bytes, the last in a folder that goes too), and one held
    // open in a folder that therefore stays.
    void PlantTemp() {
        machine_.AddFile(kTemp + "\\a.tmp", "12345");
        machine_.AddFile(kTemp + "\\b.tmp", "abc");
        machine_.AddFile(kTemp + "\\done\\c.tmp", "c");
        machine_.AddFile(kTemp + "\\sub\\held.tmp", "xy");
        machine_.Lock(kTemp + "\\sub\\held.tmp");
    }
    template <class Json>
    nlohmann::json Item(const Json& document, std::string_view name) {
        for (const auto& item : document["items"]) {
            if (item["name"] == name) return nlohmann::json::parse(item.dump());
        }
        return {};
    }
    const std::vector<sim::EventEntry>& events() { return machine_.event_log().entries; }
    cli::Unattended cli_{machine_.platform(), settings_, reporter_};
    std::string report_;
};

TEST_F(CleanReportTest, TextReportListsWhatTheRunRemovedAndWhatItCouldNot) {
    PlantTemp();
    settings_.SaveSettingString(platform::Root::CurrentUser, cleaners::ie_keys::kTypedUrls, "url1",
                                "http://a.example/");
    testing::PlaceBrowserFixtures(machine_);
    // Refused at first for being read-only, then deleted once told so: no failure of its own.
    const std::string read_only =
        "C:\\Documents and Settings\\Tester\\Local Settings\\Application "
        "Data\\Chromium\\User Data\\Default\\Cache\\qm-read-only";
    machine_.AddFile(read_only, "1234567", platform::attr::kReadOnly);
    // An own place's folder that keeps a held file is no failure of its own: the file is.
    settings_.Save("custom1place", "folder|C:\\Own|*.*|1");
    machine_.AddFile("C:\\Own\\sub\\held.log", "1");
    machine_.Lock("C:\\Own\\sub\\held.log");
    // The temporary folder's cleaner has always let a held file go unreported: the exit code stays.
    EXPECT_EQ(Run({"/clean", "temp", "urllist", "chromehist", "chromecache", "custom1"}),
              cli::kExitDone);
    EXPECT_NE(report_.find("  failed    C:\\Own\\sub\\held.log" + kHeldText), npos) << report_;
    EXPECT_NE(report_.find("  file      " + read_only + " (7 bytes)\r\n"), npos) << report_;

    const std::string typed = "HKCU\\" + std::string(cleaners::ie_keys::kTypedUrls);
    for (const std::string& line :
         {"Cleaning recent visited URL lists...\r\n  key       " + typed +
              "\r\n  = 1 entries, 0 files, 0 bytes\r\nRecent visited URL list Cleaned.\r\n",
          "Cleaning temporary files...\r\n  file      " + kTemp +
              "\\a.tmp (5 bytes)\r\n  file      " + kTemp + "\\b.tmp (3 bytes)\r\n  file      " +
              kTemp + "\\done\\c.tmp (1 bytes)\r\n" + "  folder    " + kTemp + "\\done\r\n",
          "  failed    " + kTemp + "\\sub\\held.tmp" + kHeldText + "\r\n" +
              "  = 4 entries, 3 files, 9 bytes, 1 failed\r\nTemporary files Cleaned.\r\n",
          " rows, 2 failed in 5 items.\r\n" + std::string(clean::kFinalLine) + "\r\n"}) {
        EXPECT_NE(report_.find(line), npos) << line << "\n" << report_;
    }
    // The history's rows are counted; the work copies the clean made and removed itself are not
    // the user's and never show.
    const std::size_t history = report_.find("other browsers' history...");
    ASSERT_NE(history, npos) << report_;
    EXPECT_NE(report_.find("\\History : urls (", history), npos) << report_.substr(history);
    EXPECT_EQ(report_.find(".qmclean"), npos) << report_.substr(history);
    EXPECT_EQ(report_.find("errors met"), npos);
    EXPECT_TRUE(machine_.Exists(kTemp + "\\sub\\held.tmp"));
}

TEST_F(CleanReportTest, JsonDocumentHoldsEveryItemWithItsOutcomeAndCounts) {
    PlantTemp();
    machine_.AddFile(kCookies + "\\me@site.txt", "cookie");
    // A name Windows handed over as no valid UTF-8 does not break the document.
    static_cast<sim::SimSystemInfo&>(machine_.system()).computer_name = "PC-\xFF\xFE";
    // A call this Windows lacks (the resolver's flush) removes nothing and fails at nothing.
    machine_.session_traces().has_dns_call = false;
    const int code = Run({"/clean", "temp", "cookies", "dnscache", "/json", "C:\\run.json"});
    std::string text;
    ASSERT_EQ(machine_.files().ReadFile("C:\\run.json", text), platform::kOk);
    const nlohmann::ordered_json document = nlohmann::ordered_json::parse(text);

    std::vector<std::string> keys;
    for (const auto& [key, value] : document.items()) keys.push_back(key);
    EXPECT_EQ(keys, (std::vector<std::string>{"version", "machine", "user", "start", "end",
                                              "exitCode", "items", "ignoredPolicies"}));
    EXPECT_EQ(document["version"], "2.80");
    EXPECT_EQ(document["machine"], "PC-\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(document["user"], "Tester");
    EXPECT_EQ(document["start"], "2026-12-06T22:30:00Z");  // the machine has been up an hour
    EXPECT_EQ(document["exitCode"], code);
    EXPECT_EQ(code, cli::kExitDone);
    EXPECT_EQ(document["items"].size(), clean::ItemsInRunOrder().size());
    EXPECT_EQ(Item(document, "temp"),
              nlohmann::json::parse(R"({"name": "temp", "outcome": "failed", "files": 3,
                                        "folders": 1, "registry": 0, "bytes": 9})"));
    EXPECT_EQ(Item(document, "cookies")["outcome"], "cleaned");
    EXPECT_EQ(Item(document, "cookies")["bytes"], 6);
    EXPECT_EQ(Item(document, "ihistory")["outcome"], "skipped");
    EXPECT_EQ(Item(document, "dnscache")["outcome"], "cleaned");

    // The preview's document, on the console: what would go, and no failure.
    machine_.Unlock(kTemp + "\\sub\\held.tmp");
    EXPECT_EQ(Run({"/preview", "temp", "/json", "-"}), cli::kExitDone);
    const nlohmann::json preview = nlohmann::json::parse(report_);
    EXPECT_EQ(preview["preview"], true);
    EXPECT_EQ(preview["exitCode"], 0);
    EXPECT_EQ(Item(preview, "temp")["outcome"], "cleaned");
    EXPECT_EQ(Item(preview, "temp")["files"], 1);
    EXPECT_EQ(Item(preview, "temp")["bytes"], 2);
    EXPECT_EQ(Item(preview, "cookies")["outcome"], "skipped");

    // A document that cannot be written stops everything first, as a log does.
    machine_.AddFile(kTemp + "\\c.tmp", "c");
    EXPECT_EQ(Run({"/clean", "temp", "/json", "C:\\No such folder\\run.json"}), cli::kExitUsage);
    EXPECT_NE(report_.find("cannot write the JSON file"), npos);
    EXPECT_TRUE(machine_.Exists(kTemp + "\\c.tmp"));
    EXPECT_EQ(Run({"/list", "/json", "-"}), cli::kExitUsage);
}

TEST_F(CleanReportTest, UnattendedRunsLeaveOneEventEntryAndTheWindowsOwnRunsNone) {
    machine_.AddFile(kCookies + "\\a.txt", "1234");
    EXPECT_EQ(Run({"/clean", "cookies"}), cli::kExitDone);
    ASSERT_EQ(events().size(), 1u);
    EXPECT_EQ(events()[0].source, "Quillmoss");
    EXPECT_EQ(events()[0].type, platform::EventType::Information);
    EXPECT_EQ(events()[0].event_id, clean::kCleanDoneEvent);
    EXPECT_EQ(events()[0].text,
              "The clean from the command line ran: 1 items cleaned, 0 failed.\r\n"
              "Cleaned: cookies\r\nFailed: none\r\nRemoved: 1 files (4 bytes), 0 folders, 0 "
              "registry entries, 1 entries in all; 0 could not be removed.");

    // Held open: a warning; and where the log refuses, the run and its report are the same.
    machine_.AddFile(kCookies + "\\held.txt", "1");
    machine_.Lock(kCookies + "\\held.txt");
    EXPECT_EQ(Run({"/clean", "cookies"}), cli::kExitStepFailed);
    ASSERT_EQ(events().size(), 2u);
    EXPECT_EQ(events()[1].type, platform::EventType::Warning);
    EXPECT_EQ(events()[1].event_id, clean::kCleanFailedEvent);
    EXPECT_NE(events()[1].text.find("Failed: cookies\r\n"), npos) << events()[1].text;
    const std::string told = report_;
    machine_.event_log().refusal = 1717;  // no event log service
    EXPECT_EQ(Run({"/clean", "cookies"}), cli::kExitStepFailed);
    EXPECT_EQ(report_, told);
    machine_.event_log().refusal = platform::kOk;
    machine_.Unlock(kCookies + "\\held.txt");

    // The scheduled clean and the clean at log-off, each once; the button's run writes none.
    Tick("chkCookies");
    machine_.AddFile(kCookies + "\\b.txt", "12");
    window_.schedule().SwitchOn("1/2 Hours");
    machine_.Idle(31 * 60 * 1000);
    window_.schedule().SwitchOff();
    ASSERT_EQ(events().size(), 3u);
    EXPECT_EQ(events()[2].text.find("The scheduled clean ran: 1 items cleaned, 0 failed.\r\n"
                                    "Cleaned: cookies\r\n"),
              0u)
        << events()[2].text;
    EXPECT_NE(events()[2].text.find("2 files (3 bytes)"), npos) << events()[2].text;
    EXPECT_FALSE(machine_.Exists(kCookies + "\\b.txt"));

    window_.Command7_Click();
    EXPECT_EQ(events().size(), 3u);

    settings_.Save("cleansd", "e");
    machine_.AddFile(kCookies + "\\c.txt", "123");
    machine_.Lock(kCookies + "\\c.txt");
    window_.Form_QueryUnload(app::kUnloadSessionEnding);
    ASSERT_EQ(events().size(), 4u);
    EXPECT_EQ(events()[3].type, platform::EventType::Warning);
    EXPECT_EQ(events()[3].text.substr(0, 52),
              "The clean at log-off ran: 1 items cleaned, 1 failed.");
    EXPECT_NE(events()[3].text.find("; 1 could not be removed."), npos) << events()[3].text;
}

}  // namespace
}  // namespace qm
