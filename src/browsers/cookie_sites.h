#pragma once
// The sites that hold cookies on this machine now, for the options dialog to offer as sites
// to keep: read from the Chromium-family and Firefox cookie tables of every profile, from the
// older Mozilla profiles' cookies.txt and from the names of Internet Explorer's cookie files.
// Opera's cookie files keep a site's name a label at a time, so their sites are not offered.
#include <string>
#include <vector>

#include "platform/platform.h"

namespace qm::browsers {

// Folded as the settings keep them (see cleaners::KeptSites::Folded), each once, sorted. A
// store that is missing, held by its browser or no database gives nothing and is passed over
// without a word; nothing is ever written to one.
std::vector<std::string> SitesWithCookies(platform::Platform& platform);

}  // namespace qm::browsers
