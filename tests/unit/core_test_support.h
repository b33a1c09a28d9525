#pragma once
// What the core's unit tests share: a simulated machine, a reporter that counts as online and
// keeps every address it would have sent, and raw access to registry values.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "errors/error_reporter.h"
#include "platform/platform.h"
#include "platform/registry.h"
#include "platform/sim/machine.h"
#include "settings/registry_text.h"

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
        std::string prefix = errors::ErrorReporter::ReportAddress(kTestSite, label, 0, "");
        prefix.pop_back();  // the number
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

// UTF-16LE bytes of a text, for building raw registry data by hand (the conversion's own
// bytes are pinned by its test).
inline std::vector<std::uint8_t> Utf16Bytes(std::string_view text) {
    return settings::ToRegistryText(text);
}

// A drive that hands every call on to another; tests override Seen to watch the paths, or a
// call to change what Windows would answer.
struct ForwardingFiles : platform::FileSystem {
    using S = platform::Status;
    using V = std::string_view;
    using Id = platform::FileIdentity;
    explicit ForwardingFiles(platform::FileSystem& drive) : real(drive) {}
    platform::FileSystem& real;
    virtual void Seen(V) {}

    // clang-format off
    S List(V p, std::vector<platform::DirEntry>& e) override { return Seen(p), real.List(p, e); }
    S GetAttributes(V p, std::uint32_t& a) override { return Seen(p), real.GetAttributes(p, a); }
    S SetAttributes(V p, std::uint32_t a) override { return Seen(p), real.SetAttributes(p, a); }
    S DeleteFile(V p) override { return Seen(p), real.DeleteFile(p); }
    S ForceDeleteFile(V p) override { return Seen(p), real.ForceDeleteFile(p); }
    S RemoveDirectory(V p) override { return Seen(p), real.RemoveDirectory(p); }
    S CreateDirectory(V p) override { return Seen(p), real.CreateDirectory(p); }
    S OpenForRead(V p) override { return Seen(p), real.OpenForRead(p); }
    S OpenForDelete(V p) override { return Seen(p), real.OpenForDelete(p); }
    S ReadFile(V p, std::string& c) override { return Seen(p), real.ReadFile(p, c); }
    S OpenAlone(V p, platform::OpenMode m, std::unique_ptr<platform::OpenFile>& f) override {
        return Seen(p), real.OpenAlone(p, m, f);
    }
    S WriteFile(V p, V c) override { return Seen(p), real.WriteFile(p, c); }
    S ScheduleDeleteAtRestart(V p) override { return Seen(p), real.ScheduleDeleteAtRestart(p); }
    S WriteFileThrough(V p, V c) override { return Seen(p), real.WriteFileThrough(p, c); }
    S ReplaceFile(V p, V n, V b) override { return Seen(p), real.ReplaceFile(p, n, b); }
    S MoveFileReplacing(V p, V t) override { return Seen(p), real.MoveFileReplacing(p, t); }
    S GetTempPath(std::string& p) override { return real.GetTempPath(p); }
    S GetIdentity(V p, Id& i) override { return Seen(p), real.GetIdentity(p, i); }
    S ListDriveRoots(std::vector<std::string>& r) override { return real.ListDriveRoots(r); }
    S GetFinalPath(V p, std::string& f) override { return Seen(p), real.GetFinalPath(p, f); }
    S ReadCompoundStream(V p, V s, std::string& c) override {
        return Seen(p), real.ReadCompoundStream(p, s, c);
    }
    // clang-format on
};

// The machine's platform with another drive in place of its own.
inline platform::Platform WithFiles(sim::Machine& machine, platform::FileSystem& files) {
    const platform::Platform& own = machine.platform();
    return {own.registry,   files,       own.shell,     own.system,  own.dialogs,
            own.loop,       own.process, own.url_cache, own.desktop, own.http,
            own.signatures, own.traces,  own.events};
}

}  // namespace qm::testing
