// The Internet-cache walk of the cookie and cache items over a growing real cache: the heap it
// needs beyond the list of URLs it returns must not grow with the number of entries, since
// the walk holds one entry at a time. Usage: qm_bench_cache_walk [counts...]
#include <windows.h>
#include <wininet.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_tree.h"
#include "cleaners/file_tools.h"
#include "cleaners/ie_cleaners.h"
#include "errors/error_reporter.h"
#include "heap_meter.h"
#include "platform/win32/win32_platform.h"
#include "settings/settings_store.h"

namespace {

// Adds bench entries (without files of their own) until the cache holds `count` of them.
bool GrowCacheTo(int& have, int count) {
    FILETIME zero{};
    for (; have < count; ++have) {
        const std::wstring url = L"http://bench.test/entry/" + std::to_wstring(have);
        if (!CommitUrlCacheEntryW(url.c_str(), nullptr, zero, zero, NORMAL_CACHE_ENTRY, nullptr, 0,
                                  nullptr, nullptr)) {
            std::fprintf(stderr, "could not add entry %d (error %lu)\n", have, GetLastError());
            return false;
        }
    }
    return true;
}

// The heap the URL texts themselves take (the list's slots are reserved before the walk).
std::size_t UrlBytes(const std::vector<std::string>& list) {
    std::size_t bytes = 0;
    for (const std::string& url : list) {
        if (url.capacity() > 15) bytes += url.capacity() + 1;  // beyond the inline buffer
    }
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i) counts.push_back(std::atoi(argv[i]));
    if (counts.empty()) counts = {1000, 10000, 100000};

    qm::win32::Win32Platform machine;
    qm::platform::Platform& platform = machine.platform();
    qm::errors::ErrorReporter reporter;
    qm::settings::SettingsStore settings(platform.registry, platform.process, reporter);
    qm::cleaners::FileTools tools(platform.files, platform.shell, reporter);
    qm::cleaners::IECleaners ie(platform, settings, tools, reporter);

    std::printf("%10s %10s %9s %12s %14s %16s\n", "entries", "listed", "walk ms", "URL bytes",
                "peak heap", "beyond the URLs");
    int have = 0;
    for (int count : counts) {
        if (!GrowCacheTo(have, count)) return 1;
        // Room for every URL up front: the list's own doubling is the list's cost, not the
        // walk's, and would otherwise hide what the walk itself holds.
        std::vector<std::string> list;
        list.reserve(static_cast<std::size_t>(count) + 64);
        const std::size_t before = qm::bench::LiveHeapBytes();
        qm::bench::ResetPeak();
        const double start = qm::bench::NowMs();
        ie.ListUrlCacheEntries(list);
        const double elapsed = qm::bench::NowMs() - start;
        const std::size_t peak = qm::bench::PeakHeapBytes() - before;
        const std::size_t list_bytes = UrlBytes(list);
        std::printf("%10d %10zu %9.1f %12zu %14zu %16lld\n", count, list.size(), elapsed,
                    list_bytes, peak,
                    static_cast<long long>(peak) - static_cast<long long>(list_bytes));
    }
    return 0;
}
