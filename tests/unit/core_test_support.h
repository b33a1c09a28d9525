#pragma once
// What the core's unit tests share: a simulated machine, a reporter that counts as online and
// keeps every address it would have sent, and raw access to registry values.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "errors/error_reporter.h"
#include "platform/registry.h"
#include "platform/sim/machine.h"

namespace qm::testing {

inline constexpr std::string_view kTestSite = "http://reports.test";

struct OnlineReporter {
    std::vector<std::string> sent;
    errors::ErrorReporter reporter{[] { return true; },
                                   [this](const std::string& address) { sent.push_back(address); }};

    OnlineReporter() { reporter.SetSite(kTestSite); }
    OnlineReporter(const OnlineReporter&) = delete;
    OnlineReporter& operator=(const OnlineReporter&) = delete;

    // Reports sent with exactly this label (the number follows it directly).
    int CountFor(std::string_view label) const {
        const std::string prefix =
            std::string(kTestSite) + "/error-reporting/error-msg.php?" + std::string(label);
        return static_cast<int>(std::count_if(sent.begin(), sent.end(), [&](const std::string& a) {
            return a.size() > prefix.size() && a.compare(0, prefix.size(), prefix) == 0 &&
                   (a[prefix.size()] == '-' ||
                    (a[prefix.size()] >= '0' && a[prefix.size()] <= '9'));
        }));
    }
};

struct RawValue {
    bool exists = false;
    platform::RegType type = platform::RegType::None;
    std::vector<std::uint8_t> data;
};

inline RawValue ReadRaw(platform::Registry& registry, platform::Root root, std::string_view path,
                        std::string_view name) {
    RawValue value;
    platform::RegKey key = 0;
    if (registry.OpenKey(root, path, key) != platform::kOk) return value;
    platform::RegKeyGuard guard(registry, key);
    value.exists = registry.QueryValue(key, name, value.type, value.data) == platform::kOk;
    return value;
}

inline bool KeyExists(platform::Registry& registry, platform::Root root, std::string_view path) {
    platform::RegKey key = 0;
    if (registry.OpenKey(root, path, key) != platform::kOk) return false;
    registry.CloseKey(key);
    return true;
}

inline void WriteRaw(platform::Registry& registry, platform::Root root, std::string_view path,
                     std::string_view name, platform::RegType type,
                     const std::vector<std::uint8_t>& data) {
    platform::RegKey key = 0;
    if (registry.CreateKey(root, path, key) != platform::kOk) return;
    platform::RegKeyGuard guard(registry, key);
    registry.SetValue(key, name, type, data);
}

// UTF-16LE bytes of an ASCII text, for building raw registry data by hand.
inline std::vector<std::uint8_t> Utf16Bytes(std::string_view ascii) {
    std::vector<std::uint8_t> bytes;
    for (const char c : ascii) {
        bytes.push_back(static_cast<std::uint8_t>(c));
        bytes.push_back(0);
    }
    return bytes;
}

}  // namespace qm::testing
