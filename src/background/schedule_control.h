#pragma once
// Scheduled cleaning as the rest of the program switches it: the switch the options dialog and
// the start-up use, over the intervals a user can pick.
#include <array>
#include <optional>
#include <string_view>

#include "settings/schedule_options.h"

namespace qm::background {

using settings::FindScheduleOption;
using settings::kScheduleOptions;
using settings::ScheduleOption;

// The option a stored "schedclean" value arms, by the same rule the switch applies when
// start-up hands the value over: none for "d" (off), for empty text and for any text the
// switch refuses. What the options dialog shows as on must be what runs.
inline std::optional<std::string_view> ArmedScheduleOption(std::string_view stored) {
    return FindScheduleOption(stored);
}

class ScheduleControl {
  public:
    virtual ~ScheduleControl() = default;
    // Sets the interval from an option text, then starts the minute timer. A text that is not
    // one of the ten options (after trimming blanks) changes nothing and returns false: a
    // timer without an interval would start a clean on every tick.
    virtual bool SwitchOn(std::string_view option_text) = 0;
    // Stops the minute timer; the minutes counted so far are kept.
    virtual void SwitchOff() = 0;
};

}  // namespace qm::background
