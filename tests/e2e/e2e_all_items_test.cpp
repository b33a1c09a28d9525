// All 24 items ticked in the real window and cleaned on a real profile in the test prefix:
// every planted trace must be gone, and everything beside the documented places must stay.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "../../src/gui/control_ids.h"
#include "profile_traces.h"
#include "registry_probe.h"
#include "window_driver.h"

namespace qm::e2e {
namespace {

using namespace std::chrono_literals;

// The item tabs and the captions of their boxes.
const std::vector<std::vector<std::wstring>> kBoxesByTab = {
    {L"Disable AutoComplete", L"IE History", L"Internet Typed Web Address",
     L"Temporary Internet Files", L"Cookies", L"Index.dat ( requires reboot )",
     L"Outlook deleted items"},
    {L"Recent Documents List", L"Recent Items From Run Menu", L"Temporary Folder", L"Recycle Bin",
     L"Find Files History"},
    {L"WinZip File Menu", L"WinZip Extract To Menu", L"Word Pad Recent File Menu",
     L"Paint Brush Recent File Menu", L"Media Player Recent File Menu", L"MS Office history list."},
    {L"Opera Cache", L"Opera Cookies", L"Opera Typed URL"},
    {L"Netscape Cache", L"Netscape Cookies", L"Netscape Type URL"},
};

const std::wstring kExplorer = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
const std::wstring kIE = L"Software\\Microsoft\\Internet Explorer";
const std::wstring kApplets = L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets";
const std::wstring kWinZip = L"Software\\Nico Mak Computing\\WinZip";
const std::wstring kIdentities = L"Identities";
const std::wstring kMainId = L"{11111111-2222-3333-4444-555555555555}";
const std::wstring kOtherId = L"{99999999-8888-7777-6666-555555555555}";
const std::wstring kOE = L"\\Software\\Microsoft\\Outlook Express\\5.0";

struct Traces {
    ProfileFolders f = ProfileFolders::Current();
    std::wstring content = f.internet_cache + L"\\Content.IE5";
    std::wstring mozilla = f.app_data + L"\\Mozilla";
    std::wstring profile1 = mozilla + L"\\Profiles\\défaut\\ab12cd34.slt";
    std::wstring profile2 = mozilla + L"\\Profiles\\Ünïcode\\ef56gh78.slt";
    std::wstring opera = L"C:\\Program Files\\Opera";
    std::wstring opera7 = f.app_data + L"\\Opera\\OPERA7\\profile";
    std::wstring mail = L"C:\\Mail\\Main";
    std::wstring other_mail = L"C:\\Mail\\Other";
    std::wstring outside = L"C:\\Keep";  // never a documented place
};

// Trace names under a folder or key: those that go, and those beside them that must stay.
struct Planted {
    std::wstring where;
    std::vector<std::wstring> going, staying;
};

template <typename Check>
void ForEach(const std::vector<Planted>& all, Check check) {
    for (const Planted& planted : all) {
        for (const std::wstring& name : planted.going) check(planted.where, name, true);
        for (const std::wstring& name : planted.staying) check(planted.where, name, false);
    }
}

// The plain trace files of every item.
std::vector<Planted> Files(const Traces& t) {
    const std::wstring ms = t.f.app_data + L"\\Microsoft";
    return {
        {t.f.cookies, {L"tester@example[1].txt", L"tester@ünïcode[2].txt", L"Low\\x[1].txt"}, {}},
        {t.content,
         {L"QMTEST01\\logo[1].gif"},
         {L"keep-direct.txt"}},  // files directly inside stay
        {t.mail, {L"Deleted Items.dbx"}, {L"Inbox.dbx"}},
        {t.other_mail, {}, {L"Deleted Items.dbx"}},                    // not the default identity
        {ms + L"\\Media Player", {L"list.wpl"}, {L"Art\\cover.jpg"}},  // subfolders stay
        {ms + L"\\Office\\Recent", {L"report.doc.lnk"}, {}},
        {t.f.temp, {L"qm-e2e-dir\\nested.tmp"}, {}},
        {t.opera, {L"Cache\\opr001.tmp", L"cookies.dat"}, {L"Cache\\sub\\keep.tmp"}},
        {t.opera7, {L"cache4\\1.tmp", L"cookies4.dat", L"global.dat", L"opera.dir"}, {L"op.ini"}},
        {t.profile1,
         {L"cache\\ABC123", L"cookies.txt", L"history.dat", L"localstore.rdf"},
         {L"bookmarks.html"}},
        {t.profile2, {L"history.dat"}, {L"cookies.txt"}},  // a profile without a cache folder
        {t.outside, {}, {L"cookies.txt", L"index.dat"}},   // never a documented place
    };
}

// The recent-file lists, with a gap or a stray entry in each that decides what stays: d is
// not in MRUList, Wordpad has File1 (so its gap does not matter), Paint has none, and
// WinZip's menu has a gap at 3.
const std::vector<Planted> kValues = {
    {kExplorer + L"\\RunMRU", {L"a", L"b", L"c", L"MRUList"}, {L"d"}},
    {kApplets + L"\\Wordpad\\Recent File List", {L"File1", L"File3"}, {}},
    {kApplets + L"\\Paint\\Recent File List", {}, {L"File2"}},
    {kWinZip + L"\\filemenu", {L"filemenu1", L"filemenu2"}, {L"filemenu4"}},
    {kWinZip + L"\\extract", {L"extract1"}, {}},
};

// Lists some items remove as a whole; the find history stays under XP, as the prefix is.
const std::tuple<std::wstring, const wchar_t*, bool> kKeys[] = {
    {kIE + L"\\TypedURLs", L"url1", false},
    {kIE + L"\\IntelliForms\\SPW", L"entry", false},
    {L"Software\\Microsoft\\Search Assistant\\ACMru\\5603", L"000", false},
    {L"Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList", L"File0", false},
    {kExplorer + L"\\Doc Find Spec MRU", L"a", true},
};

void Plant(const Traces& t) {
    HKEY cu = HKEY_CURRENT_USER;
    ForEach(Files(t), [](const std::wstring& folder, const std::wstring& name, bool) {
        ASSERT_TRUE(PlantFile(folder + L"\\" + name)) << Narrow(folder + L"\\" + name);
    });
    ForEach(kValues, [&](const std::wstring& key, const std::wstring& name, bool) {
        ASSERT_TRUE(SetText(cu, key, name, name == L"MRUList" ? L"cab" : L"x"));
    });
    for (const auto& [key, name, stays] : kKeys) ASSERT_TRUE(SetText(cu, key, name, L"x"));
    ASSERT_TRUE(PlantFile(t.content + L"\\QMTEST01\\hidden.dat", "x",
                          FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(PlantFile(t.f.temp + L"\\qm-e2e.tmp", "x", FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(PlantCacheEntry(L"http://example.test/page.htm"));
    ASSERT_TRUE(PlantCacheEntry(L"http://example.test/other.htm"));
    ASSERT_TRUE(SetText(cu, kIdentities, L"Default User ID", kMainId));
    ASSERT_TRUE(SetText(cu, kIdentities + L"\\" + kMainId + kOE, L"Store Root", t.mail));
    ASSERT_TRUE(SetText(cu, kIdentities + L"\\" + kOtherId + kOE, L"Store Root", t.other_mail));
    ASSERT_TRUE(PlantFile(t.outside + L"\\to-recycle.txt"));
    ASSERT_TRUE(RecycleFile(t.outside + L"\\to-recycle.txt"));
    ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE,
                        L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Opera.exe",
                        L"Path", t.opera));
    // Netscape: two profiles named in registry.dat, in the ANSI code page, among binary junk.
    using namespace std::string_literals;
    const std::string registry =
        "\x01junk\x00"s + Ansi(t.profile1) + "\x00more"s + Ansi(t.profile2) + "\x00"s;
    ASSERT_TRUE(PlantFile(t.mozilla + L"\\registry.dat", registry));
}

void ExpectCleaned(const Traces& t) {
    HKEY cu = HKEY_CURRENT_USER;
    ForEach(Files(t), [](const std::wstring& folder, const std::wstring& name, bool goes) {
        EXPECT_EQ(FileExists(folder + L"\\" + name), !goes) << Narrow(folder + L"\\" + name);
    });
    ForEach(kValues, [&](const std::wstring& key, const std::wstring& name, bool goes) {
        EXPECT_EQ(ValueExists(cu, key, name), !goes) << Narrow(key + L" " + name);
    });
    for (const auto& [key, name, stays] : kKeys)
        EXPECT_EQ(KeyExists(cu, key), stays) << Narrow(key);
    // Written by exact key, name, type and bytes.
    const std::vector<std::uint8_t> no = {'n', 0, 'o', 0}, zero(4);
    const std::tuple<std::wstring, const wchar_t*, DWORD, std::vector<std::uint8_t>> written[] = {
        {L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Url History",
         L"DaysToKeep", REG_DWORD, zero},
        {kIE + L"\\Main", L"Use FormSuggest", REG_SZ, no},
        {L"Software\\Microsoft\\Explorer\\AutoComplete", L"Use AutoComplete", REG_SZ, no}};
    for (const auto& [key, name, type, bytes] : written) {
        const auto value = ReadValue(cu, key, name);
        EXPECT_TRUE(value && value->type == type && value->bytes == bytes) << Narrow(name);
    }
    for (const std::wstring& folder :
         {t.f.cookies + L"\\Low", t.content + L"\\QMTEST01", t.f.temp + L"\\qm-e2e-dir"})
        EXPECT_FALSE(FolderExists(folder)) << Narrow(folder);
    EXPECT_TRUE(FolderExists(t.f.temp)) << "the temporary folder itself stays, empty";
    EXPECT_FALSE(FileExists(t.f.temp + L"\\qm-e2e.tmp"));
    EXPECT_FALSE(CacheHasEntry(L"http://example.test/page.htm"));
    EXPECT_FALSE(CacheHasEntry(L"http://example.test/other.htm"));
    EXPECT_EQ(RecycleBinItems(), 0);
    EXPECT_TRUE(FileExists(t.mozilla + L"\\registry.dat"));
}

// For one test the user's Application Data is where a user "José" has his.
struct JoseAppData {
    const std::wstring key = kExplorer + L"\\User Shell Folders";
    const std::wstring moved = L"C:\\users\\José\\AppData\\Roaming";
    const std::optional<RawValue> saved = ReadValue(HKEY_CURRENT_USER, key, L"AppData");
    JoseAppData() { PlantFolder(moved) && SetText(HKEY_CURRENT_USER, key, L"AppData", moved); }
    ~JoseAppData() {
        if (saved) SetText(HKEY_CURRENT_USER, key, L"AppData", saved->text().c_str(), saved->type);
        ProfileFolders::Current();  // Wine rewrites "Shell Folders" from it on each look-up
    }
};

TEST(AllItemsE2E, EveryTraceGoesAndEverythingElseStays) {
    const char* exe = std::getenv("QM_E2E_EXE");
    ASSERT_TRUE(exe);
    JoseAppData jose;
    Traces traces;
    ASSERT_NE(traces.f.app_data.find(L"José"), std::wstring::npos);
    ASSERT_FALSE(traces.f.internet_cache.empty());
    Plant(traces);
    if (HasFatalFailure()) return;

    AppProcess app(Widen(exe), L"Quillmoss v2.80");
    HWND main = app.window();
    HWND tabs = FindControlById(main, gui::kTabStrip1);
    SelectTab(tabs, 1);  // a panel's controls are made when it first shows
    HWND items = FindControlById(main, gui::kTabStrip2);
    for (int tab = 0; tab < static_cast<int>(kBoxesByTab.size()); ++tab) {
        SelectTab(items, tab);
        for (const std::wstring& caption : kBoxesByTab[tab]) {
            HWND box = FindControl(main, L"Button", caption);
            ASSERT_TRUE(WaitUntil([&] { return IsShown(box); }, 5s) && Click(box))
                << Narrow(caption);
            ASSERT_TRUE(WaitUntil([&] { return IsChecked(box); }, 5s)) << Narrow(caption);
        }
    }
    const auto lines = CleanSelected(main, app.pid(), 180s);
    ASSERT_TRUE(lines);
    EXPECT_EQ(lines->size(), 4u + 24 * 3 + 2);
    ExpectCleaned(traces);
}

// A site the user keeps keeps its cookies in the older stores too: its lines of cookies.txt
// (rewritten whole), its Internet Explorer file, and Opera's cookie file, which cannot be
// rewritten soundly and so stays whole while the item says so.
TEST(AllItemsE2E, KeptSitesKeepTheirCookiesInTheOlderStores) {
    ASSERT_TRUE(std::getenv("QM_E2E_EXE"));
    const Traces t;
    using namespace std::string_literals;
    ASSERT_TRUE(
        PlantFile(t.mozilla + L"\\registry.dat", "\x01junk\x00"s + Ansi(t.profile1) + "\x00"s));
    ASSERT_TRUE(PlantFile(t.f.cookies + L"\\tester@example[1].txt", "go"));
    ASSERT_TRUE(PlantFolder(t.profile1 + L"\\cache"));  // the sign of a profile in use
    const std::string kept = ".qmkeep.test\tTRUE\t/\tFALSE\t2000000000\tid\tkeep\n";
    const std::string gone = ".badqmkeep.test\tTRUE\t/\tFALSE\t2000000000\tid\tgo\n";
    ASSERT_TRUE(
        PlantFile(t.profile1 + L"\\cookies.txt", "# Netscape HTTP Cookie File\n" + kept + gone));
    ASSERT_TRUE(PlantFile(t.opera7 + L"\\cookies4.dat", "\x01\x02qmkeep\x03test\x04"));
    ASSERT_TRUE(PlantFile(t.f.cookies + L"\\tester@qmkeep.test[1].txt", "keep"));
    const wchar_t settings[] = L"Software\\Microsoft\\Qmoss";
    ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, settings, L"cookiekeep", L"QMKEEP.test"));
    const std::wstring log = t.f.app_data + L"\\qm-kept-sites.log";
    const int code = RunQuillmoss(L"/clean cookies operacoo netcoo /log \"" + log + L"\"");
    SetText(HKEY_LOCAL_MACHINE, settings, L"cookiekeep", L"");
    EXPECT_EQ(code, 1);  // Opera's file keeps other sites' cookies too: not all went
    EXPECT_EQ(ReadWholeFile(t.profile1 + L"\\cookies.txt"), "# Netscape HTTP Cookie File\n" + kept);
    EXPECT_TRUE(FileExists(t.opera7 + L"\\cookies4.dat"));
    EXPECT_TRUE(FileExists(t.f.cookies + L"\\tester@qmkeep.test[1].txt"));
    EXPECT_FALSE(FileExists(t.f.cookies + L"\\tester@example[1].txt"));
    EXPECT_NE(ReadWholeFile(log).find("Opera cookies kept whole"), std::string::npos)
        << ReadWholeFile(log);
}

}  // namespace
}  // namespace qm::e2e
