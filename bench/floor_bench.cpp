// The file deleters against the floor of what Windows allows: a bare loop that lists each
// folder once (FindFirstFileW/FindNextFileW), calls DeleteFileW on every file and then
// RemoveDirectoryW. Each subject runs on a generated tree beside the floor on an identical
// twin as deep as it, in one run, and prints its ratio to the floor. Run it in a prefix of its own:
// it empties that prefix's temporary folder and Internet cache.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
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

// A folder of the same parent as `folder`: a twin there is as deep as the subject's tree, and
// under Wine every level of a path costs each call on it (a tree nine levels down takes a
// tenth to a fifth longer to delete than one two levels down).
std::wstring Beside(const std::wstring& folder, const wchar_t* name) {
    std::wstring parent = folder;
    while (!parent.empty() && parent.back() == L'\\') parent.pop_back();
    return parent.substr(0, parent.find_last_of(L'\\') + 1) + name;
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Each subject's ratio to the floor, one per round; the median is reported, as the drive is
// shared with whatever else the machine is doing.
struct Subject {
    explicit Subject(const char* subject_name) : name(subject_name) {}
    const char* name;
    std::vector<double> ours, floor, ratio;
    void Add(double ours_ms, double floor_ms) {
        ours.push_back(ours_ms), floor.push_back(floor_ms), ratio.push_back(ours_ms / floor_ms);
    }
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Times `run` and the floor on `twin`, in turn order so that neither always goes first.
template <class Run>
void Pair(Subject& subject, const std::wstring& twin, int round, Run run) {
    double floor_ms = 0;
    if (round % 2 == 0) floor_ms = Floor(twin);
    const double start = NowMs();
    run();
    const double ours_ms = NowMs() - start;
    if (round % 2 != 0) floor_ms = Floor(twin);
    subject.Add(ours_ms, floor_ms);
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    qm::win32::Win32Platform machine;
    qm::platform::Platform& platform = machine.platform();
    qm::errors::ErrorReporter reporter;
    qm::settings::SettingsStore settings(platform.registry, platform.process, reporter);
    qm::cleaners::FileTools tools(platform.files, platform.shell, reporter);
    qm::cleaners::IECleaners ie(platform, settings, tools, reporter);
    qm::cleaners::LeftoverCleaners leftovers(platform, settings, tools, reporter);
    qm::cli::Unattended unattended(platform, settings, reporter);

    const std::wstring content = ToWide(tools.GetInternetCacheFolder()) + L"\\Content.IE5";
    const std::wstring temp = ToWide(leftovers.GetTempFolder());
    const std::wstring twin = L"C:\\qm-floor-twin", other = L"C:\\qm-floor-subject";
    // Same-length names beside Content.IE5 and the temporary folder.
    const std::wstring cache_twin = Beside(content, L"Content.Twn");
    const std::wstring temp_twin_parent = Beside(temp, L"Twin");
    const std::wstring temp_twin = temp_twin_parent + L"\\qm-bench";
    if (content.size() < 14 || temp.empty()) {
        std::fprintf(stderr, "no cache or temporary folder\n");
        return 1;
    }
    const qm::bench::TreeShape shape;  // 20 x 10 x 100 files
    const qm::clean::CleaningItem* item[] = {qm::clean::FindByValueName("temp")};
    Subject cache("iecache item"), preview("/preview temp"), temp_item("temp item"),
        tree("DeleteFolderTree"), wipe("WipeFiles *.*");
    bool complete = true;
    for (int round = 0; round < rounds; ++round) {
        qm::bench::MakeCacheLikeTree(content, 20, 1000);
        qm::bench::MakeCacheLikeTree(cache_twin, 20, 1000);
        Pair(cache, cache_twin, round, [&] { ie.CleanIECacheFiles(); });

        qm::bench::MakeTree(temp + L"qm-bench", shape);
        CreateDirectoryW(temp_twin_parent.c_str(), nullptr);
        qm::bench::MakeTree(temp_twin, shape);
        std::size_t previewed = 0;
        Pair(preview, temp_twin, round,
             [&] { previewed = unattended.PreviewRecords(item)[0].size(); });
        qm::bench::MakeTree(temp_twin, shape);
        std::string temp_folder;
        Pair(temp_item, temp_twin, round, [&] { leftovers.CleanTempFolder(temp_folder); });
        RemoveDirectoryW(temp_twin_parent.c_str());

        qm::bench::MakeTree(other, shape);
        qm::bench::MakeTree(twin, shape);
        std::int32_t status = 0;
        Pair(tree, twin, round, [&] { status = tools.DeleteFolderTree(qm::win32::ToUtf8(other)); });

        qm::bench::MakeTree(other, shape);
        qm::bench::MakeTree(twin, shape);
        Pair(wipe, twin, round, [&] { tools.WipeFiles(qm::win32::ToUtf8(other), "*.*"); });
        RemoveDirectoryW(other.c_str());

        complete = complete && status == 0 && previewed >= std::size_t(shape.Files()) &&
                   !Exists(twin) && !Exists(other) && !Exists(cache_twin) &&
                   !Exists(temp_twin_parent) && !Exists(temp + L"qm-bench") &&
                   !Exists(content + L"\\QMB00");
    }
    std::printf("%d files per tree, median of %d rounds under this Windows\n", shape.Files(),
                rounds);
    for (const Subject* subject : {&cache, &preview, &temp_item, &tree, &wipe}) {
        std::printf("  %-18s %9.1f ms   floor %9.1f ms   ratio %.2f\n", subject->name,
                    Median(subject->ours), Median(subject->floor), Median(subject->ratio));
    }
    if (!complete) {
        std::fprintf(stderr, "a tree was not deleted completely\n");
        return 1;
    }
    return 0;
}
