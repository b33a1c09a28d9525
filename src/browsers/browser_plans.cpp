#include "browsers/browser_plans.h"

namespace qm::browsers::plans {

using database::KeptDigest;
using database::RowCleaningPlan;

namespace {

// "http://host/" of a page address, for the icons a site keeps at its root.
std::string SiteOf(const std::string& url) {
    const std::size_t scheme = url.find("://");
    if (scheme == std::string::npos) return {};
    const std::size_t end = url.find('/', scheme + 3);
    return end == std::string::npos ? url + "/" : url.substr(0, end + 1);
}

// The cookies of `host_column` that a kept site keeps: the site itself or a site below it.
RowCleaningPlan Cookies(const std::string& table, const std::string& host_column,
                        const cleaners::KeptSites& kept) {
    const std::string host = "lower(rtrim(ltrim(" + host_column + ", '.'), '.'))";
    const std::string keeps = "EXISTS (SELECT 1 FROM temp.qm_kept k WHERE " + host +
                              " = k.value OR substr(" + host +
                              ", -length(k.value) - 1) = '.' || k.value)";
    RowCleaningPlan plan;
    plan.tables = {table};
    plan.deletions = {{table, "DELETE FROM " + table + " WHERE NOT " + keeps}};
    plan.kept_rows = {{table, keeps}};
    plan.kept_values = kept.sites();
    return plan;
}

RowCleaningPlan Emptying(std::vector<std::string> tables, std::vector<std::string> optional) {
    RowCleaningPlan plan;
    plan.tables = tables;
    for (const std::string& table : tables)
        plan.deletions.push_back({table, "DELETE FROM " + table, false});
    for (const std::string& table : optional)
        plan.deletions.push_back({table, "DELETE FROM " + table, true});
    return plan;
}

}  // namespace

RowCleaningPlan ChromiumHistory() {
    RowCleaningPlan plan;
    plan.tables = {"meta", "urls", "visits"};
    plan.empty_the_rest = true;
    plan.spared = {"meta"};
    return plan;
}

RowCleaningPlan ChromiumFavicons(std::vector<std::string> bookmarked) {
    RowCleaningPlan plan;
    plan.tables = {"meta", "icon_mapping", "favicons", "favicon_bitmaps"};
    const std::string kept_pages = "(SELECT value FROM temp.qm_kept)";
    const std::string kept_icons =
        "(SELECT icon_id FROM icon_mapping WHERE page_url IN " + kept_pages + ")";
    plan.deletions = {
        {"icon_mapping", "DELETE FROM icon_mapping WHERE page_url NOT IN " + kept_pages},
        {"favicon_bitmaps",
         "DELETE FROM favicon_bitmaps WHERE icon_id NOT IN (SELECT icon_id FROM icon_mapping)"},
        {"favicons", "DELETE FROM favicons WHERE id NOT IN (SELECT icon_id FROM icon_mapping)"}};
    plan.kept_rows = {{"icon_mapping", "page_url IN " + kept_pages},
                      {"favicons", "id IN " + kept_icons},
                      {"favicon_bitmaps", "icon_id IN " + kept_icons}};
    plan.kept_values = std::move(bookmarked);
    return plan;
}

RowCleaningPlan ChromiumCookies(const cleaners::KeptSites& kept) {
    RowCleaningPlan plan = Cookies("cookies", "host_key", kept);
    plan.tables.push_back("meta");
    return plan;
}

RowCleaningPlan ChromiumForms() {
    RowCleaningPlan plan = Emptying({"autofill"}, {"autocomplete", "autofill_dates"});
    plan.tables.push_back("meta");
    return plan;
}

RowCleaningPlan FirefoxHistory() {
    RowCleaningPlan plan;
    plan.tables = {"moz_places", "moz_historyvisits", "moz_bookmarks", "moz_origins"};
    const std::string needed =
        "(SELECT fk FROM moz_bookmarks WHERE fk NOT NULL UNION "
        "SELECT place_id FROM moz_keywords WHERE place_id NOT NULL)";
    plan.deletions = {{"moz_historyvisits", "DELETE FROM moz_historyvisits"}};
    for (const char* table :
         {"moz_historyvisits_extra", "moz_inputhistory", "moz_places_metadata",
          "moz_places_metadata_search_queries", "moz_previews_tombstones", "moz_newtab_story_click",
          "moz_newtab_story_impression", "moz_newtab_shortcuts_interaction"})
        plan.deletions.push_back({table, std::string("DELETE FROM ") + table, true});
    plan.deletions.push_back(
        {"moz_annos", "DELETE FROM moz_annos WHERE place_id NOT IN " + needed, true});
    plan.deletions.push_back(
        {"moz_places_extra", "DELETE FROM moz_places_extra WHERE place_id NOT IN " + needed, true});
    plan.deletions.push_back({"moz_places", "DELETE FROM moz_places WHERE id NOT IN " + needed});
    plan.deletions.push_back(
        {"moz_origins",
         "DELETE FROM moz_origins WHERE id NOT IN (SELECT origin_id FROM moz_places)"});
    plan.kept_rows = {
        {"moz_places", "id IN " + needed},
        {"moz_origins", "id IN (SELECT origin_id FROM moz_places WHERE id IN " + needed + ")"}};
    return plan;
}

RowCleaningPlan FirefoxFavicons(std::vector<std::string> bookmarked) {
    RowCleaningPlan plan;
    plan.tables = {"moz_icons", "moz_pages_w_icons", "moz_icons_to_pages"};
    const std::string kept_pages =
        "(SELECT id FROM moz_pages_w_icons WHERE page_url IN (SELECT value FROM temp.qm_kept))";
    // A site's own icon (root) serves every page of it, mapped or not.
    const std::string kept_root =
        "(root = 1 AND EXISTS (SELECT 1 FROM temp.qm_kept k WHERE "
        "substr(icon_url, 1, length(k.value)) = k.value AND k.value LIKE '%/'))";
    plan.deletions = {
        {"moz_pages_w_icons",
         "DELETE FROM moz_pages_w_icons WHERE page_url NOT IN (SELECT value FROM temp.qm_kept)"},
        {"moz_icons_to_pages",
         "DELETE FROM moz_icons_to_pages WHERE page_id NOT IN (SELECT id FROM moz_pages_w_icons)"},
        {"moz_icons",
         "DELETE FROM moz_icons WHERE id NOT IN (SELECT icon_id FROM "
         "moz_icons_to_pages) AND NOT " +
             kept_root}};
    plan.kept_rows = {
        {"moz_pages_w_icons", "id IN " + kept_pages},
        {"moz_icons_to_pages", "page_id IN " + kept_pages},
        {"moz_icons", "id IN (SELECT icon_id FROM moz_icons_to_pages WHERE page_id IN " +
                          kept_pages + ") OR " + kept_root}};
    std::vector<std::string> values = bookmarked;
    for (const std::string& url : bookmarked) {
        if (const std::string site = SiteOf(url); !site.empty()) values.push_back(site);
    }
    plan.kept_values = std::move(values);
    return plan;
}

RowCleaningPlan FirefoxCookies(const cleaners::KeptSites& kept) {
    return Cookies("moz_cookies", "host", kept);
}

RowCleaningPlan FirefoxForms() {
    return Emptying({"moz_formhistory"},
                    {"moz_history_to_sources", "moz_sources", "moz_deleted_formhistory"});
}

}  // namespace qm::browsers::plans
