// The browser items against their yardsticks, under Wine, in a prefix of its own:
//   - a Chromium cache of N files (default 100,000) emptied by the cache item, beside the floor
//     (a bare FindFirstFileW / DeleteFileW loop) on an identical twin, in one run;
//   - a places.sqlite with V visits (default 200,000) and 5,000 bookmarks cleaned by the history
//     item, beside a plain run of the same statements and the rebuild on a copy of the same
//     file, as the sqlite3 shell runs a script (the same SQLite through the same file layer:
//     Wine cannot time a native shell it starts); and the program's peak memory at V/4 and V
//     visits, which must not grow with the rows.
//   browsers_bench.exe PLACES_FIXTURE [cache files (0: none)] [visits] [cache rounds]
#include <windows.h>

#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <sqlite3.h>

#include "bench_tree.h"
#include "browsers/browser_cleaners.h"
#include "browsers/browser_plans.h"
#include "database/connection.h"
#include "database/row_cleaning.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_platform.h"

namespace {

using qm::bench::NowMs;
using qm::win32::ToUtf8;
using qm::win32::ToWide;

std::wstring Folder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, csidl, nullptr, 0, path);
    return path;
}

void MakeFiles(const std::wstring& folder, int files) {
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::string bytes(512, 'c');
    for (int i = 0; i < files; ++i) {
        wchar_t name[32];
        swprintf(name, 32, L"\\%016x_0", i);
        HANDLE file = CreateFileW((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  0, nullptr);
        DWORD written = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
    }
}

double FloorEmpty(const std::wstring& folder) {
    const double start = NowMs();
    std::vector<std::wstring> files;
    WIN32_FIND_DATAW found{};
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                files.push_back(folder + L"\\" + found.cFileName);
        } while (FindNextFileW(find, &found));
        FindClose(find);
    }
    for (const std::wstring& file : files) DeleteFileW(file.c_str());
    return NowMs() - start;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Rounds of both, the subject first in the second round and second in the others; the
// median ratio.
void CacheBench(int files, int rounds) {
    const std::wstring profile = Folder(CSIDL_LOCAL_APPDATA) + L"\\Chromium\\User Data\\Default";
    SHCreateDirectoryExW(nullptr, (profile + L"\\Cache").c_str(), nullptr);
    CloseHandle(CreateFileW((profile + L"\\Preferences").c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, 0, nullptr));
    // The twin as deep as the cache: under Wine every level of a path costs each call on it.
    SHCreateDirectoryExW(nullptr, (profile + L"\\Twin").c_str(), nullptr);
    const std::wstring twin = profile + L"\\Twin\\Cache_Data";
    qm::win32::Win32Platform machine;
    std::vector<double> ours, floor, ratio;
    for (int round = 0; round < rounds; ++round) {
        MakeFiles(profile + L"\\Cache\\Cache_Data", files);
        MakeFiles(twin, files);
        const auto subject = [&] {
            qm::browsers::BrowserCleaners cleaners(machine.platform());
            const double start = NowMs();
            cleaners.CleanChromiumCache();
            ours.push_back(NowMs() - start);
        };
        if (round == 1) subject();
        floor.push_back(FloorEmpty(twin));
        if (round != 1) subject();
        ratio.push_back(ours.back() / floor.back());
    }
    std::printf("cache   %7d files   ours %9.1f ms   floor %9.1f ms   ratio %.2f (median of %d)\n",
                files, Median(ours), Median(floor), Median(ratio), rounds);
}

// The fixture's places.sqlite grown to `visits` visits of visits/4 pages and 5,000 bookmarks.
bool MakePlaces(qm::database::PlatformVfs& vfs, const std::wstring& fixture,
                const std::string& path, int visits) {
    if (!CopyFileW(fixture.c_str(), ToWide(path).c_str(), FALSE)) return false;
    qm::database::Connection db;
    if (db.Open(vfs, path) != qm::database::Opened::Ok) return false;
    const std::string pages = std::to_string(visits / 4);
    return db.Exec(
        "BEGIN;"
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
        pages +
        ") "
        "INSERT INTO moz_places(url, title, rev_host, guid, url_hash, origin_id) "
        "SELECT 'https://site' || (i % 500) || '.example/page/' || i, 'Page ' || i, "
        "'elpmaxe.' || (i % 500) || 'etis.', 'guid' || i, i, 1 FROM n;"
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
        std::to_string(visits) +
        ") INSERT INTO moz_historyvisits(place_id, visit_date, "
        "visit_type) SELECT (SELECT max(id) FROM moz_places) - (i % " +
        pages +
        "), i, 1 FROM n;"
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 5000) "
        "INSERT INTO moz_bookmarks(type, fk, parent, position, title, guid) "
        "SELECT 1, (SELECT max(id) FROM moz_places) - i * 3, 3, i, 'Bookmark ' || i, "
        "'bookmark' || i FROM n;"
        "COMMIT;");
}

// The history plan's statements and the rebuild, as the shell runs them.
std::string ShellScript() {
    std::string script = "BEGIN;\n";
    for (const qm::database::RowDeletion& deletion :
         qm::browsers::plans::FirefoxHistory().deletions)
        script += deletion.sql + ";\n";
    return script + "COMMIT;\nVACUUM;\n";
}

void PlacesBench(const std::wstring& fixture, int visits) {
    const std::string folder = ToUtf8(Folder(CSIDL_LOCAL_APPDATA)) + "\\qm-places-bench";
    CreateDirectoryW(ToWide(folder).c_str(), nullptr);
    const std::string text = ShellScript();
    qm::win32::Win32Platform machine;
    qm::database::PlatformVfs vfs(machine.platform().files);
    for (const int count : {visits / 4, visits}) {
        const std::string ours_path = folder + "\\places.sqlite",
                          shell_path = folder + "\\copy.sqlite";
        if (!MakePlaces(vfs, fixture, ours_path, count) ||
            !CopyFileW(ToWide(ours_path).c_str(), ToWide(shell_path).c_str(), FALSE)) {
            std::printf("places  could not make the database\n");
            return;
        }
        // The same statements and the rebuild, run plainly on the copy through the same file
        // layer: what the sqlite3 shell does with the script.
        double plain = -1;
        sqlite3_memory_highwater(1);
        {
            qm::database::Connection db;
            const double start = NowMs();
            if (db.Open(vfs, shell_path) == qm::database::Opened::Ok && db.Exec(text))
                plain = NowMs() - start;
        }
        const auto plain_heap = static_cast<long long>(sqlite3_memory_highwater(1));
        const double start = NowMs();
        const auto result =
            qm::database::CleanRows(vfs, ours_path, qm::browsers::plans::FirefoxHistory());
        const double ours = NowMs() - start;
        const auto heap = static_cast<long long>(sqlite3_memory_highwater(0));
        std::printf(
            "places  %7d visits  ours %8.1f ms   the script %8.1f ms   ratio %.2f   "
            "SQLite's peak heap %lld KiB (the script's %lld KiB)   %s\n",
            count, ours, plain, ours / plain, heap / 1024, plain_heap / 1024,
            result.outcome == qm::database::CleanOutcome::Cleaned ? "cleaned"
                                                                  : result.detail.c_str());
    }
}

}  // namespace

int main(int argc, char** argv) {
    // SQLite counts its heap only when told so before it starts.
    sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 1);
    if (argc < 2) {
        std::fprintf(stderr,
                     "usage: browsers_bench PLACES_FIXTURE [cache files] [visits] [rounds]\n");
        return 2;
    }
    if (const int files = argc > 2 ? std::atoi(argv[2]) : 100000; files > 0)
        CacheBench(files, argc > 4 ? std::atoi(argv[4]) : 3);
    PlacesBench(ToWide(argv[1]), argc > 3 ? std::atoi(argv[3]) : 200000);
    return 0;
}
