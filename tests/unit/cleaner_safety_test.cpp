// The safety property of every cleaner: on randomly generated machines full of files, keys
// and hostile settings, cleaning one item deletes nothing outside that item's documented
// places. The machine's own record of every deletion is the witness.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "platform/sim/machine.h"

namespace qm {
namespace {

using sim::Deletion;
using Kind = sim::Deletion::Kind;

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}
bool Same(const std::string& a, const std::string& b) {
    return Lower(a) == Lower(b);
}
bool Under(const std::string& path, const std::string& folder) {
    if (folder.empty()) return false;
    const std::string base = Lower(folder.back() == '\\' ? folder : folder + "\\");
    return Lower(path).rfind(base, 0) == 0 && path.size() > base.size();
}
std::string Parent(const std::string& path) {
    return path.substr(0, path.find_last_of('\\'));
}
std::string Name(const std::string& path) {
    return path.substr(path.find_last_of('\\') + 1);
}
bool DirectlyIn(const std::string& path, const std::string& folder) {
    return !folder.empty() && Same(Parent(path), folder);
}
std::string Join(const std::string& folder, const std::string& name) {
    return (!folder.empty() && folder.back() == '\\' ? folder : folder + "\\") + name;
}
bool HasDotParts(const std::string& path) {
    return path.find("\\..") != std::string::npos || path.find("\\.\\") != std::string::npos;
}

const std::string kProfile = "C:\\Documents and Settings\\Tester";
const std::string kAppData = kProfile + "\\Application Data";
const std::string kCookies = kProfile + "\\Cookies";
const std::string kCache = kProfile + "\\Local Settings\\Temporary Internet Files";
const std::string kContent = kCache + "\\Content.IE5";
const std::string kExplorer = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";

// What one generated machine was configured with, as far as the places depend on it.
struct Config {
    std::string temp;          // the temp folder GetTempPath reports
    bool temp_is_safe = true;  // not a drive root, system, program or profile folder
    std::string opera;         // "App Paths\Opera.exe" Path, empty when absent
    std::string store_root;    // the default identity's mail folder, empty when not REG_SZ
    std::string mozilla;       // AppData (REG_SZ) + "\Mozilla", empty otherwise
};

class Generator {
  public:
    Generator(sim::Machine& machine, unsigned seed) : m_(machine), rng_(seed), seed_(seed) {}

    Config Populate() {
        Config config;
        // clang-format off
        const std::vector<std::string> roots = {
            "C:\\", "C:\\WINDOWS", "C:\\Program Files", kProfile, kAppData, kCookies, kCache,
            kContent, kContent + "\\AB12CD34", kProfile + "\\Local Settings\\Temp", "C:\\Mail",
            "C:\\Program Files\\Opera", "C:\\Program Files\\Opera\\Cache", kAppData + "\\Mozilla",
            kAppData + "\\Mozilla\\Profiles\\x\\p1.slt", kAppData + "\\Microsoft\\Media Player",
            kAppData + "\\Microsoft\\Office\\Recent", kAppData + "\\Opera\\OPERA7\\profile",
            kAppData + "\\Opera\\OPERA7\\profile\\cache4", kProfile + "\\Recent", "C:\\Keep"};
        // clang-format on
        const std::vector<std::string> names = {
            "cookies.txt",  "index.dat",      "Deleted Items.dbx", "history.dat", "global.dat",
            "opera.dir",    "cookies.dat",    "cookies4.dat",      "a.txt",       "b.gif",
            "pagefile.sys", "localstore.rdf", "Inbox.dbx",         "x.tmp",       "ünï.txt"};
        for (int i = 0; i < 120; ++i) {
            std::string folder = Pick(roots);
            if (Chance(3)) folder += "\\sub" + std::to_string(i % 4);
            if (Chance(4)) folder += "\\cache";
            const std::string path = folder + (folder.back() == '\\' ? "" : "\\") + Pick(names);
            const std::uint32_t attributes = Chance(4)   ? platform::attr::kHidden
                                             : Chance(4) ? platform::attr::kReadOnly
                                                         : 0;
            if (!m_.Exists(path)) m_.AddFile(path, "data", attributes);
            if (Chance(15)) m_.Lock(path);
        }
        // The traces each item is for, so that every cleaner has work on every machine.
        for (const std::string& trace :
             {std::string("C:\\Mail\\Deleted Items.dbx"),
              std::string("C:\\WINDOWS\\Deleted Items.dbx"),
              std::string("C:\\Program Files\\Opera\\cookies.dat"), std::string("C:\\cookies.dat"),
              kAppData + "\\Opera\\OPERA7\\profile\\cookies4.dat",
              kAppData + "\\Mozilla\\Profiles\\x\\p1.slt\\cache\\a.tmp",
              kAppData + "\\Mozilla\\Profiles\\x\\p1.slt\\cookies.txt",
              kAppData + "\\Mozilla\\Profiles\\x\\p1.slt\\history.dat",
              kProfile + "\\Local Settings\\Temp\\t.tmp",
              std::string("C:\\WINDOWS\\evil.slt\\cookies.txt")}) {
            if (!m_.Exists(trace)) m_.AddFile(trace, "trace");
        }
        m_.AddRecentDocument("report.doc");
        PopulateRegistry();
        for (int i = 0; i < 5; ++i) m_.AddUrlCacheEntry("http://site" + std::to_string(i) + "/");
        m_.AddUrlCacheEntry("Cookie:tester@site/", platform::cache_entry::kCookie);
        m_.AddHistoryItem("site0");
        m_.AddToRecycleBin("Dc1.txt");

        const std::vector<std::pair<std::string, bool>> temps = {
            {kProfile + "\\Local Settings\\Temp", true},
            {"C:\\", false},
            {"C:\\WINDOWS", false},
            {"C:\\Program Files", false},
            {kProfile, false},
            {"C:\\Documents and Settings", false}};
        // Two machines in three have a sound temp folder; the others one that must be refused.
        const auto& temp = seed_ % 3 != 0 ? temps[0] : temps[1 + seed_ % (temps.size() - 1)];
        config.temp = temp.first;
        config.temp_is_safe = temp.second;
        m_.SetTempPath(config.temp);

        config.opera =
            Pick(std::vector<std::string>{"", "C:\\Program Files\\Opera", "C:\\", "C:\\WINDOWS"});
        if (!config.opera.empty()) {
            Set(platform::Root::LocalMachine,
                "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Opera.exe", "Path",
                config.opera);
        }
        const std::string id = "{1}";
        Set(platform::Root::CurrentUser, "Identities", "Default User ID", id);
        const std::string store = Pick(std::vector<std::string>{"C:\\Mail", "C:\\WINDOWS", ""});
        if (!store.empty()) {
            const bool expand = Chance(3);
            Set(platform::Root::CurrentUser,
                "Identities\\" + id + "\\Software\\Microsoft\\Outlook Express\\5.0", "Store Root",
                store, expand ? platform::RegType::ExpandSz : platform::RegType::Sz);
            if (!expand) config.store_root = store;
        }
        const int app_data = static_cast<int>(rng_() % 3);
        if (app_data < 2) {
            Set(platform::Root::CurrentUser,
                "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "AppData",
                kAppData, app_data == 0 ? platform::RegType::Sz : platform::RegType::ExpandSz);
            if (app_data == 0) config.mozilla = kAppData + "\\Mozilla";
        }
        const std::string mozilla = kAppData + "\\Mozilla";
        std::string registry = "\x01\x02junk";
        registry += mozilla + "\\Profiles\\x\\p1.slt" + std::string(1, '\0');
        registry += mozilla + "\\..\\..\\..\\..\\WINDOWS\\evil.slt" + std::string(3, '\0');
        registry += Lower(mozilla) + "\\Profiles\\x\\p1.slt\\..\\..\\..\\..\\x.slt";
        m_.AddFile(mozilla + "\\registry.dat", registry);
        return config;
    }

  private:
    bool Chance(int one_in) { return rng_() % static_cast<unsigned>(one_in) == 0; }
    template <class T>
    const T& Pick(const std::vector<T>& from) {
        return from[rng_() % from.size()];
    }
    void Set(platform::Root root, const std::string& path, const std::string& name,
             const std::string& text, platform::RegType type = platform::RegType::Sz) {
        platform::RegKey key = 0;
        ASSERT_EQ(m_.registry().CreateKey(root, path, key), platform::kOk);
        std::vector<std::uint8_t> bytes;
        for (unsigned char c : text) {
            bytes.push_back(c);
            bytes.push_back(0);
        }
        m_.registry().SetValue(key, name, type, bytes);
        m_.registry().CloseKey(key);
    }
    void PopulateRegistry() {
        using platform::Root;
        const std::string e = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
        for (const char* letter : {"a", "b", "c", "d", "z"})
            Set(Root::CurrentUser, e + "\\RunMRU", letter, "x");
        Set(Root::CurrentUser, e + "\\RunMRU", "MRUList", Chance(2) ? "cab" : "");
        const std::string applets = "Software\\Microsoft\\Windows\\CurrentVersion\\Applets";
        for (int n : {1, 2, 3, 5, 101}) {
            Set(Root::CurrentUser, applets + "\\Paint\\Recent File List",
                "File" + std::to_string(n), "x");
            Set(Root::CurrentUser, applets + "\\Wordpad\\Recent File List",
                "File" + std::to_string(n), "x");
            Set(Root::CurrentUser, "Software\\Nico Mak Computing\\WinZip\\filemenu",
                "filemenu" + std::to_string(n), "x");
            Set(Root::CurrentUser, "Software\\Nico Mak Computing\\WinZip\\extract",
                "extract" + std::to_string(n), "x");
        }
        for (const char* key :
             {"Software\\Microsoft\\Internet Explorer\\TypedURLs",
              "Software\\Microsoft\\Internet Explorer\\IntelliForms\\SPW",
              "Software\\Microsoft\\Search Assistant\\ACMru\\5603",
              "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Doc Find Spec MRU",
              "Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList",
              "Software\\Microsoft\\MediaPlayer\\Player\\RecentURLList", "Software\\Keep\\Me"}) {
            Set(Root::CurrentUser, key, "v", "x");
        }
        Set(Root::LocalMachine, "Software\\Keep", "v", "x");
    }

    sim::Machine& m_;
    std::mt19937 rng_;
    unsigned seed_;
};

// Whether deleting `d` is within the documented places of the item with this settings value.
bool Allowed(const std::string& item, const Deletion& d, const Config& c) {
    const std::string& p = d.path;
    const bool file = d.kind == Kind::File, folder = d.kind == Kind::Folder;
    const bool value = d.kind == Kind::RegistryValue, key = d.kind == Kind::RegistryKey;
    const std::string cu = "HKCU\\Software\\";
    if (item == "ihistory") return d.kind == Kind::HistoryItem;
    if (item == "urllist") return key && Same(p, cu + "Microsoft\\Internet Explorer\\TypedURLs");
    if (item == "autocom") {
        return key && Same(p, cu + "Microsoft\\Internet Explorer\\IntelliForms\\SPW");
    }
    if (item == "cookies" || item == "iecache") {
        if (d.kind == Kind::UrlCacheEntry) return true;
        if (file && Under(p, kCache)) return true;  // an entry's own file goes with it
        if (item == "cookies") return (file || folder) && Under(p, kCookies);
        return (folder && DirectlyIn(p, kContent)) ||
               ((file || folder) && Under(Parent(p), kContent));
    }
    if (item == "outlookd") {
        return file && !c.store_root.empty() && Same(p, c.store_root + "\\Deleted Items.dbx");
    }
    auto numbered = [&](const std::string& key_path, const std::string& prefix) {
        return value && Same(p, cu + key_path) && Lower(d.value_name).rfind(Lower(prefix), 0) == 0;
    };
    if (item == "wzip1") return numbered("Nico Mak Computing\\WinZip\\filemenu", "filemenu");
    if (item == "wzip2") return numbered("Nico Mak Computing\\WinZip\\extract", "extract");
    const std::string applets = "Microsoft\\Windows\\CurrentVersion\\Applets";
    if (item == "wordpad") return numbered(applets + "\\Wordpad\\Recent File List", "File");
    if (item == "paint") return numbered(applets + "\\Paint\\Recent File List", "File");
    if (item == "media") {
        return (key && Under(p, cu + "Microsoft\\MediaPlayer\\Player")) ||
               (file && DirectlyIn(p, kAppData + "\\Microsoft\\Media Player"));
    }
    if (item == "msoffice") return file && DirectlyIn(p, kAppData + "\\Microsoft\\Office\\Recent");
    if (item == "docs") {
        return ((file || folder) && Under(p, kProfile + "\\Recent")) ||
               ((key || value) &&
                (Same(p, kExplorer + "\\RecentDocs") || Under(p, kExplorer + "\\RecentDocs")));
    }
    if (item == "rmenu") return value && Same(p, kExplorer + "\\RunMRU");
    if (item == "temp") {
        return c.temp_is_safe && (file || folder) && (Under(p, c.temp) || Same(p, c.temp));
    }
    if (item == "recycle") return (file || folder) && Under(p, "C:\\RECYCLER");
    if (item == "findfile") {
        return key && (Same(p, cu + "Microsoft\\Search Assistant\\ACMru\\5603") ||
                       Same(p, kExplorer + "\\Doc Find Spec MRU") ||
                       Lower(p).find("filesnamedmru") != std::string::npos);
    }
    const std::string opera7 = kAppData + "\\Opera\\OPERA7\\profile";
    if (item == "operach") {
        return file && ((!c.opera.empty() && DirectlyIn(p, Join(c.opera, "Cache"))) ||
                        DirectlyIn(p, opera7 + "\\cache4"));
    }
    if (item == "operacoo") {
        return file && ((!c.opera.empty() && Same(p, Join(c.opera, "cookies.dat"))) ||
                        Same(p, opera7 + "\\cookies4.dat"));
    }
    if (item == "operaType") {
        return file && (Same(p, opera7 + "\\global.dat") || Same(p, opera7 + "\\opera.dir"));
    }
    const bool in_profile = file && Under(p, c.mozilla) && !HasDotParts(p);
    if (item == "netch") return in_profile && Same(Name(Parent(p)), "cache");
    if (item == "netcoo") return in_profile && Same(Name(p), "cookies.txt");
    if (item == "nettypeurl") {
        return in_profile && (Same(Name(p), "history.dat") || Same(Name(p), "history.mab") ||
                              Same(Name(p), "localstore.rdf"));
    }
    return false;
}

const char* KindName(Kind kind) {
    switch (kind) {
        case Kind::File:
            return "file";
        case Kind::Folder:
            return "folder";
        case Kind::RegistryKey:
            return "key";
        case Kind::RegistryValue:
            return "value";
        case Kind::UrlCacheEntry:
            return "cache entry";
        case Kind::HistoryItem:
            return "history item";
    }
    return "?";
}

TEST(CleanerSafety, EachItemDeletesOnlyItsDocumentedPlacesOnRandomMachines) {
    // Items that deleted something on at least one machine: the property holds for real, not
    // because nothing was ever deleted.
    std::set<std::string> deleted_something;
    for (unsigned seed = 1; seed <= 12; ++seed) {
        for (const clean::CleaningItem& item : clean::ItemsInRunOrder()) {
            SCOPED_TRACE("seed " + std::to_string(seed) + ", item " + std::string(item.value_name));
            sim::Machine machine;
            Config config = Generator(machine, seed).Populate();
            if (HasFatalFailure()) return;
            errors::ErrorReporter reporter;
            settings::SettingsStore settings(machine.registry(), machine.process(), reporter);
            cleaners::FileTools tools(machine.files(), machine.shell(), reporter);
            sysinfo::SystemDetails details(machine.system(), settings, reporter);
            app::MainWindow window(machine.platform(), settings, reporter, tools, details);
            window.ItemBox(item).SetValue(1);
            machine.ClearDeletions();
            machine.AnswerNextBox(platform::mb::kIdOk);
            window.Command7_Click();
            ASSERT_TRUE(window.ItemsCleaned());
            if (!machine.deletions().empty())
                deleted_something.insert(std::string(item.value_name));
            for (const Deletion& d : machine.deletions()) {
                EXPECT_TRUE(Allowed(std::string(item.value_name), d, config))
                    << KindName(d.kind) << " " << d.path << " " << d.value_name;
            }
        }
    }
    // Everything but the index files, which are only scheduled for the restart.
    std::string names;
    for (const std::string& name : deleted_something) names += name + " ";
    EXPECT_EQ(deleted_something.size(), clean::kItemCount - 1) << names;
    EXPECT_FALSE(deleted_something.count("index"));
}

}  // namespace
}  // namespace qm
