#include "background/scheduler.h"

#include <limits>
#include <utility>

#include "background/browser_windows.h"
#include "errors/labels.h"
#include "paths/ascii_case.h"

namespace qm::background {

namespace {

struct NamedInterval {
    std::string_view number;
    int minutes;
};
// Searched in this order; see MinutesNamedIn.
constexpr NamedInterval kSearchOrder[] = {
    {"1-1/2", 90}, {"2-1/2", 150}, {"3-1/2", 210}, {"4-1/2", 270}, {"1/2", 30},
    {"1", 60},     {"2", 120},     {"3", 180},     {"4", 240},     {"5", 300},
};

}  // namespace

int MinutesNamedIn(std::string_view text) {
    for (const NamedInterval& interval : kSearchOrder) {
        if (text.find(interval.number) != std::string_view::npos) return interval.minutes;
    }
    return 0;
}

Scheduler::Scheduler(platform::MessageLoop& loop, platform::Desktop& desktop,
                     platform::SystemInfo& system, settings::SettingsStore& settings,
                     errors::ErrorReporter& reporter, CleanRunStarter run_clean,
                     std::function<bool()> profiles_held)
    : loop_(loop),
      desktop_(desktop),
      system_(system),
      settings_(settings),
      reporter_(reporter),
      run_clean_(std::move(run_clean)),
      profiles_held_(std::move(profiles_held)) {}

bool Scheduler::setSchdTime(std::string_view text) {
    bool taken = false;
    errors::ReportingStep(reporter_, errors::label::kSetSchdTime, [&] {
        // Any other text would leave a timer without an interval, which cleans on every tick.
        const std::optional<std::string_view> option = FindScheduleOption(text);
        if (!option) return;
        schedule_minutes_ = static_cast<std::int16_t>(MinutesNamedIn(*option));
        taken = true;
    });
    return taken;
}

bool Scheduler::SwitchOn(std::string_view option_text) {
    if (!setSchdTime(option_text)) return false;
    loop_.StartTimer(kScheduleTimerId, kScheduleIntervalMs, [this] { timSchedular_Timer(); });
    return true;
}

void Scheduler::SwitchOff() {
    loop_.StopTimer(kScheduleTimerId);
}

void Scheduler::timSchedular_Timer() {
    // Held at the top rather than wrapped round to a negative count.
    if (schedule_counter_ < std::numeric_limits<std::int16_t>::max()) ++schedule_counter_;
    if (schedule_counter_ < schedule_minutes_) return;
    bool close_browsers = false;
    errors::SilentStep(
        [&] { close_browsers = settings::ContainsLetter(settings_.Get("closebrow"), 'e'); });
    errors::SilentStep([&] {
        // A Cancel must leave the user's browsers open: they close only once the run is on.
        run_clean_([&] {
            if (!close_browsers) return;
            const std::vector<platform::WindowHandle> asked = CloseBrowserWindows(desktop_);
            WaitForBrowsersToClose(desktop_, system_, loop_, asked, kBrowserCloseWaitMs,
                                   profiles_held_);
        });
    });
    schedule_counter_ = 0;
}

}  // namespace qm::background
