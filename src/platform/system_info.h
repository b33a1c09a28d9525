#pragma once
// Version record, tick count, processor and memory figures, Internet Explorer version.
#include <cstdint>

namespace qm::platform {

struct VersionRecord {
    bool ok = false;  // the version call succeeded
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t build = 0;     // the whole build field, as the platform fills it
    std::uint32_t platform = 0;  // 1 = Windows 9x, 2 = NT
};

struct ProcessorInfo {
    std::uint32_t count = 0;
    std::uint32_t type = 0;  // dwProcessorType: 386, 486, 586, ...
};

struct MemoryInfo {
    std::uint64_t total_physical = 0;  // bytes
    std::uint64_t available_physical = 0;
};

struct DllVersion {
    bool ok = false;
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t build = 0;
};

class SystemInfo {
  public:
    virtual ~SystemInfo() = default;
    virtual VersionRecord GetVersion() = 0;
    // Milliseconds since Windows started; wraps after 2^32.
    virtual std::uint32_t GetTickCount() = 0;
    virtual ProcessorInfo GetProcessor() = 0;
    virtual MemoryInfo GetMemory() = 0;
    // DllGetVersion of shlwapi.dll.
    virtual DllVersion GetShlwapiVersion() = 0;
};

}  // namespace qm::platform
