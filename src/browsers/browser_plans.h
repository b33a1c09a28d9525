#pragma once
// What each browser database loses to an item, as row-cleaning plans: which tables must be
// there, which rows go, and what must stay exactly as it was.
#include <string>
#include <vector>

#include "cleaners/kept_sites.h"
#include "database/row_cleaning.h"

namespace qm::browsers::plans {

// History: every table but meta is emptied (it all repeats visited addresses).
database::RowCleaningPlan ChromiumHistory();
// Favicons: the icons of pages that are not bookmarked (`bookmarked` fills qm_kept).
database::RowCleaningPlan ChromiumFavicons(std::vector<std::string> bookmarked);
// Cookies: all but those of the kept sites and the sites below them.
database::RowCleaningPlan ChromiumCookies(const cleaners::KeptSites& kept);
// Web Data: the form entries only; addresses, cards and search engines stay.
database::RowCleaningPlan ChromiumForms();
// places.sqlite: visits, input history, and the pages no bookmark or keyword needs.
database::RowCleaningPlan FirefoxHistory();
// favicons.sqlite: the icons of pages that are not bookmarked (pages and their sites' roots).
database::RowCleaningPlan FirefoxFavicons(std::vector<std::string> bookmarked);
database::RowCleaningPlan FirefoxCookies(const cleaners::KeptSites& kept);
database::RowCleaningPlan FirefoxForms();

// The page addresses of places.sqlite's bookmarks.
inline constexpr const char* kFirefoxBookmarkedUrls =
    "SELECT url FROM moz_places WHERE id IN (SELECT fk FROM moz_bookmarks WHERE fk NOT NULL)";

}  // namespace qm::browsers::plans
