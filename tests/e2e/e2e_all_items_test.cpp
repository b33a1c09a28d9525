// All 24 items ticked in the real window and cleaned on a real profile in the test prefix:
// every planted trace must be gone, and everything beside the documented places must stay.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
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

struct FileTrace {
    std::wstring path;
    bool goes;  // false: must stay
};

// The plain trace files of every item, and the files beside them that must stay.
std::vector<FileTrace> Files(const Traces& t) {
    const std::wstring media = t.f.app_data + L"\\Microsoft\\Media Player";
    return {
        {t.f.cookies + L"\\tester@example[1].txt", true},
        {t.f.cookies + L"\\tester@ünïcode[2].txt", true},
        {t.f.cookies + L"\\Low\\tester@low[1].txt", true},
        {t.content + L"\\QMTEST01\\logo[1].gif", true},
        {t.content + L"\\keep-direct.txt", false},  // files directly in Content.IE5 stay
        {t.mail + L"\\Deleted Items.dbx", true},
        {t.mail + L"\\Inbox.dbx", false},
        {t.other_mail + L"\\Deleted Items.dbx", false},  // not the default identity
        {media + L"\\list.wpl", true},
        {media + L"\\Art\\cover.jpg", false},  // subfolders stay
        {t.f.app_data + L"\\Microsoft\\Office\\Recent\\report.doc.lnk", true},
        {t.f.temp + L"\\qm-e2e-dir\\nested.tmp", true},
        {t.opera + L"\\Cache\\opr001.tmp", true},
        {t.opera + L"\\Cache\\sub\\keep.tmp", false},
        {t.opera + L"\\cookies.dat", true},
        {t.opera7 + L"\\cache4\\opr002.tmp", true},
        {t.opera7 + L"\\cookies4.dat", true},
        {t.opera7 + L"\\global.dat", true},
        {t.opera7 + L"\\opera.dir", true},
        {t.opera7 + L"\\opera6.ini", false},
        {t.profile1 + L"\\cache\\ABC123", true},
        {t.profile1 + L"\\cookies.txt", true},
        {t.profile1 + L"\\history.dat", true},
        {t.profile1 + L"\\localstore.rdf", true},
        {t.profile1 + L"\\bookmarks.html", false},
        {t.profile2 + L"\\cookies.txt", false},  // a profile without a cache folder
        {t.profile2 + L"\\history.dat", true},
        {t.outside + L"\\cookies.txt", false},  // never a documented place
        {t.outside + L"\\index.dat", false},
    };
}

struct ValueTrace {
    std::wstring key;
    std::wstring name;
    bool goes;
};

// The recent-file lists, with a gap or a stray entry in each that decides what stays.
std::vector<ValueTrace> Values() {
    const std::wstring run = kExplorer + L"\\RunMRU";
    const std::wstring wordpad = kApplets + L"\\Wordpad\\Recent File List";
    return {
        {run, L"a", true},
        {run, L"b", true},
        {run, L"c", true},
        {run, L"d", false},  // not in MRUList
        {run, L"MRUList", true},
        {wordpad, L"File1", true},
        {wordpad, L"File3", true},  // File1 exists, so the gap does not matter
        {kApplets + L"\\Paint\\Recent File List", L"File2", false},  // File1 missing
        {kWinZip + L"\\filemenu", L"filemenu1", true},
        {kWinZip + L"\\filemenu", L"filemenu2", true},
        {kWinZip + L"\\filemenu", L"filemenu4", false},  // after the gap at 3
        {kWinZip + L"\\extract", L"extract1", true},
    };
}

void Plant(const Traces& t) {
    HKEY cu = HKEY_CURRENT_USER;
    for (const FileTrace& file : Files(t)) ASSERT_TRUE(PlantFile(file.path)) << Narrow(file.path);
    for (const ValueTrace& value : Values()) {
        ASSERT_TRUE(SetText(cu, value.key, value.name, value.name == L"MRUList" ? L"cab" : L"x"));
    }
    ASSERT_TRUE(PlantFile(t.content + L"\\QMTEST01\\hidden.dat", "x",
                          FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(PlantFile(t.f.temp + L"\\qm-e2e.tmp", "x", FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(SetText(cu, kIE + L"\\TypedURLs", L"url1", L"http://example.test/"));
    ASSERT_TRUE(SetText(cu, kIE + L"\\IntelliForms\\SPW", L"entry", L"secret"));
    ASSERT_TRUE(PlantCacheEntry(L"http://example.test/page.htm"));
    ASSERT_TRUE(PlantCacheEntry(L"http://example.test/other.htm"));
    ASSERT_TRUE(SetText(cu, kIdentities, L"Default User ID", kMainId));
    ASSERT_TRUE(SetText(cu, kIdentities + L"\\" + kMainId + kOE, L"Store Root", t.mail));
    ASSERT_TRUE(SetText(cu, kIdentities + L"\\" + kOtherId + kOE, L"Store Root", t.other_mail));
    ASSERT_TRUE(SetText(cu, L"Software\\Microsoft\\Search Assistant\\ACMru\\5603", L"000", L"x"));
    ASSERT_TRUE(SetText(cu, kExplorer + L"\\Doc Find Spec MRU", L"a", L"x"));
    ASSERT_TRUE(SetText(cu, L"Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList", L"File0",
                        L"C:\\song.mp3"));
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
    for (const FileTrace& file : Files(t)) {
        EXPECT_EQ(FileExists(file.path), !file.goes) << Narrow(file.path);
    }
    for (const ValueTrace& value : Values()) {
        EXPECT_EQ(ValueExists(cu, value.key, value.name), !value.goes)
            << Narrow(value.key) << " " << Narrow(value.name);
    }
    auto days = ReadValue(cu,
                          L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet "
                          L"Settings\\Url History",
                          L"DaysToKeep");
    ASSERT_TRUE(days);
    EXPECT_EQ(days->type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(days->bytes, (std::vector<std::uint8_t>{0, 0, 0, 0}));
    EXPECT_FALSE(KeyExists(cu, kIE + L"\\TypedURLs"));
    EXPECT_FALSE(KeyExists(cu, kIE + L"\\IntelliForms\\SPW"));
    EXPECT_EQ(ReadValue(cu, kIE + L"\\Main", L"Use FormSuggest")->text(), L"no");
    EXPECT_EQ(
        ReadValue(cu, L"Software\\Microsoft\\Explorer\\AutoComplete", L"Use AutoComplete")->text(),
        L"no");
    EXPECT_FALSE(FolderExists(t.f.cookies + L"\\Low"));
    EXPECT_FALSE(CacheHasEntry(L"http://example.test/page.htm"));
    EXPECT_FALSE(CacheHasEntry(L"http://example.test/other.htm"));
    EXPECT_FALSE(FolderExists(t.content + L"\\QMTEST01"));
    const std::wstring pending =
        ReadValue(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\Session Manager",
                  L"PendingFileRenameOperations")
            .value_or(RawValue{})
            .text();
    EXPECT_NE(pending.find(L"History.IE5\\index.dat"), std::wstring::npos) << Narrow(pending);
    EXPECT_NE(pending.find(L"Content.IE5\\index.dat"), std::wstring::npos) << Narrow(pending);
    EXPECT_FALSE(KeyExists(cu, L"Software\\Microsoft\\Search Assistant\\ACMru\\5603"));
    EXPECT_TRUE(KeyExists(cu, kExplorer + L"\\Doc Find Spec MRU"));  // the prefix is XP
    EXPECT_FALSE(KeyExists(cu, L"Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList"));
    EXPECT_FALSE(FileExists(t.f.temp + L"\\qm-e2e.tmp"));
    EXPECT_FALSE(FolderExists(t.f.temp + L"\\qm-e2e-dir"));
    EXPECT_TRUE(FolderExists(t.f.temp)) << "the temporary folder itself stays, empty";
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
    HWND items = FindControlById(main, gui::kTabStrip2);
    HWND list = FindControlById(main, gui::kList1);
    SelectTab(tabs, 1);
    for (int tab = 0; tab < static_cast<int>(kBoxesByTab.size()); ++tab) {
        SelectTab(items, tab);
        for (const std::wstring& caption : kBoxesByTab[tab]) {
            HWND box = FindControl(main, L"Button", caption);
            ASSERT_TRUE(box) << Narrow(caption);
            ASSERT_TRUE(WaitUntil([&] { return IsShown(box); }, 5s)) << Narrow(caption);
            ASSERT_TRUE(Click(box));
            ASSERT_TRUE(WaitUntil([&] { return IsChecked(box); }, 5s)) << Narrow(caption);
        }
    }
    ASSERT_TRUE(Click(FindControl(main, L"Button", L"Clean All Selected Items")));
    auto box = WaitForMessageBox(app.pid(), 10s);
    ASSERT_TRUE(box);
    AnswerMessageBox(*box, IDOK);
    ASSERT_TRUE(WaitUntil(
        [&] {
            auto lines = ListLines(list);
            return !lines.empty() && lines.back() == L"All selected items has been cleaned.";
        },
        180s));
    EXPECT_EQ(ListLines(list).size(), 4u + 24 * 3 + 2);
    ExpectCleaned(traces);
}

}  // namespace
}  // namespace qm::e2e
