#include "update/connection.h"

#include <optional>
#include <vector>

#include "errors/runtime_error.h"
#include "settings/registry_text.h"
#include "update/makers_key.h"

namespace qm::update {

namespace {

bool IsHttpsAddress(std::string_view address) {
    constexpr std::string_view kScheme = "https://";
    if (address.size() <= kScheme.size()) return false;
    for (std::size_t i = 0; i < kScheme.size(); ++i) {
        const char c = address[i];
        if ((c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c) != kScheme[i]) return false;
    }
    // Blanks and control characters have no place in an address; a host must follow.
    for (const char c : address)
        if (static_cast<unsigned char>(c) <= ' ') return false;
    return address[kScheme.size()] != '/';
}

// A REG_SZ of the machine's settings key; nothing for any other type or a missing value.
std::optional<std::string> MachineText(platform::Registry& registry, std::string_view name) {
    platform::RegKey key = 0;
    if (registry.OpenKey(platform::Root::LocalMachine, kSiteOverridePath, key) != platform::kOk)
        return std::nullopt;
    platform::RegKeyGuard guard(registry, key);
    platform::RegType type = platform::RegType::None;
    std::vector<std::uint8_t> data;
    if (registry.QueryValue(key, name, type, data) != platform::kOk ||
        type != platform::RegType::Sz)
        return std::nullopt;
    return settings::FromRegistryText(data);
}

// The administrator's site, when one is named and taken.
std::optional<std::string> OtherSite(platform::Registry& registry) {
    std::optional<std::string> site = MachineText(registry, kSiteOverrideValue);
    if (!site) return std::nullopt;
    while (!site->empty() && site->back() == '/') site->pop_back();
    if (!IsHttpsAddress(*site)) return std::nullopt;
    return site;
}

}  // namespace

std::string SiteAddress(platform::Registry& registry) {
    return OtherSite(registry).value_or(std::string(kMakersSite));
}

std::string SiteKey(platform::Registry& registry) {
    if (!OtherSite(registry)) return std::string(kMakersKey);
    return MachineText(registry, kSiteKeyValue).value_or(std::string(kMakersKey));
}

bool IsOnline(platform::Http& http, std::string_view site) {
    const std::string home = std::string(site) + "/";
    platform::HttpResponse response;
    return http.Get({home, platform::HttpBody::Skip, {}, kTransferTimeoutMs, kQuickTransferLimitMs},
                    response) == platform::kOk;
}

void SendReportsThrough(errors::ErrorReporter& reporter, platform::Http& http) {
    reporter.SetChannel(
        [&reporter, &http] { return IsOnline(http, reporter.site()); },
        [&http](const std::string& address) {
            platform::HttpResponse ignored;
            const platform::Status status = http.Get(
                {address, platform::HttpBody::Skip, {}, kTransferTimeoutMs, kQuickTransferLimitMs},
                ignored);
            if (status != platform::kOk)
                throw errors::RuntimeError(
                    errors::err::kCannotConnect,
                    std::string(errors::GenericText(errors::err::kCannotConnect)));
        });
}

}  // namespace qm::update
