#pragma once
// Version record, tick count, processor and memory figures, Internet Explorer version, the
// machine's ANSI code page, and the names and clock a report of a run carries.
#include <cstdint>
#include <string>
#include <string_view>

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
    // The local date and time now, as the user's regional settings write them (short date, a
    // blank, the time).
    virtual std::string NowAsText() = 0;

    // The ANSI code page is the one Windows uses for the texts of its "A" calls and that older
    // programs write their files in. False when some character has no exact place in it: a
    // look-alike letter would name another folder. The text must be well-formed UTF-8.
    virtual bool ToAnsiCodePage(std::string_view utf8, std::string& ansi) = 0;
    // False for bytes that are no character of the code page.
    virtual bool FromAnsiCodePage(std::string_view ansi, std::string& utf8) = 0;

    // GetComputerName and GetUserName: the machine's NetBIOS name and the user's logon name.
    // Empty when Windows cannot tell.
    virtual std::string ComputerName() = 0;
    virtual std::string UserName() = 0;
    // GetSystemTimeAsFileTime: seconds since 1970-01-01 00:00 UTC.
    virtual std::int64_t UtcSeconds() = 0;
    // FormatMessage of a Windows error number in the system's words, without the line end
    // ("Access is denied."); empty when the system has no text for it.
    virtual std::string ErrorText(std::int32_t error) = 0;
};

}  // namespace qm::platform
