#pragma once
// The sites whose cookies stay, as the settings value "cookiekeep" lists them: site names
// separated by blanks ("mail.example.com bank.example"). A kept site keeps the cookies of that
// site and of every site below it, never of another site whose name merely ends the same way:
// "example.com" keeps "www.example.com" and ".example.com", not "badexample.com".
#include <string>
#include <string_view>
#include <vector>

namespace qm::cleaners {

// The site of an Internet Explorer cookie file, "user@site[1].txt" -> "site"; empty for a
// name of another form.
std::string SiteOfCookieFile(std::string_view name);

class KeptSites {
  public:
    KeptSites() = default;
    // Names are taken without letter case, leading dots or a trailing dot. A name that is no
    // host name (wildcards, slashes, ports, empty or over-long labels, letters beyond ASCII)
    // keeps nothing and is left out.
    static KeptSites Parse(std::string_view text);
    // The name as a cookie's host, folded the same way; empty when it is no host name.
    static std::string Folded(std::string_view host);

    bool Keeps(std::string_view host) const;
    const std::vector<std::string>& sites() const { return sites_; }
    bool empty() const { return sites_.empty(); }

  private:
    std::vector<std::string> sites_;
};

}  // namespace qm::cleaners
