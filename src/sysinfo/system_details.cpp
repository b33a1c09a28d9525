#include "sysinfo/system_details.h"

#include <cmath>

#include "errors/labels.h"
#include "sysinfo/number_text.h"

namespace qm::sysinfo {

namespace {

constexpr std::string_view kCentralProcessorPath =
    "Hardware\\Description\\System\\CentralProcessor\\0";

constexpr std::uint32_t kPlatformWin9x = 1;
constexpr std::uint32_t kPlatformNt = 2;

std::string SignedText(std::uint32_t field) {
    return std::to_string(static_cast<std::int32_t>(field));
}

}  // namespace

SystemDetails::SystemDetails(platform::SystemInfo& system, settings::SettingsStore& settings,
                             errors::ErrorReporter& reporter)
    : system_(system), settings_(settings), reporter_(reporter) {}

platform::VersionRecord SystemDetails::ReadVersion() {
    platform::VersionRecord version = system_.GetVersion();
    if (version.ok) {
        // Windows 95, 98 and ME carry the version in the high half of the build field as
        // well; it is shown whole, as a signed number, as it always was.
        os_version_text_ = std::to_string(version.major) + "." + std::to_string(version.minor) +
                           "." + SignedText(version.build);
    }
    return version;
}

bool SystemDetails::IsWin2000() {
    const auto v = ReadVersion();
    return v.ok && v.major == 5 && v.minor == 0 && v.platform == kPlatformNt;
}

bool SystemDetails::IsWin95() {
    const auto v = ReadVersion();
    return v.ok && v.major == 4 && v.minor == 0 && v.platform == kPlatformWin9x;
}

bool SystemDetails::IsWinME() {
    const auto v = ReadVersion();
    return v.ok && v.platform == kPlatformWin9x && v.major == 4 && v.minor == 90;
}

bool SystemDetails::IsWin98() {
    const auto v = ReadVersion();
    return v.ok && ((v.major == 4 && v.minor > 0) || (v.platform == kPlatformWin9x && v.major > 4));
}

bool SystemDetails::IsWinNT4() {
    const auto v = ReadVersion();
    return v.ok && v.platform == kPlatformNt && v.major == 4;
}

bool SystemDetails::IsWinXP() {
    const auto v = ReadVersion();
    return v.ok && v.platform == kPlatformNt && v.major == 5 && v.minor == 1;
}

std::string SystemDetails::GetOSName(SystemInfoLabels& labels) {
    struct Test {
        bool (SystemDetails::*is)();
        const char* short_name;
        const char* label_text;
    };
    // The order matters: ME also passes the 98 test.
    static constexpr Test kTests[] = {
        {&SystemDetails::IsWin2000, "2000", "Windows2000"},
        {&SystemDetails::IsWin95, "95", "Windows95"},
        {&SystemDetails::IsWinME, "ME", "WindowsME"},
        {&SystemDetails::IsWin98, "98", "Windows98"},
        {&SystemDetails::IsWinNT4, "NT4", "WindowsNT4"},
        {&SystemDetails::IsWinXP, "XP", "WindowsXP"},
    };
    std::string short_name;
    errors::SilentStep([&] {
        for (const Test& test : kTests) {
            if (!(this->*test.is)()) continue;
            labels.os_name = test.label_text;
            labels.os_version = os_version_text_;
            short_name = test.short_name;
            return;
        }
    });
    return short_name;
}

std::string SystemDetails::GetUpTimeMinutes() {
    // Past 2^31 ms (about 24.8 days) the tick count reads as negative, and so does the
    // uptime; the status line has always shown it that way.
    const auto tick = static_cast<std::int32_t>(system_.GetTickCount());
    const double minutes = std::nearbyint(static_cast<double>(tick) / 1000.0 / 60.0);
    return std::to_string(static_cast<std::int64_t>(minutes));
}

std::string SystemDetails::GetIEVersion() {
    platform::DllVersion version = system_.GetShlwapiVersion();
    if (!version.ok) version = {};
    return SignedText(version.major) + "." + SignedText(version.minor) + "." +
           SignedText(version.build);
}

SystemDetails::Details SystemDetails::GetSystemDetails() {
    const platform::ProcessorInfo info = system_.GetProcessor();
    Details details;
    details.processors = info.count;
    switch (info.type) {
        case 386:
            details.type_name = "Intel 386";
            break;
        case 486:
            details.type_name = "Intel 486";
            break;
        case 586:
            details.type_name = "Intel Pentium";
            break;
        case 4000:
            details.type_name = "MIPS R4000";
            break;
        case 21064:
            details.type_name = "Alpha 21064";
            break;
        default:
            details.type_name = "Unknown";
            break;
    }
    return details;
}

void SystemDetails::GetProcessor(SystemInfoLabels& labels) {
    Details details;
    errors::ReportingStep(reporter_, errors::label::kGetProcessor,
                          [&] { details = GetSystemDetails(); });
    std::string vendor;
    errors::ReportingStep(reporter_, errors::label::kGetProcessor, [&] {
        vendor = settings_.GetSettingString(platform::Root::LocalMachine, kCentralProcessorPath,
                                            "VendorIdentifier", "");
    });
    labels.processor_type = vendor.empty() ? details.type_name : vendor;
    labels.processor_count = std::to_string(details.processors);
}

void SystemDetails::MemInfo(SystemInfoLabels& labels) {
    // The figures are taken whole (64-bit): a 32-bit read of today's memory sizes would show
    // negative or capped amounts.
    platform::MemoryInfo memory;
    errors::ReportingStep(reporter_, errors::label::kMemInfo,
                          [&] { memory = system_.GetMemory(); });
    labels.total_memory = std::to_string(RoundedKilobytes(memory.total_physical)) + " KB";
    labels.available_memory =
        DoubleText(static_cast<double>(memory.available_physical) / 1024.0) + " KB";
}

}  // namespace qm::sysinfo
