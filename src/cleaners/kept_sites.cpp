#include "cleaners/kept_sites.h"

#include <algorithm>

namespace qm::cleaners {

namespace {

constexpr std::size_t kMaxName = 253;  // the longest host name DNS carries
constexpr std::size_t kMaxLabel = 63;

bool IsLabel(std::string_view label) {
    if (label.empty() || label.size() > kMaxLabel) return false;
    if (label.front() == '-' || label.back() == '-') return false;
    return std::all_of(label.begin(), label.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
    });
}

}  // namespace

std::string SiteOfCookieFile(std::string_view name) {
    const std::size_t at = name.find('@');
    if (at == std::string_view::npos) return {};
    name.remove_prefix(at + 1);
    // "site.com[1].txt": the site runs to the "[", or to the ".txt" where there is none.
    if (const std::size_t bracket = name.find('['); bracket != std::string_view::npos)
        return std::string(name.substr(0, bracket));
    if (name.size() > 4 && (name.ends_with(".txt") || name.ends_with(".TXT")))
        name.remove_suffix(4);
    return std::string(name);
}

std::string KeptSites::Folded(std::string_view host) {
    while (!host.empty() && host.front() == '.') host.remove_prefix(1);
    if (!host.empty() && host.back() == '.') host.remove_suffix(1);
    std::string name;
    for (const char c : host) {
        if (static_cast<unsigned char>(c) >= 0x80) return {};  // not spelt as DNS spells it
        name.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
    }
    if (name.empty() || name.size() > kMaxName) return {};
    for (std::size_t start = 0;;) {
        const std::size_t dot = name.find('.', start);
        if (!IsLabel(std::string_view(name).substr(start, dot - start))) return {};
        if (dot == std::string::npos) return name;
        start = dot + 1;
    }
}

KeptSites KeptSites::Parse(std::string_view text) {
    KeptSites kept;
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty()) {
        while (!text.empty() && blank(text.front())) text.remove_prefix(1);
        std::size_t end = 0;
        while (end < text.size() && !blank(text[end])) ++end;
        const std::string site = Folded(text.substr(0, end));
        text.remove_prefix(end);
        if (!site.empty() &&
            std::find(kept.sites_.begin(), kept.sites_.end(), site) == kept.sites_.end())
            kept.sites_.push_back(site);
    }
    return kept;
}

bool KeptSites::Keeps(std::string_view host) const {
    const std::string name = Folded(host);
    if (name.empty()) return false;
    return std::any_of(sites_.begin(), sites_.end(), [&](const std::string& site) {
        return name == site || (name.size() > site.size() && name.ends_with(site) &&
                                name[name.size() - site.size() - 1] == '.');
    });
}

}  // namespace qm::cleaners
