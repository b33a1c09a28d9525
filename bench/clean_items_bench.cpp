// The "iecache" and "temp" items on a generated profile: 20,000 cache files in Content.IE5
// subfolders and 20,000 files in the temporary folder, each beside Windows' own
// "cmd /c rd /s /q" on an identical tree, in one run. Run it in a prefix of its own: it
// empties that prefix's temporary folder and Internet cache.
#include <windows.h>

#include <cstdio>
#include <string>

#include "bench_tree.h"
#include "cleaners/file_tools.h"
#include "cleaners/ie_cleaners.h"
#include "cleaners/leftovers.h"
#include "errors/error_reporter.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_platform.h"
#include "settings/settings_store.h"

namespace {

using qm::bench::NowMs;
using qm::bench::RemoveWithRd;
using qm::win32::ToWide;

bool FolderExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void Report(const char* item, double ours, double rd) {
    std::printf("  %-22s %9.1f ms   rd /s /q %9.1f ms   ratio %.2f\n", item, ours, rd, ours / rd);
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

    const std::wstring content = ToWide(tools.GetInternetCacheFolder()) + L"\\Content.IE5";
    const std::wstring temp = ToWide(leftovers.GetTempFolder());
    const std::wstring twin = L"C:\\qm-bench-twin";
    if (content.size() < 14 || temp.empty()) {
        std::fprintf(stderr, "no cache or temporary folder\n");
        return 1;
    }
    constexpr int kFolders = 20, kFiles = 1000;
    std::printf("%d files per item under this Windows\n", kFolders * kFiles);

    if (qm::bench::MakeCacheLikeTree(content, kFolders, kFiles) != kFolders * kFiles ||
        qm::bench::MakeCacheLikeTree(twin, kFolders, kFiles) != kFolders * kFiles) {
        std::fprintf(stderr, "could not generate the cache trees\n");
        return 1;
    }
    double start = NowMs();
    ie.CleanIECacheFiles();
    const double cache_ms = NowMs() - start;
    Report("iecache (cache files)", cache_ms, RemoveWithRd(twin));
    if (FolderExists(content + L"\\QMB00") || FolderExists(twin)) {
        std::fprintf(stderr, "the cache trees were not deleted completely\n");
        return 1;
    }

    qm::bench::TreeShape shape;  // 20 x 10 x 100 files in nested folders
    qm::bench::MakeTree(temp + L"qm-bench", shape);
    qm::bench::MakeTree(twin, shape);
    start = NowMs();
    std::string temp_folder;
    if (!leftovers.CleanTempFolder(temp_folder)) {
        std::fprintf(stderr, "the temporary folder %s is protected\n", temp_folder.c_str());
        return 1;
    }
    const double temp_ms = NowMs() - start;
    Report("temp (DeleteFolderTree)", temp_ms, RemoveWithRd(twin));
    if (FolderExists(temp + L"qm-bench") || FolderExists(twin)) {
        std::fprintf(stderr, "the temporary trees were not deleted completely\n");
        return 1;
    }
    return 0;
}
