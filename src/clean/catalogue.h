#pragma once
// The 40 things Quillmoss can clean, as one constant table. The clean run, the selection
// buttons, the restore at start-up, the hints and the panels are all driven from it, so an
// item is described in exactly one place.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "clean/cleaner_steps.h"

namespace qm::clean {

struct CleaningItem {
    std::string_view check_box;   // program name of the box on the main window
    std::string_view caption;     // text beside the box
    int panel;                    // 1..9: the tab of the item strip the box sits on
    int panel_position;           // 1-based place in the panel's box order
    std::string_view value_name;  // settings value: "tt" cleaned, "uu" not ticked
    std::string_view hint;        // empty: ticking the box leaves the hint label alone
    std::string_view start_line;  // progress line before the steps
    std::string_view end_line;    // progress line after the steps
    int run_position;             // 1..40
    std::span<const StepId> steps;
};

struct ItemPanel {
    int tab;                       // 1..9
    std::string_view tab_caption;  // caption on the item strip
    std::string_view hint_label;   // program name of the panel's hint label
    std::string_view extra_label;  // program name of the fixed extra label, or empty
    std::string_view extra_text;
};

inline constexpr std::size_t kItemCount = 40;
inline constexpr std::size_t kPanelCount = 9;

namespace steps {
using enum StepId;
inline constexpr StepId kHistory[] = {CleanUrlHistory};
inline constexpr StepId kTypedUrls[] = {CleanTypedURLs};
inline constexpr StepId kAutoComplete[] = {CleanAutoComplete};
inline constexpr StepId kCookies[] = {ListUrlCacheEntries, DeleteEachListedCacheEntry,
                                      WipeCookieFiles, ListUrlCacheEntries,
                                      DeleteListedCacheEntries};
inline constexpr StepId kIECache[] = {ListUrlCacheEntries, DeleteListedCacheEntries,
                                      CleanIECacheFiles};
inline constexpr StepId kIndexDat[] = {KillIndexDat};
inline constexpr StepId kOutlook[] = {CleanOutlookDeleted};
inline constexpr StepId kWinZipFiles[] = {CleanWinZipFileMenu};
inline constexpr StepId kWinZipExtract[] = {CleanWinZipExtract};
inline constexpr StepId kWordPad[] = {CleanWordPadMRU};
inline constexpr StepId kPaint[] = {CleanPaintMRU};
inline constexpr StepId kMediaPlayer[] = {CleanMediaPlayer};
inline constexpr StepId kOffice[] = {CleanMSOfficeRecent};
inline constexpr StepId kRecentDocs[] = {CleanRecentDocs};
inline constexpr StepId kRunMenu[] = {CleanRunMRU};
inline constexpr StepId kTemp[] = {CleanTempFolder};
inline constexpr StepId kRecycleBin[] = {EmptyRecycleBin};
inline constexpr StepId kFindFiles[] = {CleanFindMRU};
inline constexpr StepId kOperaCache[] = {CleanOperaCache, CleanOpera7Cache};
inline constexpr StepId kOperaCookies[] = {CleanOperaCookies, CleanOpera7Cookies};
inline constexpr StepId kOperaTyped[] = {CleanOperaTypedURLs};
inline constexpr StepId kNetscapeCache[] = {CleanNetScapeCache};
inline constexpr StepId kNetscapeCookies[] = {CleanNetScapeCookies};
inline constexpr StepId kNetscapeTyped[] = {CleanNetScapeURLS};
inline constexpr StepId kChromiumHistory[] = {CleanChromiumHistory};
inline constexpr StepId kChromiumCache[] = {CleanChromiumCache};
inline constexpr StepId kChromiumCookies[] = {CleanChromiumCookies};
inline constexpr StepId kChromiumSessions[] = {CleanChromiumSessions};
inline constexpr StepId kChromiumForms[] = {CleanChromiumForms};
inline constexpr StepId kFirefoxHistory[] = {CleanFirefoxHistory};
inline constexpr StepId kFirefoxCache[] = {CleanFirefoxCache};
inline constexpr StepId kFirefoxCookies[] = {CleanFirefoxCookies};
inline constexpr StepId kFirefoxSessions[] = {CleanFirefoxSessions};
inline constexpr StepId kFirefoxForms[] = {CleanFirefoxForms};
inline constexpr StepId kJumpLists[] = {CleanJumpLists};
inline constexpr StepId kThumbnails[] = {CleanThumbnailCache};
inline constexpr StepId kExplorerLists[] = {CleanExplorerLists};
inline constexpr StepId kClipboard[] = {CleanClipboard};
inline constexpr StepId kDnsCache[] = {FlushDnsCache};
inline constexpr StepId kErrorReports[] = {CleanErrorReports};
}  // namespace steps

// In run order. The texts, typing slips included, are what users and the settings key have
// always seen; do not tidy them.
inline constexpr std::array<CleaningItem, kItemCount> kCatalogue = {{
    {"chkInternetHistory", "IE History", 1, 2, "ihistory", "Clean IE History...",
     "Cleaning Intenet History...", "Internet History Cleaned.", 1, steps::kHistory},
    {"chkUrls", "Internet Typed Web Address", 1, 3, "urllist", "Clean Typed Web Addressess...",
     "Cleaning recent visited URL lists...", "Recent visited URL list Cleaned.", 2,
     steps::kTypedUrls},
    {"chkAutoComplete", "Disable AutoComplete", 1, 1, "autocom", "Clean AutoComplete lists...",
     "Cleaning AutoComplete list...", "AutoComplete list cleaned.", 3, steps::kAutoComplete},
    {"chkCookies", "Cookies", 1, 5, "cookies", "Clean Cookies...", "Cleaning Internet Cookies...",
     "Internet Cookies Cleaned.", 4, steps::kCookies},
    {"chkIECache", "Temporary Internet Files", 1, 4, "iecache", "Clean Temporary Internet Files...",
     "Cleaning Internet Explorer Cache...", "Internet Explorer Cache Cleaned.", 5, steps::kIECache},
    {"chkClearIndexDAT", "Index.dat ( requires reboot )", 1, 6, "index",
     "Clean Index.dat file ( requires reboot )", "Cleaning Index.dat file...",
     "Index.dat file Cleaned.", 6, steps::kIndexDat},
    {"chkOutlook", "Outlook deleted items", 1, 7, "outlookd", "",
     "Cleaning Outlook deleted items...", "Outlook deleted item Cleaned.", 7, steps::kOutlook},
    {"chkWzip1", "WinZip File Menu", 3, 1, "wzip1", "Clean recently open zip files...",
     "Cleaning WinZip recent file menu...", "WinZip recent file menu Cleaned.", 8,
     steps::kWinZipFiles},
    {"chkWzip2", "WinZip Extract To Menu", 3, 2, "wzip2", "Clean WinZip Extract To Menu...",
     "Cleaning WinZip Extract menu...", "WinZip Extract menu Cleaned.", 9, steps::kWinZipExtract},
    {"chkWordPad", "Word Pad Recent File Menu", 3, 3, "wordpad",
     "Clean Word Pad Recent open Files...", "Cleaning Wordpad recent file menu...",
     "Wordpad recent file menu Cleaned.", 10, steps::kWordPad},
    {"chkPbrush", "Paint Brush Recent File Menu", 3, 4, "paint",
     "Clean Paint Brush Recent open Files...", "Cleaning Paint Brush recent file menu...",
     "Paint Brush recent file menu Cleaned.", 11, steps::kPaint},
    {"chkMediaPlayer", "Media Player Recent File Menu", 3, 5, "media",
     "Clean Media Player Recent open Files...", "Cleaning Media Player recent file menu...",
     "Media Player recent file menu Cleaned.", 12, steps::kMediaPlayer},
    {"chkMS", "MS Office history list.", 3, 6, "msoffice", "Clean MS Office history list...",
     "Cleaning MS Office history list...", "MS Office history list Cleaned.", 13, steps::kOffice},
    {"chkDocuments", "Recent Documents List", 2, 1, "docs", "Clean Recent Documents List...",
     "Cleaning recent document list...", "Recent document list cleaned.", 14, steps::kRecentDocs},
    {"chkRunMenu", "Recent Items From Run Menu", 2, 2, "rmenu",
     "Clean Recent Items From Run Menu...", "Cleaning Run menu recent items...",
     "Run menu recent items Cleaned.", 15, steps::kRunMenu},
    {"chkTemp", "Temporary Folder", 2, 3, "temp", "Clean Temporary Folder...",
     "Cleaning temporary files...", "Temporary files Cleaned.", 16, steps::kTemp},
    {"chkRecBin", "Recycle Bin", 2, 4, "recycle", "Clean Recycle Bin...", "Cleaning Recycle Bin...",
     "Recycle Bin Cleaned.", 17, steps::kRecycleBin},
    {"chkFindFiles", "Find Files History", 2, 5, "findfile", "Clean Find Files History...",
     "Cleaning Find file list...", "Find file list Cleaned.", 18, steps::kFindFiles},
    {"chkOperaCh", "Opera Cache", 4, 1, "operach", "Clean Opera Cache...",
     "Cleaning Opera Cache...", "Opera Cache Cleaned.", 19, steps::kOperaCache},
    {"chkOperaCoo", "Opera Cookies", 4, 2, "operacoo", "Clean Opera Cookies...",
     "Cleaning Opera Cookies...", "Opera Cookies Cleaned.", 20, steps::kOperaCookies},
    {"chkOperaType", "Opera Typed URL", 4, 3, "operaType", "Clean Opera Typed URLs...",
     "Cleaning Opera Typed URLs...", "Opera Typed URLs Cleaned.", 21, steps::kOperaTyped},
    {"chkNetCa", "Netscape Cache", 5, 1, "netch", "Clean Netscape Cache...",
     "Cleaning Netscape Cache...", "Netscape Cache Cleaned.", 22, steps::kNetscapeCache},
    {"chkNetCoo", "Netscape Cookies", 5, 2, "netcoo", "Clean Netscape Cookies...",
     "Cleaning Netscape Cookies...", "Netscape Cookies Cleaned.", 23, steps::kNetscapeCookies},
    {"chkNetTypeurls", "Netscape Type URL", 5, 3, "nettypeurl", "Clean Netscape Type URLs...",
     "Cleaning Netscape Typed URLs...", "Netscape Typed URLs Cleaned.", 24, steps::kNetscapeTyped},
    // Today's browsers. Their hints say what was found when the box is ticked (see
    // BrowserFamilyOf), so the table holds none.
    {"chkChromeHist", "Browsing and Download History", 6, 1, "chromehist", "",
     "Cleaning Chrome, Edge and other browsers' history...",
     "Chrome, Edge and other browsers' history cleaned.", 25, steps::kChromiumHistory},
    {"chkChromeCache", "Cache", 6, 2, "chromecache", "",
     "Cleaning Chrome, Edge and other browsers' cache...",
     "Chrome, Edge and other browsers' cache cleaned.", 26, steps::kChromiumCache},
    {"chkChromeCoo", "Cookies", 6, 3, "chromecoo", "",
     "Cleaning Chrome, Edge and other browsers' cookies...",
     "Chrome, Edge and other browsers' cookies cleaned.", 27, steps::kChromiumCookies},
    {"chkChromeSess", "Open Tabs and Sessions", 6, 4, "chromesess", "",
     "Cleaning Chrome, Edge and other browsers' sessions...",
     "Chrome, Edge and other browsers' sessions cleaned.", 28, steps::kChromiumSessions},
    {"chkChromeForm", "Form Entries", 6, 5, "chromeform", "",
     "Cleaning Chrome, Edge and other browsers' form entries...",
     "Chrome, Edge and other browsers' form entries cleaned.", 29, steps::kChromiumForms},
    {"chkFfHist", "Browsing and Download History", 7, 1, "ffhist", "",
     "Cleaning Firefox history...", "Firefox history cleaned.", 30, steps::kFirefoxHistory},
    {"chkFfCache", "Cache", 7, 2, "ffcache", "", "Cleaning Firefox cache...",
     "Firefox cache cleaned.", 31, steps::kFirefoxCache},
    {"chkFfCoo", "Cookies", 7, 3, "ffcoo", "", "Cleaning Firefox cookies...",
     "Firefox cookies cleaned.", 32, steps::kFirefoxCookies},
    {"chkFfSess", "Open Tabs and Sessions", 7, 4, "ffsess", "", "Cleaning Firefox sessions...",
     "Firefox sessions cleaned.", 33, steps::kFirefoxSessions},
    {"chkFfForm", "Form Entries", 7, 5, "ffform", "", "Cleaning Firefox form entries...",
     "Firefox form entries cleaned.", 34, steps::kFirefoxForms},
    // Windows' own traces since Vista; greyed where this Windows keeps none (HasWindowsTrace).
    {"chkJumpLists", "Jump Lists", 9, 1, "jumplists",
     "Clean recent and frequent entries of jump lists; pinned ones stay...",
     "Cleaning jump lists...", "Jump lists cleaned.", 35, steps::kJumpLists},
    {"chkThumbCache", "Thumbnail Cache", 9, 2, "thumbcache", "Clean Thumbnail Cache...",
     "Cleaning thumbnail cache...", "Thumbnail cache cleaned.", 36, steps::kThumbnails},
    {"chkExplorerMru", "Explorer Recent Lists", 9, 3, "explorermru",
     "Clean Explorer's typed paths, searches and Open and Save lists...",
     "Cleaning Explorer's recent lists...", "Explorer's recent lists cleaned.", 37,
     steps::kExplorerLists},
    {"chkClipboard", "Clipboard", 9, 4, "clipboard", "Empty the clipboard and its history...",
     "Emptying the clipboard...", "Clipboard emptied.", 38, steps::kClipboard},
    {"chkDnsCache", "DNS Cache", 9, 5, "dnscache", "Empty the cache of visited host names...",
     "Emptying the DNS cache...", "DNS cache emptied.", 39, steps::kDnsCache},
    {"chkWinErrors", "Error Reports", 9, 6, "winerrors", "Clean your error reports...",
     "Cleaning error reports...", "Error reports cleaned.", 40, steps::kErrorReports},
}};

// In the order of the item strip's tabs.
inline constexpr std::array<ItemPanel, kPanelCount> kItemPanels = {{
    {1, "Clean Internet Explorer", "Label3", "", ""},
    {2, "Clean Common Folders", "Label2", "", ""},
    {3, "Clean Application MRU", "Label4", "", ""},
    // Shown on two lines, broken after "and".
    {4, "Opera", "Label31", "Label32", "Applicable to Opera 3.2 and Opera 7.11"},
    {5, "Netscape", "Label34", "Label33", "Applicable to Netscape 6"},
    {6, "Chrome, Edge and Others", "Label35", "Label36",
     "Chrome, Edge, Brave, Vivaldi and Chromium, every profile"},
    {7, "Firefox", "Label37", "Label38", "Firefox, every profile in profiles.ini"},
    // No catalogue item: the boxes of the user's own places (see custom_items.h).
    {8, "Your Own Places", "Label39", "Label40",
     "Add your own places in Option > Advance Settings"},
    {9, "Windows", "Label41", "Label42",
     "Jump lists from Windows 7 on, thumbnails and error reports from Vista on"},
}};

// The browser family whose profiles an item cleans, for the hint that says what was found;
// nullopt for the other items.
enum class BrowserFamily : std::uint8_t { Chromium, Firefox };
constexpr std::optional<BrowserFamily> BrowserFamilyOf(const CleaningItem& item) {
    if (item.panel == 6) return BrowserFamily::Chromium;
    if (item.panel == 7) return BrowserFamily::Firefox;
    return std::nullopt;
}

// All items in run order (the table itself).
std::span<const CleaningItem> ItemsInRunOrder();
// The items of one panel in its box order, the second column last. Looked up by the exact
// tab caption; an unknown caption gives an empty list.
std::vector<const CleaningItem*> ItemsOfPanel(std::string_view tab_caption);
std::vector<const CleaningItem*> ItemsOfPanel(int tab);
const CleaningItem* FindByCheckBox(std::string_view check_box);
const CleaningItem* FindByValueName(std::string_view value_name);
// The same in any letter case, as the command line and the policies name items.
const CleaningItem* FindByValueNameAnyCase(std::string_view value_name);
const ItemPanel* FindPanel(std::string_view tab_caption);
std::span<const ItemPanel> PanelsInTabOrder();

}  // namespace qm::clean
