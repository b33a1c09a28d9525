// The cache walk of the cookie and cache items on the simulated machine, up to 100,000
// entries: the heap the walk needs beyond the URLs it lists must stay flat as the cache grows.
// Usage: qm_bench_cache_walk_sim [counts...]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cleaners/file_tools.h"
#include "cleaners/ie_cleaners.h"
#include "errors/error_reporter.h"
#include "heap_meter.h"
#include "platform/sim/machine.h"
#include "settings/settings_store.h"

int main(int argc, char** argv) {
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i) counts.push_back(std::atoi(argv[i]));
    if (counts.empty()) counts = {1000, 10000, 100000};

    std::printf("%10s %9s %12s %14s %16s\n", "entries", "walk ms", "URL bytes", "peak heap",
                "beyond the URLs");
    for (int count : counts) {
        qm::sim::Machine machine;
        for (int i = 0; i < count; ++i) {
            machine.AddUrlCacheEntry("http://bench.test/entry/" + std::to_string(i));
        }
        qm::errors::ErrorReporter reporter;
        qm::settings::SettingsStore settings(machine.registry(), machine.process(), reporter);
        qm::cleaners::FileTools tools(machine.files(), machine.shell(), reporter);
        qm::cleaners::IECleaners ie(machine.platform(), settings, tools, reporter);

        // The list's slots are reserved first: their growth is the list's cost, not the walk's.
        std::vector<std::string> list;
        list.reserve(static_cast<std::size_t>(count));
        const std::size_t before = qm::bench::LiveHeapBytes();
        qm::bench::ResetPeak();
        const auto start = std::chrono::steady_clock::now();
        ie.ListUrlCacheEntries(list);
        const std::chrono::duration<double, std::milli> elapsed =
            std::chrono::steady_clock::now() - start;
        const std::size_t peak = qm::bench::PeakHeapBytes() - before;
        std::size_t url_bytes = 0;
        for (const std::string& url : list) {
            if (url.capacity() > 15) url_bytes += url.capacity() + 1;
        }
        std::printf("%10d %9.1f %12zu %14zu %16lld\n", count, elapsed.count(), url_bytes, peak,
                    static_cast<long long>(peak) - static_cast<long long>(url_bytes));
    }
    return 0;
}
