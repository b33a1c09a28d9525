// Today's browsers on a Windows 10 prefix: the real Chromium and Firefox profiles of
// tests/fixtures/browsers placed where Windows keeps them, previewed, and cleaned through
// /clean and through the window. Afterwards no file an item owns holds a trace, every other file is
// byte for byte as it was, the edited databases are whole with their bookmarks, and a database held
// open without sharing is skipped, reported and left as it was.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstdlib>
#include <map>
#include <sstream>

#include "../../src/gui/control_ids.h"
#include "database/connection.h"
#include "platform/win32/win32_file_system.h"
#include "profile_traces.h"
#include "window_driver.h"

namespace qm::e2e {
namespace {

using namespace std::chrono_literals;
using Files = std::map<std::wstring, std::string>;  // path -> bytes

std::wstring Folder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, csidl, nullptr, 0, path);
    return path;
}

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName, path = folder + L"\\" + name;
            if (name == L"." || name == L"..") continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(find, &found));
        FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
}

// Every file below `from`, by its path below `to`.
void Collect(const std::wstring& from, const std::wstring& to, Files& files) {
    WIN32_FIND_DATAW found{};
    HANDLE find = FindFirstFileW((from + L"\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            Collect(from + L"\\" + name, to + L"\\" + name, files);
        else
            files[to + L"\\" + name] = ReadWholeFile(from + L"\\" + name);
    } while (FindNextFileW(find, &found));
    FindClose(find);
}

// The fixtures, placed anew where the browsers keep their profiles; what was placed.
Files PlaceFixtures() {
    const std::wstring fixtures = Widen(std::getenv("QM_E2E_FIXTURES"));
    const std::wstring local = Folder(CSIDL_LOCAL_APPDATA), roaming = Folder(CSIDL_APPDATA);
    const std::pair<std::wstring, std::wstring> parts[] = {
        {fixtures + L"\\chromium", local + L"\\Chromium"},
        {fixtures + L"\\firefox\\roaming", roaming + L"\\Mozilla\\Firefox"},
        {fixtures + L"\\firefox\\local", local + L"\\Mozilla\\Firefox"}};
    Files placed;
    for (const auto& [from, to] : parts) {
        RemoveTree(to);
        Collect(from, to, placed);
    }
    for (const auto& [path, bytes] : placed) EXPECT_TRUE(PlantFile(path, bytes)) << Narrow(path);
    return placed;
}

bool Owned(const std::wstring& path) {
    for (const wchar_t* part :
         {L"\\History", L"\\Favicons", L"\\Top Sites", L"\\Shortcuts", L"\\Network Action",
          L"\\DIPS", L"\\Cache\\", L"\\Code Cache\\", L"\\GPUCache\\", L"\\Cookies", L"\\Sessions",
          L"\\Web Data", L"places.sqlite", L"favicons.sqlite", L"cookies.sqlite",
          L"formhistory.sqlite", L"sessionstore", L"\\cache2\\"}) {
        if (path.find(part) != std::wstring::npos) return true;
    }
    return false;
}

std::vector<std::string> Traces() {
    std::istringstream markers(
        ReadWholeFile(Widen(std::getenv("QM_E2E_FIXTURES")) + L"\\markers.txt"));
    std::vector<std::string> traces;
    for (std::string kind, marker; markers >> kind && std::getline(markers >> std::ws, marker);) {
        if (kind == "visited" || kind == "cookie" || kind == "keptcookie" || kind == "form")
            traces.push_back(marker);
    }
    return traces;
}

void ExpectCleaned(const Files& before, const std::wstring& only) {
    const std::vector<std::string> traces = Traces();
    ASSERT_GE(traces.size(), 10u);
    for (const auto& [path, bytes] : before) {
        if (path.find(only) == std::wstring::npos) continue;
        const std::string now = FileExists(path) ? ReadWholeFile(path) : "";
        if (!Owned(path)) {
            EXPECT_TRUE(now == bytes) << Narrow(path);
            continue;
        }
        for (const std::string& trace : traces)
            EXPECT_EQ(now.find(trace), std::string::npos) << trace << " in " << Narrow(path);
    }
}

// The database is whole and answers `sql` with `expected`.
void ExpectDatabase(const std::wstring& path, const char* sql, std::int64_t expected) {
    win32::Win32FileSystem files;
    database::PlatformVfs vfs(files);
    database::Connection db;
    ASSERT_EQ(db.Open(vfs, Narrow(path)), database::Opened::Ok) << Narrow(path) << db.error();
    EXPECT_EQ(db.Text("PRAGMA integrity_check"), "ok") << Narrow(path);
    EXPECT_EQ(db.Integer(sql), expected) << sql;
}

const wchar_t kChromiumItems[] = L"chromehist chromecache chromecoo chromesess chromeform";
const wchar_t kFirefoxItems[] = L"ffhist ffcache ffcoo ffsess ffform";

TEST(BrowsersE2E, EveryItemByCommandLineAndWindowLeavesNoTraceAndTouchesNothingElse) {
    ASSERT_TRUE(std::getenv("QM_E2E_EXE") && std::getenv("QM_E2E_FIXTURES"));
    const std::wstring local = Folder(CSIDL_LOCAL_APPDATA), roaming = Folder(CSIDL_APPDATA);
    const std::wstring chromium = local + L"\\Chromium\\User Data\\";
    const std::wstring firefox = roaming + L"\\Mozilla\\Firefox\\Profiles\\qoxma0fs.qmprofile\\";

    Files before = PlaceFixtures();
    EXPECT_EQ(RunQuillmoss(std::wstring(L"/clean ") + kChromiumItems + L" " + kFirefoxItems), 0);
    ExpectCleaned(before, L"");
    for (const wchar_t* profile : {L"Default", L"Profile 1"}) {
        ExpectDatabase(chromium + profile + L"\\Favicons",
                       "SELECT count(*) FROM icon_mapping WHERE page_url LIKE '%bookmarked%'", 1);
        ExpectDatabase(chromium + profile + L"\\Web Data", "SELECT count(*) > 0 FROM keywords", 1);
    }
    ExpectDatabase(firefox + L"places.sqlite",
                   "SELECT count(*) FROM moz_bookmarks b JOIN moz_places p ON p.id = b.fk "
                   "WHERE p.url LIKE '%qm-bookmarked-page%'",
                   1);

    // The preview names the rows each table would lose, and changes nothing.
    before = PlaceFixtures();
    const std::wstring preview = roaming + L"\\qm-browsers-preview.log";
    EXPECT_EQ(RunQuillmoss(L"/preview ffcoo chromeform /log \"" + preview + L"\""), 0);
    const std::string previewed = ReadWholeFile(preview);
    EXPECT_NE(previewed.find("cookies.sqlite : moz_cookies (2 rows)"), std::string::npos)
        << previewed;
    EXPECT_NE(previewed.find("Web Data : autofill (1 rows)"), std::string::npos) << previewed;
    for (const auto& [path, bytes] : before)
        EXPECT_TRUE(ReadWholeFile(path) == bytes) << Narrow(path);

    // Through the window: both browser panels, every box, the confirmation, the progress.
    {
        AppProcess app(Widen(std::getenv("QM_E2E_EXE")), L"Quillmoss v2.80");
        HWND main = app.window();
        SelectTab(FindControlById(main, gui::kTabStrip1), 1);
        HWND items = FindControlById(main, gui::kTabStrip2);
        ASSERT_TRUE(items);
        SelectTab(items, 5);
        ASSERT_TRUE(Click(FindControl(main, L"Button", L"Select All")));
        ASSERT_TRUE(WaitUntil(
            [&] { return FindControl(main, L"Static", L"Chromium: 2 profiles") != nullptr; }, 5s));
        SelectTab(items, 6);
        ASSERT_TRUE(Click(FindControl(main, L"Button", L"Select All")));
        ASSERT_TRUE(WaitUntil(
            [&] { return FindControl(main, L"Static", L"Firefox: 1 profile") != nullptr; }, 5s));
        const auto lines = CleanSelected(main, app.pid(), 60s);
        ASSERT_TRUE(lines);
        for (const wchar_t* line :
             {L"Firefox history cleaned.", L"Firefox cache cleaned.", L"Firefox cookies cleaned.",
              L"Firefox sessions cleaned.", L"Firefox form entries cleaned."})
            EXPECT_NE(std::find(lines->begin(), lines->end(), line), lines->end()) << Narrow(line);
    }
    ExpectCleaned(before, L"");

    // A browser holding its history without sharing: skipped, said so, left as it was.
    before = PlaceFixtures();
    const std::wstring places = firefox + L"places.sqlite";
    HANDLE held = CreateFileW(places.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const std::wstring log = roaming + L"\\qm-browsers.log";
    EXPECT_EQ(RunQuillmoss(L"/clean ffhist /log \"" + log + L"\""), 1);
    CloseHandle(held);
    EXPECT_NE(ReadWholeFile(log).find("Firefox is open: close it and clean again."),
              std::string::npos)
        << ReadWholeFile(log);
    EXPECT_TRUE(ReadWholeFile(places) == before[places]);
}

// The sites the user keeps keep their cookies in every store, and every other cookie goes.
TEST(BrowsersE2E, KeptSitesKeepTheirCookiesWhereverTheyAre) {
    ASSERT_TRUE(std::getenv("QM_E2E_EXE") && std::getenv("QM_E2E_FIXTURES"));
    const std::wstring chromium = Folder(CSIDL_LOCAL_APPDATA) + L"\\Chromium\\User Data\\";
    const std::wstring firefox =
        Folder(CSIDL_APPDATA) + L"\\Mozilla\\Firefox\\Profiles\\qoxma0fs.qmprofile\\";
    const std::wstring cookies = ProfileFolders::Current().cookies;
    PlaceFixtures();
    const std::wstring kept = cookies + L"\\tester@qmkeep.test[1].txt";
    const std::wstring gone = cookies + L"\\tester@badqmkeep.test[1].txt";
    ASSERT_TRUE(PlantFile(kept, "keep") && PlantFile(gone, "go"));
    ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Qmoss", L"cookiekeep",
                        L" .QMKEEP.test  mail.example "));
    const int code = RunQuillmoss(L"/clean chromecoo ffcoo cookies");
    SetText(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Qmoss", L"cookiekeep", L"");
    EXPECT_EQ(code, 0);
    for (const wchar_t* profile : {L"Default", L"Profile 1"}) {
        const std::wstring db = chromium + profile + L"\\Network\\Cookies";
        ExpectDatabase(db, "SELECT count(*) FROM cookies WHERE host_key LIKE '%qmkeep.test'", 1);
        ExpectDatabase(db, "SELECT count(*) FROM cookies WHERE host_key NOT LIKE '%qmkeep.test'",
                       0);
    }
    ExpectDatabase(firefox + L"cookies.sqlite",
                   "SELECT count(*) FROM moz_cookies WHERE host LIKE '%qmkeep.test'", 1);
    ExpectDatabase(firefox + L"cookies.sqlite",
                   "SELECT count(*) FROM moz_cookies WHERE host NOT LIKE '%qmkeep.test'", 0);
    EXPECT_TRUE(FileExists(kept));
    EXPECT_FALSE(FileExists(gone));
}

}  // namespace
}  // namespace qm::e2e
