#include "sysinfo/system_details.h"

#include <gtest/gtest.h>

#include "core_test_support.h"

namespace qm::sysinfo {
namespace {

using platform::VersionRecord;

class SystemDetailsTest : public ::testing::Test {
  protected:
    sim::Machine machine;
    qm::testing::OnlineReporter log;
    settings::SettingsStore store{machine.registry(), machine.process(), log.reporter};
    SystemDetails details{machine.system(), store, log.reporter};
    SystemInfoLabels labels;
};

TEST_F(SystemDetailsTest, NamesEachWindowsVersionInTheTestOrderAndNoUnknownOne) {
    // ME passes the 98 test too; only the order of the tests tells them apart.
    const std::pair<VersionRecord, std::string> cases[] = {
        {{true, 4, 0, 950, 1}, "95"},       {{true, 4, 10, 67766446, 1}, "98"},
        {{true, 4, 90, 73010104, 1}, "ME"}, {{true, 4, 0, 1381, 2}, "NT4"},
        {{true, 5, 0, 2195, 2}, "2000"},    {{true, 5, 1, 2600, 2}, "XP"}};
    for (const auto& [version, name] : cases) {
        machine.SetVersion(version);
        EXPECT_EQ(details.GetOSName(labels), name);
        EXPECT_EQ(labels.os_name, "Windows" + name);
    }
    // The build field is shown whole and signed, high half and all.
    machine.SetVersion({true, 4, 10, 0xC0000A00u, 1});
    details.GetOSName(labels);
    for (const VersionRecord& v :
         {VersionRecord{true, 5, 2, 3790, 2}, VersionRecord{true, 6, 1, 7601, 2},
          VersionRecord{true, 3, 51, 1057, 2}, VersionRecord{false, 5, 0, 2195, 2}}) {
        machine.SetVersion(v);
        EXPECT_EQ(details.GetOSName(labels), "");
        EXPECT_EQ(labels.os_name + " " + labels.os_version, "Windows98 4.10.-1073739264");
    }
}

TEST_F(SystemDetailsTest, UptimeIsSignedWholeMinutesRoundedHalfToEven) {
    // Half a minute goes to the even neighbour; past 2^31 the tick reads as negative.
    // clang-format off
    const std::pair<std::uint32_t, std::string> cases[] = {
        {30'000, "0"}, {90'000, "2"}, {150'000, "2"}, {2'147'483'647u, "35791"},
        {2'147'483'648u, "-35791"}, {0xFFFF0000u, "-1"}};
    // clang-format on
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
    auto vendor = [&](platform::RegType type, const std::vector<std::uint8_t>& data) {
        qm::testing::WriteRaw(machine.registry(), platform::Root::LocalMachine,
                              "Hardware\\Description\\System\\CentralProcessor\\0",
                              "VendorIdentifier", type, data);
        details.GetProcessor(labels);
        return labels.processor_type;
    };
    machine.SetProcessor({2, 586});
    EXPECT_EQ(vendor(platform::RegType::Sz, qm::testing::Utf16Bytes("AuthenticAMD")),
              "AuthenticAMD");
    EXPECT_EQ(vendor(platform::RegType::Sz, {}), "Intel Pentium");
    machine.SetProcessor({1, 8664});  // a type the table does not know
    EXPECT_EQ(vendor(platform::RegType::Dword, {'G', 0, 0, 0}), "Unknown");
    EXPECT_TRUE(log.sent.empty());
}

TEST_F(SystemDetailsTest, MemoryInKilobytesHalvesToEvenAndWithoutThirtyTwoBitLimits) {
    const std::tuple<std::uint64_t, std::uint64_t, std::string> cases[] = {
        {17'179'869'184ull, 17'179'869'185ull, "16777216 KB 16777216.0009766 KB"},
        {4 * 1024 + 512, 1, "4 KB 0.0009765625 KB"},
        {5 * 1024 + 512, 0, "6 KB 0 KB"}};
    for (const auto& [total, available, text] : cases) {
        machine.SetMemory({total, available});
        details.MemInfo(labels);
        EXPECT_EQ(labels.total_memory + " " + labels.available_memory, text);
    }
}

}  // namespace
}  // namespace qm::sysinfo
