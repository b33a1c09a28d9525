#include "sysinfo/system_details.h"

#include <gtest/gtest.h>

#include "core_test_support.h"
#include "sysinfo/number_text.h"

namespace qm::sysinfo {
namespace {

using platform::VersionRecord;

constexpr std::string_view kCpuKey = "Hardware\\Description\\System\\CentralProcessor\\0";

class SystemDetailsTest : public ::testing::Test {
  protected:
    sim::Machine machine;
    qm::testing::OnlineReporter log;
    settings::SettingsStore store{machine.registry(), machine.process(), log.reporter};
    SystemDetails details{machine.system(), store, log.reporter};
    SystemInfoLabels labels;
};

TEST_F(SystemDetailsTest, NamesEachWindowsVersionInTheTestOrder) {
    struct Case {
        VersionRecord version;
        const char* short_name;
        const char* label;
        const char* version_text;
    };
    const Case cases[] = {
        {{true, 4, 0, 950, 1}, "95", "Windows95", "4.0.950"},
        {{true, 4, 10, 67766446, 1}, "98", "Windows98", "4.10.67766446"},
        {{true, 4, 90, 73010104, 1}, "ME", "WindowsME", "4.90.73010104"},
        {{true, 4, 0, 1381, 2}, "NT4", "WindowsNT4", "4.0.1381"},
        {{true, 5, 0, 2195, 2}, "2000", "Windows2000", "5.0.2195"},
        {{true, 5, 1, 2600, 2}, "XP", "WindowsXP", "5.1.2600"},
        // The build field is shown whole and signed, high half and all.
        {{true, 4, 10, 0xC0000A00u, 1}, "98", "Windows98", "4.10.-1073739264"},
    };
    for (const Case& c : cases) {
        machine.SetVersion(c.version);
        labels = {};
        EXPECT_EQ(details.GetOSName(labels), c.short_name) << c.label;
        EXPECT_EQ(labels.os_name, c.label);
        EXPECT_EQ(labels.os_version, c.version_text);
        EXPECT_EQ(details.OSVersionText(), c.version_text);
    }
    machine.SetVersion({true, 4, 90, 3000, 1});
    EXPECT_TRUE(details.IsWin98());  // ME passes the 98 test too; only the order tells them apart
    EXPECT_TRUE(details.IsWinME());
}

TEST_F(SystemDetailsTest, UnknownVersionsLeaveTheLabelsAlone) {
    machine.SetVersion({true, 5, 1, 2600, 2});
    details.GetOSName(labels);
    for (const VersionRecord& v :
         {VersionRecord{true, 5, 2, 3790, 2},  // Server 2003
          VersionRecord{true, 6, 1, 7601, 2}, VersionRecord{true, 3, 51, 1057, 2}}) {
        machine.SetVersion(v);
        EXPECT_EQ(details.GetOSName(labels), "");
        EXPECT_EQ(labels.os_name, "WindowsXP");
        EXPECT_EQ(labels.os_version, "5.1.2600");
    }
    EXPECT_EQ(details.OSVersionText(), "3.51.1057");  // the tests still record what they saw

    machine.SetVersion({false, 5, 0, 2195, 2});
    EXPECT_FALSE(details.IsWin2000());
    EXPECT_EQ(details.GetOSName(labels), "");
    EXPECT_EQ(details.OSVersionText(), "3.51.1057");
}

TEST_F(SystemDetailsTest, UptimeIsSignedWholeMinutesRoundedHalfToEven) {
    const std::pair<std::uint32_t, const char*> cases[] = {
        {0, "0"},
        {29'999, "0"},
        {30'000, "0"},  // half a minute goes to the even 0
        {89'999, "1"},
        {90'000, "2"},
        {150'000, "2"},
        {210'000, "4"},
        {2'147'483'647u, "35791"},
        {2'147'483'648u, "-35791"},  // past 2^31 the tick reads as negative
        {0xFFFFFFFFu, "0"},
        {0xFFFF0000u, "-1"},
    };
    for (const auto& [tick, minutes] : cases) {
        machine.SetTickCount(tick);
        EXPECT_EQ(details.GetUpTimeMinutes(), minutes) << tick;
    }
}

TEST_F(SystemDetailsTest, InternetExplorerVersionFallsBackToZeros) {
    machine.SetShlwapiVersion({true, 6, 0, 2900});
    EXPECT_EQ(details.GetIEVersion(), "6.0.2900");
    machine.SetShlwapiVersion({false, 6, 0, 2900});
    EXPECT_EQ(details.GetIEVersion(), "0.0.0");
}

TEST_F(SystemDetailsTest, ProcessorShowsTheVendorElseTheTypeName) {
    machine.SetProcessor({2, 586});
    qm::testing::WriteRaw(machine.registry(), platform::Root::LocalMachine, kCpuKey,
                          "VendorIdentifier", platform::RegType::Sz,
                          qm::testing::Utf16Bytes("AuthenticAMD"));
    details.GetProcessor(labels);
    EXPECT_EQ(labels.processor_type, "AuthenticAMD");
    EXPECT_EQ(labels.processor_count, "2");

    qm::testing::WriteRaw(machine.registry(), platform::Root::LocalMachine, kCpuKey,
                          "VendorIdentifier", platform::RegType::Sz, {});
    details.GetProcessor(labels);
    EXPECT_EQ(labels.processor_type, "Intel Pentium");

    qm::testing::WriteRaw(machine.registry(), platform::Root::LocalMachine, kCpuKey,
                          "VendorIdentifier", platform::RegType::Dword, {'G', 0, 0, 0});
    machine.SetProcessor({1, 8664});  // a type the table does not know
    details.GetProcessor(labels);
    EXPECT_EQ(labels.processor_type, "Unknown");
    EXPECT_EQ(labels.processor_count, "1");
    EXPECT_TRUE(log.sent.empty());
}

TEST_F(SystemDetailsTest, MemoryInKilobytesWithoutThirtyTwoBitLimits) {
    machine.SetMemory({536'870'912, 1'536});
    details.MemInfo(labels);
    EXPECT_EQ(labels.total_memory, "524288 KB");
    EXPECT_EQ(labels.available_memory, "1.5 KB");

    // 16 GiB total and a little over 16 GiB free: far past what a 32-bit read can hold.
    machine.SetMemory({17'179'869'184ull, 17'179'869'185ull});
    details.MemInfo(labels);
    EXPECT_EQ(labels.total_memory, "16777216 KB");
    EXPECT_EQ(labels.available_memory, "16777216.0009766 KB");

    machine.SetMemory({0, 1});
    details.MemInfo(labels);
    EXPECT_EQ(labels.total_memory, "0 KB");
    EXPECT_EQ(labels.available_memory, "0.0009765625 KB");
}

TEST(NumberText, RoundsHalvesToEvenAndPrintsDoublesPlainly) {
    EXPECT_EQ(RoundedKilobytes(4 * 1024 + 511), 4u);
    EXPECT_EQ(RoundedKilobytes(4 * 1024 + 512), 4u);
    EXPECT_EQ(RoundedKilobytes(5 * 1024 + 512), 6u);
    EXPECT_EQ(RoundedKilobytes(4 * 1024 + 513), 5u);
    EXPECT_EQ(RoundedKilobytes(0xFFFFFFFFFFFFFFFFull), 18014398509481984ull);

    EXPECT_EQ(DoubleText(-0.0), "0");
    EXPECT_EQ(DoubleText(4194303.9990234375), "4194303.99902344");
    EXPECT_EQ(DoubleText(123456789012345.0), "123456789012345");
}

}  // namespace
}  // namespace qm::sysinfo
