// The preview against the clean it foretells, on the temporary folder filled with the
// benchmark tree (20 x 10 x 100 files of 64 bytes, and a tenth of it) and on the Internet
// cache filled with 20 cache folders of 1,000 files (and a tenth of it): time, and the heap
// the preview takes beyond the record it hands back. The record's own peak counts as the record:
// when its vector last doubled, the old buffer and the new one were alive together. What is
// left is the preview's own room (removed folders, the deleted names of one folder at a time,
// the latest listing), which should be about the same for both trees. Run it in a prefix of
// its own: the cleans empty that prefix's temporary folder and cache.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>

#include "bench_tree.h"
#include "clean/catalogue.h"
#include "cleaners/file_tools.h"
#include "cli/unattended.h"
#include "errors/error_reporter.h"
#include "heap_meter.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_platform.h"
#include "settings/settings_store.h"

namespace {

// Fills the tree with `make`, previews `item_name`, then cleans it, and prints both.
bool Measure(qm::cli::Unattended& unattended, const char* item_name,
             const std::function<int()>& make) {
    const qm::clean::CleaningItem* item[] = {qm::clean::FindByValueName(item_name)};
    const int files = make();
    if (files <= 0) {
        std::fprintf(stderr, "could not generate the tree\n");
        return false;
    }
    const std::size_t before = qm::bench::LiveHeapBytes();
    qm::bench::ResetPeak();
    double start = qm::bench::NowMs();
    const auto records = unattended.PreviewRecords(item);
    const double preview_ms = qm::bench::NowMs() - start;
    const std::size_t peak = qm::bench::PeakHeapBytes() - before;
    // The record as it sits on the heap: the vector's whole buffer and every path; and as it
    // sat while it last doubled, both buffers holding the first half's paths.
    const auto& record = records[0];
    const std::size_t half = record.capacity() / 2;
    std::size_t report = record.capacity() * sizeof record[0];
    std::size_t growing = (record.capacity() + half) * sizeof record[0];
    for (std::size_t i = 0; i < record.size(); ++i) {
        report += record[i].path.capacity() + 1;
        if (i < half) growing += record[i].path.capacity() + 1;
    }
    const std::size_t beyond = peak - std::min(peak, std::max(report, growing));

    start = qm::bench::NowMs();
    const std::string args[] = {"/clean", item_name};
    unattended.Run(args, [](std::string_view) {});
    const double clean_ms = qm::bench::NowMs() - start;
    std::printf(
        "%-7s %6d files: preview %8.1f ms (%zu entries), clean %8.1f ms, ratio %.2f; heap peak "
        "%zu KiB, report %zu KiB (%zu KiB while it grew), beyond it %zu KiB, %zu bytes per "
        "entry\n",
        item_name, files, preview_ms, record.size(), clean_ms, preview_ms / clean_ms, peak / 1024,
        report / 1024, growing / 1024, beyond / 1024,
        beyond / std::max<std::size_t>(1, record.size()));
    return true;
}

}  // namespace

int main() {
    qm::win32::Win32Platform machine;
    qm::platform::Platform& platform = machine.platform();
    qm::errors::ErrorReporter reporter;
    qm::settings::SettingsStore settings(platform.registry, platform.process, reporter);
    qm::cleaners::FileTools tools(platform.files, platform.shell, reporter);
    qm::cli::Unattended unattended(platform, settings, reporter);
    std::string temp;
    platform.files.GetTempPath(temp);
    const std::wstring content =
        qm::win32::ToWide(tools.GetInternetCacheFolder()) + L"\\Content.IE5";

    for (const int top_folders : {2, 20}) {
        qm::bench::TreeShape shape;
        shape.top_folders = top_folders;
        const bool made = Measure(unattended, "temp", [&] {
            const int files = qm::bench::MakeTree(qm::win32::ToWide(temp) + L"QMB", shape);
            return files == shape.Files() ? files : 0;
        });
        if (!made) return 1;
    }
    for (const int folders : {2, 20}) {
        const bool made = Measure(unattended, "iecache", [&] {
            return qm::bench::MakeCacheLikeTree(content, folders, 1000);
        });
        if (!made) return 1;
    }
    return 0;
}
