// A full 24-item clean run on the simulated machine, pauses included: virtual time makes the
// 24 one-second pauses cost nothing, so this measures the run's own work.
#include <benchmark/benchmark.h>

#include "app/main_window.h"
#include "cleaners/file_tools.h"
#include "errors/error_reporter.h"
#include "platform/dialogs.h"
#include "platform/sim/machine.h"
#include "settings/settings_store.h"
#include "sysinfo/system_details.h"

namespace {

void BM_FullCleanRunUnderVirtualTime(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        qm::sim::Machine machine;
        qm::errors::ErrorReporter reporter;
        qm::settings::SettingsStore settings(machine.registry(), machine.process(), reporter);
        qm::sysinfo::SystemDetails details(machine.system(), settings, reporter);
        qm::app::MainWindow window(machine.platform(), settings, reporter, details);
        for (const auto& item : qm::clean::ItemsInRunOrder()) window.ItemBox(item).SetValue(1);
        machine.AnswerNextBox(qm::platform::mb::kIdOk);
        state.ResumeTiming();
        window.Command7_Click();
        benchmark::DoNotOptimize(window.List1().count());
    }
}
BENCHMARK(BM_FullCleanRunUnderVirtualTime)->Unit(benchmark::kMillisecond);

}  // namespace
