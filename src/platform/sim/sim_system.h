#pragma once
// The machine's fixed facts: Windows version, processor, memory, shell library version, the
// ANSI code page (Windows-1252), its own name and its user's. The tick count and the UTC
// clock come from the message loop's virtual clock.
#include <string>

#include "platform/sim/sim_message_loop.h"
#include "platform/sim/windows_1252.h"
#include "platform/status.h"
#include "platform/system_info.h"

namespace qm::sim {

class SimSystemInfo final : public platform::SystemInfo {
  public:
    explicit SimSystemInfo(const SimMessageLoop& clock) : clock_(clock) {}

    platform::VersionRecord version{true, 5, 1, 2600, 2};
    platform::ProcessorInfo processor{2, 586};
    platform::MemoryInfo memory{512ull << 20, 256ull << 20};
    platform::DllVersion shlwapi{true, 6, 0, 2900};
    std::string now_text = "12/6/2026 9:30:00 PM";
    std::string computer_name = "QMTESTPC";
    std::string user_name = "Tester";
    std::int64_t utc_at_start = 1796592600;  // 2026-12-06 21:30:00 UTC at virtual time 0

    platform::VersionRecord GetVersion() override { return version; }
    std::uint32_t GetTickCount() override { return clock_.now(); }
    platform::ProcessorInfo GetProcessor() override { return processor; }
    platform::MemoryInfo GetMemory() override { return memory; }
    platform::DllVersion GetShlwapiVersion() override { return shlwapi; }
    std::string NowAsText() override { return now_text; }
    bool ToAnsiCodePage(std::string_view utf8, std::string& ansi) override {
        return Utf8ToWindows1252(utf8, ansi);
    }
    bool FromAnsiCodePage(std::string_view ansi, std::string& utf8) override {
        return Windows1252ToUtf8(ansi, utf8);
    }

    std::string ComputerName() override { return computer_name; }
    std::string UserName() override { return user_name; }
    std::int64_t UtcSeconds() override { return utc_at_start + clock_.now() / 1000; }
    // The system's words for the errors a clean meets; others have none here.
    std::string ErrorText(std::int32_t error) override {
        switch (error) {
            case platform::kErrorFileNotFound:
                return "The system cannot find the file specified.";
            case platform::kErrorPathNotFound:
                return "The system cannot find the path specified.";
            case platform::kErrorAccessDenied:
                return "Access is denied.";
            case platform::kErrorSharingViolation:
                return "The process cannot access the file because it is being used by another "
                       "process.";
            case platform::kErrorDirNotEmpty:
                return "The directory is not empty.";
            default:
                return {};
        }
    }

  private:
    const SimMessageLoop& clock_;
};

}  // namespace qm::sim
