#pragma once
// The machine's fixed facts: Windows version, processor, memory, shell library version and
// the ANSI code page (Windows-1252). The tick count comes from the message loop's virtual
// clock.
#include <string>

#include "platform/sim/sim_message_loop.h"
#include "platform/sim/windows_1252.h"
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

  private:
    const SimMessageLoop& clock_;
};

}  // namespace qm::sim
