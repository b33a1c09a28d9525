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
    // The held file lies in a folder of its own: the walk of the temporary folder stops at a
    // file it cannot delete, and the other folder may come before or after it.
    const std::vector<Planted> planted = {{folders.temp + L"\\rep-a.tmp", "12345"},
                                          {folders.temp + L"\\rep-b.tmp", "abc"},
                                          {folders.temp + L"\\rep-done\\rep-c \u00fc.tmp", "c"},
                                          {folders.cookies + L"\\rep@site.txt", "cookie!"}};
    for (const Planted& file : planted) ASSERT_TRUE(PlantFile(file.path, file.bytes));
    const std::wstring held_path = folders.temp + L"\\rep-sub\\rep-held.tmp";
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

    // The held file in the temporary folder has never made the exit code 1.
    EXPECT_EQ(document["exitCode"], code);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(document["version"], "2.80");
    EXPECT_FALSE(document["machine"].get<std::string>().empty());
    EXPECT_FALSE(document["user"].get<std::string>().empty());
    EXPECT_EQ(document["start"].get<std::string>().size(), 20u);
    EXPECT_LE(document["start"], document["end"]);
    std::size_t temp_files = 0, temp_bytes = 0;
    for (const Planted& file : planted) {
        if (!file.path.starts_with(folders.temp) || FileExists(file.path)) continue;
        ++temp_files;
        temp_bytes += file.bytes.size();
    }
    EXPECT_FALSE(FileExists(planted[0].path) || FileExists(planted[1].path));
    EXPECT_FALSE(FileExists(planted[3].path));
    EXPECT_TRUE(FileExists(held_path));
    const nlohmann::json temp = Item(document, "temp");
    EXPECT_EQ(temp["outcome"], "failed");
    EXPECT_EQ(temp["files"], temp_files);
    EXPECT_EQ(temp["bytes"], temp_bytes);
    // The held file's folder and the temporary folder stay.
    EXPECT_EQ(temp["folders"], FolderExists(folders.temp + L"\\rep-done") ? 0 : 1);
    EXPECT_EQ(Item(document, "cookies"),
              nlohmann::json::parse(R"({"name": "cookies", "outcome": "cleaned", "files": 1,
                                        "folders": 0, "registry": 0, "bytes": 7})"));
    EXPECT_EQ(Item(document, "ihistory")["outcome"], "skipped");

    // The text report names the held file with the system's words and number, and ends as it
    // always has.
    EXPECT_NE(log.find("  failed    " + Narrow(held_path) + ": "), std::string::npos) << log;
    EXPECT_NE(log.find(" (error 32)\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("  file      " + Narrow(planted[0].path) + " (5 bytes)\r\n"),
              std::string::npos)
        << log;
    EXPECT_TRUE(log.ends_with(", 1 failed in 2 items.\r\nAll selected items has been cleaned.\r\n"))
        << log;

    // Wine reports every event as written and keeps none to read back; where the log does keep
    // them, the run's entry is there with its outcome.
    if (const std::optional<std::wstring> entry = NewestQuillmossEntry()) {
        EXPECT_EQ(
            entry->find(L"The clean from the command line ran: 2 items cleaned, 1 failed.\r\n"), 0u)
            << Narrow(*entry);
    }
}

}  // namespace
}  // namespace qm::e2e
