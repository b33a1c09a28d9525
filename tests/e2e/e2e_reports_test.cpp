// The reports an administrator's tools read, from the real Quillmoss.exe under Wine: the JSON
// document of /clean against what is really gone from the prefix, a file held open that the
// clean cannot remove, and the entry in the Application event log where Wine keeps one.
#include <gtest/gtest.h>

#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "profile_traces.h"
#include "window_driver.h"

namespace qm::e2e {
namespace {

nlohmann::json Item(const nlohmann::json& document, const std::string& name) {
    for (const nlohmann::json& item : document["items"]) {
        if (item["name"] == name) return item;
    }
    return {};
}

// The newest entry of source "Quillmoss" in the Application log, if the log can be read.
std::optional<std::wstring> NewestQuillmossEntry() {
    HANDLE log = OpenEventLogW(nullptr, L"Application");
    if (log == nullptr) return std::nullopt;
    std::vector<BYTE> buffer(1 << 16);
    DWORD read = 0, needed = 0;
    std::optional<std::wstring> found;
    while (!found &&
           ReadEventLogW(log, EVENTLOG_SEQUENTIAL_READ | EVENTLOG_BACKWARDS_READ, 0, buffer.data(),
                         static_cast<DWORD>(buffer.size()), &read, &needed)) {
        for (DWORD at = 0; at < read && !found;) {
            const auto* record = reinterpret_cast<const EVENTLOGRECORD*>(buffer.data() + at);
            const auto* source = reinterpret_cast<const wchar_t*>(record + 1);
            if (std::wstring(source) == L"Quillmoss" && record->NumStrings > 0)
                found = reinterpret_cast<const wchar_t*>(buffer.data() + at + record->StringOffset);
            at += record->Length;
        }
    }
    CloseEventLog(log);
    return found;
}

TEST(ReportsE2E, JsonOfACleanMatchesWhatIsGoneAndAHeldFileFails) {
    ASSERT_TRUE(std::getenv("QM_E2E_EXE"));
    const ProfileFolders folders = ProfileFolders::Current();
    RunQuillmoss(L"/clean temp cookies");  // what earlier tests left
    struct Planted {
        std::wstring path;
        std::string bytes;
    };
    const std::vector<Planted> planted = {{folders.temp + L"\\rep-a.tmp", "12345"},
                                          {folders.temp + L"\\rep sub\\rep-b \u00fc.tmp", "abc"},
                                          {folders.cookies + L"\\rep@site.txt", "cookie!"}};
    for (const Planted& file : planted) ASSERT_TRUE(PlantFile(file.path, file.bytes));
    const std::wstring held_path = folders.temp + L"\\rep-held.tmp";
    ASSERT_TRUE(PlantFile(held_path, "held"));
    HANDLE held = CreateFileW(held_path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);

    const std::wstring json_path = folders.app_data + L"\\qm-report \u00fc.json";
    const std::wstring log_path = folders.app_data + L"\\qm-report.log";
    const int code = RunQuillmoss(L"/clean temp cookies /json \"" + json_path + L"\" /log \"" +
                                  log_path + L"\"");
    CloseHandle(held);
    const std::string log = ReadWholeFile(log_path);
    const nlohmann::json document = nlohmann::json::parse(ReadWholeFile(json_path));

    EXPECT_EQ(document["exitCode"], code);
    EXPECT_EQ(code, 1);
    EXPECT_EQ(document["version"], "2.80");
    EXPECT_FALSE(document["machine"].get<std::string>().empty());
    EXPECT_FALSE(document["user"].get<std::string>().empty());
    EXPECT_EQ(document["start"].get<std::string>().size(), 20u);
    EXPECT_LE(document["start"], document["end"]);
    std::size_t temp_files = 0, temp_bytes = 0;
    for (const Planted& file : planted) {
        EXPECT_FALSE(FileExists(file.path)) << Narrow(file.path);
        if (file.path.starts_with(folders.temp)) ++temp_files, temp_bytes += file.bytes.size();
    }
    EXPECT_TRUE(FileExists(held_path));
    const nlohmann::json temp = Item(document, "temp");
    EXPECT_EQ(temp["outcome"], "failed");
    EXPECT_EQ(temp["files"], temp_files);
    EXPECT_EQ(temp["bytes"], temp_bytes);
    EXPECT_EQ(temp["folders"], 1);  // "rep sub"; the temporary folder keeps the held file
    EXPECT_EQ(Item(document, "cookies"),
              nlohmann::json::parse(R"({"name": "cookies", "outcome": "cleaned", "files": 1,
                                        "folders": 0, "registry": 0, "bytes": 7})"));
    EXPECT_EQ(Item(document, "ihistory")["outcome"], "skipped");

    // The text report names the held file with the system's words and number, and its lines
    // end as they always have.
    EXPECT_NE(log.find("  failed    " + Narrow(held_path) + ": "), std::string::npos) << log;
    EXPECT_NE(log.find("(error 32)\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("  file      " + Narrow(planted[0].path) + " (5 bytes)\r\n"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("All selected items has been cleaned.\r\n1 errors met; some traces may "
                       "remain.\r\n"),
              std::string::npos)
        << log;

    // Wine reports every event as written and keeps none to read back; where the log does keep
    // them, the run's entry is there with its outcome.
    if (const std::optional<std::wstring> entry = NewestQuillmossEntry()) {
        EXPECT_EQ(entry->find(L"The clean from the command line ran: 2 items cleaned, 1 failed."),
                  0u)
            << Narrow(*entry);
    }
}

}  // namespace
}  // namespace qm::e2e
