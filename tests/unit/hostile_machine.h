#pragma once
// Randomly generated machines full of files, keys and hostile settings, for the property
// tests of the cleaners: the same seed makes the same machine.
#include <cctype>
#include <random>
#include <string>
#include <vector>

#include "browser_machine.h"
#include "core_test_support.h"
#include "platform/sim/sim_compound.h"

namespace qm::testing {

using namespace std::string_literals;
namespace attr = platform::attr;
using platform::RegType;
using platform::Root;

inline std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}
inline std::string Join(const std::string& folder, const std::string& name) {
    return (folder.back() == '\\' ? folder : folder + "\\") + name;
}
// "X\*" is anything inside X, "*" anything at all, and a plain path is that file, folder, key
// (or a value of that key) with anything inside it.
inline bool InPlace(const std::string& path, const std::string& place) {
    if (place == "*") return true;
    const std::string p = Lower(path);
    if (place.ends_with("\\*")) {
        const std::string inside = Lower(place.substr(0, place.size() - 1));
        return p.size() > inside.size() && p.starts_with(inside);
    }
    return p == Lower(place) || p.starts_with(Lower(place) + "\\");
}

inline const std::string kProfile = "C:\\Documents and Settings\\Tester";
inline const std::string kAppData = kProfile + "\\Application Data";
inline const std::string kCookies = kProfile + "\\Cookies";
inline const std::string kCache = kProfile + "\\Local Settings\\Temporary Internet Files";
inline const std::string kContent = kCache + "\\Content.IE5";
inline const std::string kMozilla = kAppData + "\\Mozilla";
inline const std::string kNetscapeProfile =
    kMozilla + "\\Profiles\\x\\p1.slt";  // the one sound one
inline const std::string kOpera7 = kAppData + "\\Opera\\OPERA7\\profile";
inline const std::string kExplorer = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
inline const std::string kWinZip = "Software\\Nico Mak Computing\\WinZip";
inline const std::string kIE = "Software\\Microsoft\\Internet Explorer";

// What one generated machine was set up with, as far as the items' places depend on it.
struct Config {
    std::string temp;       // the temp folder the machine reports
    bool temp_is_safe;      // not a drive root, nor a Windows, program or profile folder
    std::string opera;      // "App Paths\Opera.exe" Path, empty when absent
    std::string mail;       // the default identity's REG_SZ mail folder, else empty
    bool app_data_is_text;  // "AppData" of Shell Folders is REG_SZ, not expandable or absent
    std::vector<std::string> browser_places;  // the browsers' profile and cache folders
    std::vector<std::string> windows_places;  // Windows' own traces since Vista
    std::string own_place;                    // a folder whose .txt files below it may go
    std::vector<std::string> excluded;        // places never touched
};

// The real browsers' profiles, with the damage a machine may hold: a profile list that names
// the Windows folder, a database the browser holds, one that is no database at all.
inline void PopulateBrowsers(sim::Machine& m, std::mt19937& rng, Config& c) {
    const std::string local = kProfile + "\\Local Settings\\Application Data";
    const std::string vendor = rng() % 2 ? "Google\\Chrome" : "Chromium";
    PlaceBrowserFixtures(m, vendor);
    const std::string user_data = local + "\\" + vendor + "\\User Data";
    const std::string firefox = "\\Mozilla\\Firefox\\Profiles\\qoxma0fs.qmprofile";
    c.browser_places = {user_data + "\\Default\\*", user_data + "\\Profile 1\\*",
                        kAppData + firefox + "\\*", local + firefox + "\\*"};
    if (rng() % 3 == 0)
        m.AddFile(
            user_data + "\\Local State",
            R"({"profile":{"info_cache":{"Default":{},"..\\..\\..\\..\\WINDOWS":{},"Profile 1":{}}}})");
    if (rng() % 3 == 0)
        m.AddFile(kAppData + "\\Mozilla\\Firefox\\profiles.ini",
                  "[Profile0]\r\nIsRelative=1\r\nPath=Profiles/qoxma0fs.qmprofile\r\n"
                  "[Profile1]\r\nIsRelative=0\r\nPath=C:\\WINDOWS\r\n"
                  "[Profile2]\r\nIsRelative=1\r\nPath=../../../../../WINDOWS\r\n");
    if (rng() % 4 == 0) m.Lock(user_data + "\\Profile 1\\History");
    if (rng() % 4 == 0) m.AddFile(kAppData + firefox + "\\cookies.sqlite", "not a database");
}

// A DestList stream's header: format version, entries, pinned entries.
inline std::string DestList(std::uint32_t version, std::uint32_t entries, std::uint32_t pinned) {
    std::string header(32, '\0');
    for (int i = 0; i < 4; ++i) {
        header[i] = static_cast<char>(version >> (8 * i));
        header[4 + i] = static_cast<char>(entries >> (8 * i));
        header[8 + i] = static_cast<char>(pinned >> (8 * i));
    }
    return header;
}

// Windows' own traces since Vista, each beside what must stay: pinned and unreadable jump lists,
// the icon cache, the machine's error reports, the rest of Explorer's key.
inline void PopulateWindowsTraces(sim::Machine& m, std::mt19937& rng, Config& c) {
    const std::string jump = kProfile + "\\Recent\\AutomaticDestinations\\";
    m.AddFile(jump + "1b4dd67f29cb1962.automaticDestinations-ms",
              sim::EncodeCompound({{"DestList", DestList(4, 3, 0)}, {"1", "lnk"}}));
    m.AddFile(jump + "f01b4d95cf55d32a.automaticDestinations-ms",
              sim::EncodeCompound({{"DestList", DestList(4, 5, 2)}, {"1", "lnk"}}));
    m.AddFile(jump + "9b9cdc69c1c24e2b.automaticDestinations-ms", "not a compound file");
    m.AddFile(jump + "5f7b5f1e01b83767.automaticDestinations-ms",
              sim::EncodeCompound({{"DestList", DestList(9, 1, 0)}}));
    m.AddFile(kProfile + "\\Recent\\CustomDestinations\\5f7b5f1e01b83767.customDestinations-ms",
              "lists");
    const std::string local = kProfile + "\\Local Settings\\Application Data\\Microsoft\\Windows";
    for (const char* name : {"thumbcache_32.db", "thumbcache_idx.db", "iconcache_32.db"})
        m.AddFile(local + "\\Explorer\\" + name, "data");
    if (rng() % 2) m.Lock(local + "\\Explorer\\thumbcache_idx.db");
    m.AddFile(local + "\\WER\\ReportArchive\\AppCrash_x\\Report.wer", "data");
    m.AddFile(local + "\\WER\\ReportQueue\\AppHang_y\\Report.wer", "data");
    m.AddFile(
        "C:\\Documents and Settings\\All Users\\Application Data\\Microsoft\\Windows\\WER\\"
        "ReportArchive\\Machine_z\\Report.wer",
        "data");
    c.windows_places.push_back(local + "\\Explorer\\thumbcache_32.db");
    c.windows_places.push_back(local + "\\Explorer\\thumbcache_idx.db");
    c.windows_places.push_back(local + "\\WER\\ReportArchive\\*");
    c.windows_places.push_back(local + "\\WER\\ReportQueue\\*");
    const auto set = [&](const std::string& key, const std::string& name, RegType type,
                         std::vector<std::uint8_t> data) {
        WriteRaw(m.registry(), Root::CurrentUser, kExplorer + "\\" + key, name, type, data);
    };
    set("TypedPaths", "url1", RegType::Sz, Utf16Bytes("C:\\Secret"));
    set("WordWheelQuery", "MRUListEx", RegType::Binary, {7, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF});
    set("WordWheelQuery", "0", RegType::Dword, std::vector<std::uint8_t>(70000, 0x41));
    set("ComDlg32\\OpenSavePidlMRU\\txt", "0", RegType::Binary, {1, 2, 3});
    set("ComDlg32\\CIDSizeMRU", "0", RegType::Binary, {1});
    set("Map Network Drive MRU", "a", RegType::Sz, Utf16Bytes("\\\\server\\share"));
    m.session_traces().clipboard = "a secret";
    m.session_traces().dns_cache = {"site0"};
}

inline Config Populate(sim::Machine& m, unsigned seed) {
    std::mt19937 rng(seed);
    const auto one_in = [&](unsigned n) { return rng() % n == 0; };
    const auto pick = [&](const std::vector<std::string>& from) {
        return from[rng() % from.size()];
    };
    const auto set = [&](Root root, const std::string& key, const std::string& name,
                         const std::string& text, RegType type = RegType::Sz) {
        qm::testing::WriteRaw(m.registry(), root, key, name, type, qm::testing::Utf16Bytes(text));
    };
    // clang-format off
    const std::vector<std::string> folders = {
        "C:\\", "C:\\WINDOWS", "C:\\Program Files", kProfile, kAppData, kCookies, kCache, kContent,
        kContent + "\\AB12CD34", kProfile + "\\Local Settings\\Temp", "C:\\Mail",
        "C:\\Program Files\\Opera", "C:\\Program Files\\Opera\\Cache", kMozilla, kNetscapeProfile,
        kAppData + "\\Microsoft\\Media Player", kAppData + "\\Microsoft\\Office\\Recent", kOpera7,
        kOpera7 + "\\cache4", kProfile + "\\Recent", "C:\\Keep", kNetscapeProfile + "\\cache",
        "C:\\WINDOWS\\evil.slt"};
    const std::vector<std::string> names = {
        "cookies.txt", "index.dat", "Deleted Items.dbx", "history.dat", "global.dat", "opera.dir",
        "cookies.dat", "cookies4.dat", "a.txt", "b.gif", "pagefile.sys", "localstore.rdf",
        "Inbox.dbx", "x.tmp", "ünï.txt"};
    // clang-format on
    for (const std::string& folder : folders) {
        for (const std::string& name : names) {
            const std::string path = Join(one_in(3) ? folder + "\\sub" : folder, name);
            const std::uint32_t hidden = one_in(4) ? attr::kHidden : 0;
            m.AddFile(path, "data", hidden | (one_in(4) ? attr::kReadOnly : 0));
            if (one_in(15)) m.Lock(path);
        }
    }
    m.AddRecentDocument("report.doc");
    for (int i = 0; i < 5; ++i) m.AddUrlCacheEntry("http://site" + std::to_string(i) + "/");
    m.AddUrlCacheEntry("Cookie:tester@site/", platform::cache_entry::kCookie);
    m.AddHistoryItem("site0");
    m.AddToRecycleBin("Dc1.txt");

    // The lists' own rules are their cleaners' tests; here they only need something to clean.
    for (const std::string& key : {kExplorer + "\\RunMRU", kWinZip + "\\extract",
                                   kIE + "\\TypedURLs", "Software\\Keep\\Me"s}) {
        for (const char* name : {"a", "b", "c", "z", "extract1", "extract2"})
            set(Root::CurrentUser, key, name, "x");
        set(Root::CurrentUser, key, "MRUList", one_in(2) ? "cab" : "");
    }
    set(Root::LocalMachine, "Software\\Keep", "v", "x");

    Config c;
    // Every other machine has a temp folder that must be refused, each of them in turn.
    const std::vector<std::string> unsafe = {"C:\\", "C:\\WINDOWS", "C:\\Program Files", kProfile,
                                             "C:\\Documents and Settings"};
    c.temp_is_safe = seed % 2 == 1;
    c.temp = c.temp_is_safe ? kProfile + "\\Local Settings\\Temp" : unsafe[seed / 2 % 5];
    m.SetTempPath(c.temp);
    c.opera = pick({"", "C:\\Program Files\\Opera", "C:\\", "C:\\WINDOWS"});
    if (!c.opera.empty())
        set(Root::LocalMachine,
            "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Opera.exe", "Path", c.opera);
    set(Root::CurrentUser, "Identities", "Default User ID", "{1}");
    const std::string mail = pick({"C:\\Mail", "C:\\WINDOWS", ""});
    const bool expandable = one_in(3);  // reads as no text
    if (!mail.empty())
        set(Root::CurrentUser, "Identities\\{1}\\Software\\Microsoft\\Outlook Express\\5.0",
            "Store Root", mail, expandable ? RegType::ExpandSz : RegType::Sz);
    c.mail = expandable ? "" : mail;
    const unsigned app_data = rng() % 3;  // text, expandable or absent
    if (app_data < 2)
        set(Root::CurrentUser, kExplorer + "\\Shell Folders", "AppData", kAppData,
            app_data == 0 ? RegType::Sz : RegType::ExpandSz);
    c.app_data_is_text = app_data == 0;
    // Netscape's profile list: the sound profile and two that climb out of the Mozilla folder.
    m.AddFile(kMozilla + "\\registry.dat", "\x01\x02junk" + kNetscapeProfile + "\0"s + kMozilla +
                                               "\\..\\..\\..\\..\\WINDOWS\\evil.slt" + "\0\0\0"s +
                                               Lower(kNetscapeProfile) + "\\..\\..\\..\\..\\x.slt");
    PopulateBrowsers(m, rng, c);
    PopulateWindowsTraces(m, rng, c);
    // What the user keeps and adds: a kept site, places never touched (one the temp item and
    // one the cache item would reach), own places (one harmless, two that must be refused).
    const std::string kSettings = "Software\\Microsoft\\Qmoss";
    if (one_in(2)) set(Root::CurrentUser, kSettings, "cookiekeep", "site0 .qmkeep.test");
    if (one_in(2)) {
        const std::string temp = kProfile + "\\Local Settings\\Temp";
        c.excluded = {temp + "\\a.txt", temp + "\\sub", kContent + "\\b.gif"};
        set(Root::CurrentUser, kSettings, "exclude",
            c.excluded[0] + "|" + c.excluded[1] + "|" + kContent + "\\*.gif");
    }
    if (one_in(2)) {
        set(Root::CurrentUser, kSettings, "custom1place", "folder|C:\\Keep|*.txt|1");
        c.own_place = "C:\\Keep";
    }
    set(Root::CurrentUser, kSettings, "custom2place", "folder|C:\\WINDOWS\\..|*.*|1");
    set(Root::CurrentUser, kSettings, "custom5place", "folder|C:\\Documents and Settings|*|1");
    return c;
}

}  // namespace qm::testing
