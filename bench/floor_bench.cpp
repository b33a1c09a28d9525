// The file deleters against the floor of what Windows allows: a bare loop that lists each
// folder once (FindFirstFileW/FindNextFileW), calls DeleteFileW on every file and then
// RemoveDirectoryW. Each subject runs on a generated tree beside the floor on an identical
// twin, in one run, and prints its ratio to the floor. Run it in a prefix of its own: it
// empties that prefix's temporary folder and Internet cache.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench_tree.h"
#include "clean/catalogue.h"
#include "cleaners/file_tools.h"
#include "cleaners/ie_cleaners.h"
#include "cleaners/leftovers.h"
#include "cli/unattended.h"
#include "errors/error_reporter.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_platform.h"
#include "settings/settings_store.h"

namespace {

using qm::bench::NowMs;
using qm::win32::ToWide;

void FloorDelete(const std::wstring& folder) {
    // The listing is read whole before the first delete: Wine slows down badly when a folder
    // changes under an open search.
    std::vector<std::wstring> files, subfolders;
    WIN32_FIND_DATAW found{};
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const bool is_folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            (is_folder ? subfolders : files).push_back(folder + L"\\" + name);
        } while (FindNextFileW(find, &found));
        FindClose(find);
    }
    for (const std::wstring& file : files) DeleteFileW(file.c_str());
    for (const std::wstring& subfolder : subfolders) FloorDelete(subfolder);
    RemoveDirectoryW(folder.c_str());
}

double Floor(const std::wstring& twin) {
    const double start = NowMs();
    FloorDelete(twin);
    return NowMs() - start;
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void Report(const char* what, double ours, double floor) {
    std::printf("  %-26s %9.1f ms   floor %9.1f ms   ratio %.2f\n", what, ours, floor,
                ours / floor);
}

}  // namespace

int main() {
    qm::win32::Win32Platform machine;
    qm::platform::Platform& platform = machine.platform();
    qm::errors::ErrorReporter reporter;
    qm::settings::SettingsStore settings(platform.registry, platform.process, reporter);
    qm::cleaners::FileTools tools(platform.files, platform.shell, reporter);
    qm::cleaners::IECleaners ie(platform, settings, tools, reporter);
    qm::cleaners::LeftoverCleaners leftovers(platform, settings, tools, reporter);
    qm::cli::Unattended unattended(platform, settings, reporter, tools);

    const std::wstring content = ToWide(tools.GetInternetCacheFolder()) + L"\\Content.IE5";
    const std::wstring temp = ToWide(leftovers.GetTempFolder());
    const std::wstring twin = L"C:\\qm-floor-twin", other = L"C:\\qm-floor-subject";
    if (content.size() < 14 || temp.empty()) {
        std::fprintf(stderr, "no cache or temporary folder\n");
        return 1;
    }
    const qm::bench::TreeShape shape;  // 20 x 10 x 100 files
    std::printf("%d files per tree under this Windows\n", shape.Files());

    qm::bench::MakeCacheLikeTree(content, 20, 1000);
    qm::bench::MakeCacheLikeTree(twin, 20, 1000);
    double floor = Floor(twin), start = NowMs();
    ie.CleanIECacheFiles();
    Report("iecache item", NowMs() - start, floor);

    qm::bench::MakeTree(temp + L"qm-bench", shape);
    qm::bench::MakeTree(twin, shape);
    floor = Floor(twin);
    const qm::clean::CleaningItem* item[] = {qm::clean::FindByValueName("temp")};
    start = NowMs();
    const auto records = unattended.PreviewRecords(item);
    Report("/preview temp", NowMs() - start, floor);
    start = NowMs();
    std::string temp_folder;
    leftovers.CleanTempFolder(temp_folder);
    Report("temp item", NowMs() - start, floor);

    qm::bench::MakeTree(other, shape);
    qm::bench::MakeTree(twin, shape);
    floor = Floor(twin);
    start = NowMs();
    const std::int32_t status = tools.DeleteFolderTree(qm::win32::ToUtf8(other));
    Report("DeleteFolderTree", NowMs() - start, floor);

    qm::bench::MakeTree(other, shape);
    qm::bench::MakeTree(twin, shape);
    floor = Floor(twin);
    start = NowMs();
    tools.WipeFiles(qm::win32::ToUtf8(other), "*.*");
    Report("WipeFiles *.*", NowMs() - start, floor);
    RemoveDirectoryW(other.c_str());

    if (status != 0 || records.empty() || records[0].size() < std::size_t(shape.Files()) ||
        Exists(twin) || Exists(other) || Exists(temp + L"qm-bench") ||
        Exists(content + L"\\QMB00")) {
        std::fprintf(stderr, "a tree was not deleted completely\n");
        return 1;
    }
    return 0;
}
