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
    std::wstring profile1 = mozilla + L"\\Profiles\\default\\ab12cd34.slt";
    std::wstring profile2 = mozilla + L"\\Profiles\\Ünïcode\\ef56gh78.slt";
    std::wstring opera = L"C:\\Program Files\\Opera";
    std::wstring opera7 = f.app_data + L"\\Opera\\OPERA7\\profile";
    std::wstring mail = L"C:\\Mail\\Main";
    std::wstring other_mail = L"C:\\Mail\\Other";
    std::wstring outside = L"C:\\Keep";  // never a documented place
};

void Plant(const Traces& t) {
    HKEY cu = HKEY_CURRENT_USER;
    // Internet Explorer
    ASSERT_TRUE(SetText(cu, kIE + L"\\TypedURLs", L"url1", L"http://example.test/"));
    ASSERT_TRUE(SetText(cu, kIE + L"\\IntelliForms\\SPW", L"entry", L"secret"));
    ASSERT_TRUE(PlantFile(t.f.cookies + L"\\tester@example[1].txt"));
    ASSERT_TRUE(PlantFile(t.f.cookies + L"\\tester@ünïcode[2].txt"));
    ASSERT_TRUE(PlantFile(t.f.cookies + L"\\Low\\tester@low[1].txt"));
    ASSERT_TRUE(PlantCacheEntry(L"http://example.test/page.htm"));
    ASSERT_TRUE(PlantCacheEntry(L"http://example.test/other.htm"));
    ASSERT_TRUE(PlantFile(t.content + L"\\QMTEST01\\logo[1].gif"));
    ASSERT_TRUE(PlantFile(t.content + L"\\QMTEST01\\hidden.dat", "x",
                          FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(PlantFile(t.content + L"\\keep-direct.txt"));
    // Outlook Express: the default identity loses its deleted mail, nothing else.
    ASSERT_TRUE(SetText(cu, kIdentities, L"Default User ID", kMainId));
    ASSERT_TRUE(SetText(cu, kIdentities + L"\\" + kMainId + kOE, L"Store Root", t.mail));
    ASSERT_TRUE(SetText(cu, kIdentities + L"\\" + kOtherId + kOE, L"Store Root", t.other_mail));
    ASSERT_TRUE(PlantFile(t.mail + L"\\Deleted Items.dbx"));
    ASSERT_TRUE(PlantFile(t.mail + L"\\Inbox.dbx"));
    ASSERT_TRUE(PlantFile(t.other_mail + L"\\Deleted Items.dbx"));
    // Recent-file lists
    for (const wchar_t* name : {L"a", L"b", L"c", L"d"}) {
        ASSERT_TRUE(SetText(cu, kExplorer + L"\\RunMRU", name, L"notepad\\1"));
    }
    ASSERT_TRUE(SetText(cu, kExplorer + L"\\RunMRU", L"MRUList", L"cab"));
    ASSERT_TRUE(SetText(cu, L"Software\\Microsoft\\Search Assistant\\ACMru\\5603", L"000", L"x"));
    ASSERT_TRUE(SetText(cu, kExplorer + L"\\Doc Find Spec MRU", L"a", L"x"));
    ASSERT_TRUE(SetText(cu, kApplets + L"\\Wordpad\\Recent File List", L"File1", L"C:\\a.rtf"));
    ASSERT_TRUE(SetText(cu, kApplets + L"\\Wordpad\\Recent File List", L"File3", L"C:\\c.rtf"));
    ASSERT_TRUE(SetText(cu, kApplets + L"\\Paint\\Recent File List", L"File2", L"C:\\b.bmp"));
    for (const wchar_t* name : {L"filemenu1", L"filemenu2", L"filemenu4"}) {
        ASSERT_TRUE(SetText(cu, kWinZip + L"\\filemenu", name, L"C:\\z.zip"));
    }
    ASSERT_TRUE(SetText(cu, kWinZip + L"\\extract", L"extract1", L"C:\\out"));
    ASSERT_TRUE(SetText(cu, L"Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList", L"File0",
                        L"C:\\song.mp3"));
    ASSERT_TRUE(PlantFile(t.f.app_data + L"\\Microsoft\\Media Player\\list.wpl"));
    ASSERT_TRUE(PlantFile(t.f.app_data + L"\\Microsoft\\Media Player\\Art\\cover.jpg"));
    ASSERT_TRUE(PlantFile(t.f.app_data + L"\\Microsoft\\Office\\Recent\\report.doc.lnk"));
    // Temporary folder and Recycle Bin
    ASSERT_TRUE(PlantFile(t.f.temp + L"\\qm-e2e.tmp", "x", FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(PlantFile(t.f.temp + L"\\qm-e2e-dir\\nested.tmp"));
    ASSERT_TRUE(PlantFile(t.outside + L"\\to-recycle.txt"));
    ASSERT_TRUE(RecycleFile(t.outside + L"\\to-recycle.txt"));
    // Opera: program folder and the OPERA7 profile
    ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE,
                        L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Opera.exe",
                        L"Path", t.opera));
    ASSERT_TRUE(PlantFile(t.opera + L"\\Cache\\opr001.tmp"));
    ASSERT_TRUE(PlantFile(t.opera + L"\\Cache\\sub\\keep.tmp"));
    ASSERT_TRUE(PlantFile(t.opera + L"\\cookies.dat"));
    ASSERT_TRUE(PlantFile(t.opera7 + L"\\cache4\\opr002.tmp"));
    ASSERT_TRUE(PlantFile(t.opera7 + L"\\cookies4.dat"));
    ASSERT_TRUE(PlantFile(t.opera7 + L"\\global.dat"));
    ASSERT_TRUE(PlantFile(t.opera7 + L"\\opera.dir"));
    ASSERT_TRUE(PlantFile(t.opera7 + L"\\opera6.ini"));
    // Netscape: two profiles named in registry.dat; the second has no cache folder.
    using namespace std::string_literals;
    const std::string registry =
        "\x01junk\x00"s + Narrow(t.profile1) + "\x00more"s + Narrow(t.profile2) + "\x00"s;
    ASSERT_TRUE(PlantFile(t.mozilla + L"\\registry.dat", registry));
    ASSERT_TRUE(PlantFile(t.profile1 + L"\\cache\\ABC123"));
    ASSERT_TRUE(PlantFile(t.profile1 + L"\\cookies.txt"));
    ASSERT_TRUE(PlantFile(t.profile1 + L"\\history.dat"));
    ASSERT_TRUE(PlantFile(t.profile1 + L"\\localstore.rdf"));
    ASSERT_TRUE(PlantFile(t.profile1 + L"\\bookmarks.html"));
    ASSERT_TRUE(PlantFile(t.profile2 + L"\\cookies.txt"));
    ASSERT_TRUE(PlantFile(t.profile2 + L"\\history.dat"));
    // Never a documented place
    ASSERT_TRUE(PlantFile(t.outside + L"\\cookies.txt"));
    ASSERT_TRUE(PlantFile(t.outside + L"\\index.dat"));
}

void ExpectCleaned(const Traces& t) {
    HKEY cu = HKEY_CURRENT_USER;
    // Internet Explorer
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
    EXPECT_FALSE(FileExists(t.f.cookies + L"\\tester@example[1].txt"));
    EXPECT_FALSE(FileExists(t.f.cookies + L"\\tester@ünïcode[2].txt"));
    EXPECT_FALSE(FolderExists(t.f.cookies + L"\\Low"));
    EXPECT_FALSE(CacheHasEntry(L"http://example.test/page.htm"));
    EXPECT_FALSE(CacheHasEntry(L"http://example.test/other.htm"));
    EXPECT_FALSE(FolderExists(t.content + L"\\QMTEST01"));
    EXPECT_TRUE(FileExists(t.content + L"\\keep-direct.txt"));
    std::wstring pending =
        MultiText(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\Session Manager",
                  L"PendingFileRenameOperations");
    EXPECT_NE(pending.find(L"History.IE5\\index.dat"), std::wstring::npos) << Narrow(pending);
    EXPECT_NE(pending.find(L"Content.IE5\\index.dat"), std::wstring::npos) << Narrow(pending);
    // Outlook Express
    EXPECT_FALSE(FileExists(t.mail + L"\\Deleted Items.dbx"));
    EXPECT_TRUE(FileExists(t.mail + L"\\Inbox.dbx"));
    EXPECT_TRUE(FileExists(t.other_mail + L"\\Deleted Items.dbx"));
    // Recent-file lists
    for (const wchar_t* name : {L"a", L"b", L"c", L"MRUList"}) {
        EXPECT_FALSE(ValueExists(cu, kExplorer + L"\\RunMRU", name)) << Narrow(name);
    }
    EXPECT_TRUE(ValueExists(cu, kExplorer + L"\\RunMRU", L"d"));
    EXPECT_FALSE(KeyExists(cu, L"Software\\Microsoft\\Search Assistant\\ACMru\\5603"));
    EXPECT_TRUE(KeyExists(cu, kExplorer + L"\\Doc Find Spec MRU"));  // the prefix is XP
    EXPECT_FALSE(ValueExists(cu, kApplets + L"\\Wordpad\\Recent File List", L"File1"));
    EXPECT_FALSE(ValueExists(cu, kApplets + L"\\Wordpad\\Recent File List", L"File3"));
    EXPECT_TRUE(ValueExists(cu, kApplets + L"\\Paint\\Recent File List", L"File2"));
    EXPECT_FALSE(ValueExists(cu, kWinZip + L"\\filemenu", L"filemenu1"));
    EXPECT_FALSE(ValueExists(cu, kWinZip + L"\\filemenu", L"filemenu2"));
    EXPECT_TRUE(ValueExists(cu, kWinZip + L"\\filemenu", L"filemenu4"));
    EXPECT_FALSE(ValueExists(cu, kWinZip + L"\\extract", L"extract1"));
    EXPECT_FALSE(KeyExists(cu, L"Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList"));
    EXPECT_FALSE(FileExists(t.f.app_data + L"\\Microsoft\\Media Player\\list.wpl"));
    EXPECT_TRUE(FileExists(t.f.app_data + L"\\Microsoft\\Media Player\\Art\\cover.jpg"));
    EXPECT_FALSE(FileExists(t.f.app_data + L"\\Microsoft\\Office\\Recent\\report.doc.lnk"));
    // Temporary folder and Recycle Bin
    EXPECT_FALSE(FileExists(t.f.temp + L"\\qm-e2e.tmp"));
    EXPECT_FALSE(FolderExists(t.f.temp + L"\\qm-e2e-dir"));
    EXPECT_TRUE(FolderExists(t.f.temp)) << "the temporary folder itself stays, empty";
    EXPECT_EQ(RecycleBinItems(), 0);
    // Opera
    EXPECT_FALSE(FileExists(t.opera + L"\\Cache\\opr001.tmp"));
    EXPECT_TRUE(FileExists(t.opera + L"\\Cache\\sub\\keep.tmp"));
    EXPECT_FALSE(FileExists(t.opera + L"\\cookies.dat"));
    EXPECT_FALSE(FileExists(t.opera7 + L"\\cache4\\opr002.tmp"));
    for (const wchar_t* name : {L"\\cookies4.dat", L"\\global.dat", L"\\opera.dir"}) {
        EXPECT_FALSE(FileExists(t.opera7 + name)) << Narrow(name);
    }
    EXPECT_TRUE(FileExists(t.opera7 + L"\\opera6.ini"));
    // Netscape
    EXPECT_FALSE(FileExists(t.profile1 + L"\\cache\\ABC123"));
    EXPECT_FALSE(FileExists(t.profile1 + L"\\cookies.txt"));
    EXPECT_FALSE(FileExists(t.profile1 + L"\\history.dat"));
    EXPECT_FALSE(FileExists(t.profile1 + L"\\localstore.rdf"));
    EXPECT_TRUE(FileExists(t.profile1 + L"\\bookmarks.html"));
    EXPECT_TRUE(FileExists(t.profile2 + L"\\cookies.txt"));  // no cache folder
    EXPECT_FALSE(FileExists(t.profile2 + L"\\history.dat"));
    EXPECT_TRUE(FileExists(t.mozilla + L"\\registry.dat"));
    // Never a documented place
    EXPECT_TRUE(FileExists(t.outside + L"\\cookies.txt"));
    EXPECT_TRUE(FileExists(t.outside + L"\\index.dat"));
}

TEST(AllItemsE2E, EveryTraceGoesAndEverythingElseStays) {
    const char* exe = std::getenv("QM_E2E_EXE");
    ASSERT_TRUE(exe);
    Traces traces;
    ASSERT_FALSE(traces.f.app_data.empty());
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
