// Version record, tick count, processor, memory, the shell library's version and the ANSI
// code page.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <tuple>
#include <utility>

#include "backend.h"

namespace qm::contract {
namespace {

using namespace std::string_literals;

struct KnownVersion {
    const char* name;  // the prefix setting that makes Wine report it
    platform::VersionRecord record;
};

// 9x reports the version in the high half of the build field as well.
constexpr KnownVersion kKnownVersions[] = {
    {"winxp", {true, 5, 1, 2600, 2}},
    {"win2k", {true, 5, 0, 2195, 2}},
    {"win98", {true, 4, 10, 0x040A08AE, 1}},
    {"win7", {true, 6, 1, 7601, 2}},
};

// The real machine reports what the test prefix is set to (QM_WINVER, as the Wine runner
// reads it, winxp unless told otherwise); the simulated one starts as XP.
std::string ExpectedVersionName(const Backend& backend) {
    const char* configured = backend.IsReal() ? std::getenv("QM_WINVER") : nullptr;
    return configured != nullptr && *configured != '\0' ? configured : "winxp";
}

class SystemInfoContract : public ::testing::Test {
  protected:
    std::unique_ptr<Backend> backend_ = MakeBackend();
    platform::SystemInfo& system_ = backend_->system();
};

TEST_F(SystemInfoContract, VersionRecordIsTheConfiguredWindows) {
    const std::string name = ExpectedVersionName(*backend_);
    const auto* expected =
        std::find_if(std::begin(kKnownVersions), std::end(kKnownVersions),
                     [&](const KnownVersion& known) { return name == known.name; });
    ASSERT_NE(expected, std::end(kKnownVersions)) << "no expectation for Windows version " << name;
    const auto fields = [](const platform::VersionRecord& v) {
        return std::make_tuple(v.ok, v.major, v.minor, v.build, v.platform);
    };
    EXPECT_EQ(fields(system_.GetVersion()), fields(expected->record));
}

TEST_F(SystemInfoContract, TickCountMovesForwardOnly) {
    const std::uint32_t first = system_.GetTickCount();
    std::uint32_t later = system_.GetTickCount();
    if (backend_->IsReal()) {
        // Real time passes by itself; the clock's granularity is some milliseconds.
        const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (later == first && std::chrono::steady_clock::now() < give_up)
            later = system_.GetTickCount();
        EXPECT_NE(later, first);
    }
    // Unsigned difference: correct across the 2^32 wrap, huge if the clock went back.
    EXPECT_LT(static_cast<std::uint32_t>(later - first), 60'000u);
}

TEST_F(SystemInfoContract, ProcessorMemoryAndShellLibraryFiguresAreSane) {
    const platform::ProcessorInfo processor = system_.GetProcessor();
    EXPECT_GE(processor.count, 1u);
    EXPECT_NE(processor.type, 0u);

    const platform::MemoryInfo memory = system_.GetMemory();
    constexpr std::uint64_t kMegabyte = 1024 * 1024;
    EXPECT_GE(memory.total_physical, 16 * kMegabyte);
    EXPECT_GT(memory.available_physical, 0u);
    EXPECT_LE(memory.available_physical, memory.total_physical);

    const platform::DllVersion version = system_.GetShlwapiVersion();
    ASSERT_TRUE(version.ok);
    // Every Windows Quillmoss runs on has at least the shell library of Internet Explorer 4.
    EXPECT_GE(version.major, 4u);
    EXPECT_GT(version.build, 0u);
}

// Both machines use Windows-1252: the simulated one by design, Wine's prefix for the C and
// en_US locales the runner starts it in.
TEST_F(SystemInfoContract, AnsiCodePageIsWindows1252WithoutLookAlikes) {
    // UTF-8 and its bytes in the code page; 0x81 is unassigned and Windows passes it through
    // as the control character U+0081.
    const std::pair<std::string, std::string> kBoth[] = {
        {"Jos\u00e9 d\u00e9faut \u20ac\u0178", "Jos\xE9 d\xE9"s + "faut \x80\x9F"},
        {"\xC2\x81", "\x81"},
    };
    for (const auto& [utf8, ansi] : kBoth) {
        std::string converted;
        EXPECT_TRUE(system_.ToAnsiCodePage(utf8, converted));
        EXPECT_EQ(converted, ansi);
        EXPECT_TRUE(system_.FromAnsiCodePage(ansi, converted));
        EXPECT_EQ(converted, utf8);
    }
    // "ł" would best-fit to "l", "ж" to "?".
    for (const std::string utf8 : {"\u0142", "Jos\u0436"}) {
        std::string converted;
        EXPECT_FALSE(system_.ToAnsiCodePage(utf8, converted)) << converted;
    }
}

// What a run's report carries: both names, a UTC clock within a minute of the host's, and the
// system's words for an error, one line without its line end; none for a number that is none.
TEST_F(SystemInfoContract, NamesClockAndErrorWordsOfTheReports) {
    EXPECT_FALSE(system_.ComputerName().empty());
    EXPECT_FALSE(system_.UserName().empty());
    const std::int64_t host = std::chrono::duration_cast<std::chrono::seconds>(
                                  std::chrono::system_clock::now().time_since_epoch())
                                  .count();
    if (backend_->IsReal()) {
        EXPECT_NEAR(static_cast<double>(system_.UtcSeconds()), static_cast<double>(host), 60.0);
    }
    EXPECT_GT(system_.UtcSeconds(), 1767225600);  // 2026
    for (const platform::Status error :
         {platform::kErrorAccessDenied, platform::kErrorSharingViolation}) {
        const std::string words = system_.ErrorText(error);
        EXPECT_FALSE(words.empty()) << error;
        EXPECT_EQ(words.find_first_of("\r\n"), std::string::npos) << words;
    }
    EXPECT_EQ(system_.ErrorText(0x20001234), "");
}

}  // namespace
}  // namespace qm::contract
