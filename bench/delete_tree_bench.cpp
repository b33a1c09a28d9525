// DeleteFolderTree and WipeFiles on a generated tree of 20,000 files in nested folders, each
// beside Windows' own "cmd /c rd /s /q" on an identical tree, in one run. Prints the times and
// the ratio (ours / rd). Usage: qm_bench_delete_tree [repetitions]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_tree.h"
#include "cleaners/file_tools.h"
#include "errors/error_reporter.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_platform.h"

namespace {

using qm::bench::MakeTree;
using qm::bench::NowMs;
using qm::bench::TreeShape;

bool FolderExists(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    qm::win32::Win32Platform machine;
    qm::platform::Platform& platform = machine.platform();
    qm::errors::ErrorReporter reporter;
    qm::cleaners::FileTools tools(platform.files, platform.shell, reporter);

    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring base =
        std::wstring(temp) + L"qm-bench-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(base.c_str(), nullptr);
    const TreeShape shape;

    std::vector<double> tree_ms, wipe_ms, rd_ms;
    for (int r = 0; r < repetitions; ++r) {
        const std::wstring ours = base + L"\\ours", theirs = base + L"\\rd",
                           wiped = base + L"\\wipe";
        if (MakeTree(ours, shape) != shape.Files() || MakeTree(theirs, shape) != shape.Files() ||
            MakeTree(wiped, shape) != shape.Files()) {
            std::fprintf(stderr, "could not generate the trees\n");
            return 1;
        }

        double start = NowMs();
        std::int32_t status = tools.DeleteFolderTree(qm::win32::ToUtf8(ours));
        tree_ms.push_back(NowMs() - start);

        start = NowMs();
        tools.WipeFiles(qm::win32::ToUtf8(wiped), "*.*");
        wipe_ms.push_back(NowMs() - start);

        rd_ms.push_back(qm::bench::RemoveWithRd(theirs));
        if (status != 0 || FolderExists(ours) || FolderExists(theirs) ||
            FolderExists(wiped + L"\\top0")) {
            std::fprintf(stderr, "a tree was not deleted completely (status %d)\n", status);
            return 1;
        }
        RemoveDirectoryW(wiped.c_str());
    }
    RemoveDirectoryW(base.c_str());

    const double tree = Median(tree_ms), wipe = Median(wipe_ms), rd = Median(rd_ms);
    std::printf("%d files in %d folders, median of %d runs under this Windows\n", shape.Files(),
                shape.top_folders * (shape.subfolders + 1), repetitions);
    std::printf("  DeleteFolderTree  %9.1f ms   ratio to rd %.2f\n", tree, tree / rd);
    std::printf("  WipeFiles *.*     %9.1f ms   ratio to rd %.2f\n", wipe, wipe / rd);
    std::printf("  cmd /c rd /s /q   %9.1f ms\n", rd);
    return 0;
}
