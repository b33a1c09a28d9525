#pragma once
// Version record, tick count, processor, memory, the ANSI code page, the machine's and user's
// names, the clock and error texts from kernel32 and advapi32; the shell library's version
// from shlwapi.
#include "platform/system_info.h"

namespace qm::win32 {

class Win32SystemInfo final : public platform::SystemInfo {
  public:
    platform::VersionRecord GetVersion() override;
    std::uint32_t GetTickCount() override;
    platform::ProcessorInfo GetProcessor() override;
    platform::MemoryInfo GetMemory() override;
    platform::DllVersion GetShlwapiVersion() override;
    std::string NowAsText() override;
    bool ToAnsiCodePage(std::string_view utf8, std::string& ansi) override;
    bool FromAnsiCodePage(std::string_view ansi, std::string& utf8) override;
    std::string ComputerName() override;
    std::string UserName() override;
    std::int64_t UtcSeconds() override;
    std::string ErrorText(std::int32_t error) override;
};

}  // namespace qm::win32
