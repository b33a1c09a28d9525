#pragma once
// Where the maker's web site is, and whether it can be reached.
#include <cstdint>
#include <string>
#include <string_view>

#include "errors/error_reporter.h"
#include "errors/makers_site.h"
#include "platform/http.h"
#include "platform/registry.h"

namespace qm::update {

// The maker's web site; it sits with the reporter, which sends its reports there too.
using errors::kMakersSite;

// Where an administrator may point the program at another copy of the site (a test site on
// the loopback, say) without rebuilding it: a REG_SZ "site" under
// HKEY_LOCAL_MACHINE\Software\Microsoft\Qmoss. Only the machine's hive is read, never the
// user's: the updater downloads a program and starts it, so whoever may choose the site must
// already be able to install programs. Only an https:// address is taken; anything else, or
// no value, leaves kMakersSite.
inline constexpr std::string_view kSiteOverridePath = "Software\\Microsoft\\Qmoss";
inline constexpr std::string_view kSiteOverrideValue = "site";
// The key that signs the other site's updates: a REG_SZ "sitekey" beside "site", a PEM
// "PUBLIC KEY". It is taken only together with a "site" that is taken: a key alone must not
// make the maker's own site trust someone else's programs.
inline constexpr std::string_view kSiteKeyValue = "sitekey";

// How long any one transfer may wait for the connection or for the next piece of an answer.
inline constexpr std::uint32_t kTransferTimeoutMs = 30'000;
// How long the online test and an error report may take in all. Both only need the site's
// first answer; a site slower than this counts as out of reach.
inline constexpr std::uint32_t kQuickTransferLimitMs = 10'000;
// How long the download of a new program may take in all: a few megabytes on a slow line.
inline constexpr std::uint32_t kDownloadLimitMs = 600'000;

// The site's base address, without a trailing slash.
std::string SiteAddress(platform::Registry& registry);
// The public key whose signatures the updater believes: the administrator's "sitekey" where
// "site" names another site, else the maker's key. An empty or unreadable "sitekey" there
// is kept as it is, and so nothing from that site verifies.
std::string SiteKey(platform::Registry& registry);

// The online test: true when the site's home page answers at all (any status). The site is
// the only place the program ever talks to, so it is the page whose reach matters.
bool IsOnline(platform::Http& http, std::string_view site);

// The reporter's reports go to its site over `http`, after the online test; the answer is not
// read, but a transfer that fails counts as a failed send. Both are quick transfers.
void SendReportsThrough(errors::ErrorReporter& reporter, platform::Http& http);

}  // namespace qm::update
