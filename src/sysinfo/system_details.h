#pragma once
// Windows version tests, uptime, Internet Explorer version, processor and memory figures,
// and the values of the System Info panel's labels.
#include <cstdint>
#include <string>

#include "errors/error_reporter.h"
#include "platform/system_info.h"
#include "settings/settings_store.h"

namespace qm::sysinfo {

// The value labels of the System Info panel (their captions are fixed in the window).
struct SystemInfoLabels {
    std::string processor_type;    // Label21
    std::string processor_count;   // Label22
    std::string total_memory;      // Label25
    std::string available_memory;  // Label26
    std::string os_name;           // Label29, for example "WindowsXP"
    std::string os_version;        // Label30, major.minor.build
};

class SystemDetails {
  public:
    SystemDetails(platform::SystemInfo& system, settings::SettingsStore& settings,
                  errors::ErrorReporter& reporter);

    bool IsWin95();
    bool IsWin98();
    bool IsWinME();
    bool IsWinNT4();
    bool IsWin2000();
    bool IsWinXP();
    // The last version text a test computed; empty before the first.
    const std::string& OSVersionText() const { return os_version_text_; }

    // "95", "98", "ME", "NT4", "2000", "XP" or empty; fills os_name and os_version when known.
    std::string GetOSName(SystemInfoLabels& labels);
    std::string GetUpTimeMinutes();
    std::string GetIEVersion();
    struct Details {
        std::uint32_t processors = 0;
        std::string type_name;
    };
    Details GetSystemDetails();
    void GetProcessor(SystemInfoLabels& labels);
    void MemInfo(SystemInfoLabels& labels);

  private:
    platform::VersionRecord ReadVersion();

    platform::SystemInfo& system_;
    settings::SettingsStore& settings_;
    errors::ErrorReporter& reporter_;
    std::string os_version_text_;
};

}  // namespace qm::sysinfo
