#pragma once
// Scheduled cleaning: a minute timer counts up to the chosen interval, then starts the clean
// run, which asks the user as always. Browser windows are closed first when "closebrow" says
// so, but only once the user has said OK, and the run waits a little for them to go: a
// closing browser still holds its history and cache files, and writes them as it ends.
#include <cstdint>
#include <functional>
#include <string_view>

#include "background/schedule_control.h"
#include "errors/error_reporter.h"
#include "platform/desktop.h"
#include "platform/message_loop.h"
#include "platform/system_info.h"
#include "settings/settings_store.h"

namespace qm::background {

// timSchedular: one tick a minute. Timer1 of the History cleaner has id 1, timHideIE 3.
inline constexpr int kScheduleTimerId = 2;
inline constexpr std::uint32_t kScheduleIntervalMs = 60000;

// The minutes an option text names, looked for as contained text: the halves of the whole
// hours first, then "1/2" alone, then the whole hours, so that "2-1/2 Hours" (which contains
// "1/2", "1" and "2" as well) gives 150. 0 when the text names none.
int MinutesNamedIn(std::string_view text);

class Scheduler final : public ScheduleControl {
  public:
    // Starts the clean run and returns when it is over; the action runs after the user has
    // confirmed the run, before its first item.
    using CleanRunStarter = std::function<void(const std::function<void()>& once_confirmed)>;

    // `profiles_held` tells whether a browser still holds one of its profiles.
    Scheduler(platform::MessageLoop& loop, platform::Desktop& desktop, platform::SystemInfo& system,
              settings::SettingsStore& settings, errors::ErrorReporter& reporter,
              CleanRunStarter run_clean, std::function<bool()> profiles_held);

    bool SwitchOn(std::string_view option_text) override;
    void SwitchOff() override;

    // Takes the interval of one of the ten options (blanks around it and letter case do not
    // matter); any other text leaves the interval as it was and returns false.
    bool setSchdTime(std::string_view text);
    void timSchedular_Timer();

    std::int16_t ScheduleMinutes() const { return schedule_minutes_; }
    std::int16_t ScheduleCounter() const { return schedule_counter_; }

  private:
    platform::MessageLoop& loop_;
    platform::Desktop& desktop_;
    platform::SystemInfo& system_;
    settings::SettingsStore& settings_;
    errors::ErrorReporter& reporter_;
    CleanRunStarter run_clean_;
    std::function<bool()> profiles_held_;
    std::int16_t schedule_minutes_ = 0;
    // Minutes since the last scheduled run; switching off and on again does not reset it.
    std::int16_t schedule_counter_ = 0;
};

}  // namespace qm::background
