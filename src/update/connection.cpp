#include "update/connection.h"

#include <vector>

#include "settings/registry_text.h"

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

}  // namespace

std::string SiteAddress(platform::Registry& registry) {
    platform::RegKey key = 0;
    if (registry.OpenKey(platform::Root::LocalMachine, kSiteOverridePath, key) != platform::kOk)
        return std::string(kMakersSite);
    platform::RegKeyGuard guard(registry, key);
    platform::RegType type = platform::RegType::None;
    std::vector<std::uint8_t> data;
    if (registry.QueryValue(key, kSiteOverrideValue, type, data) != platform::kOk ||
        type != platform::RegType::Sz)
        return std::string(kMakersSite);
    std::string site = settings::FromRegistryText(data);
    while (!site.empty() && site.back() == '/') site.pop_back();
    return IsHttpsAddress(site) ? site : std::string(kMakersSite);
}

bool IsOnline(platform::Http& http, std::string_view site) {
    const std::string home = std::string(site) + "/";
    platform::HttpResponse response;
    return http.Get({home, platform::HttpBody::Skip, {}, kTransferTimeoutMs, kQuickTransferLimitMs},
                    response) == platform::kOk;
}

}  // namespace qm::update
