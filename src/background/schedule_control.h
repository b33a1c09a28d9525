#pragma once
// Scheduled cleaning as the rest of the program switches it: the ten intervals a user can pick,
// and the switch the options dialog and the start-up use.
#include <array>
#include <optional>
#include <string_view>

namespace qm::background {

struct ScheduleOption {
    std::string_view text;  // as listed in the options dialog and stored in "schedclean"
    int minutes;
};

inline constexpr std::array<ScheduleOption, 10> kScheduleOptions{{
    {"1/2 Hours", 30},
    {"1 Hours", 60},
    {"1-1/2 Hours", 90},
    {"2 Hours", 120},
    {"2-1/2 Hours", 150},
    {"3 Hours", 180},
    {"3-1/2 Hours", 210},
    {"4 Hours", 240},
    {"4-1/2 Hours", 270},
    {"5 Hours", 300},
}};

// The option a typed, picked or stored text stands for: the text without the blanks around it,
// in any letter case, spelled as the list has it. None for any other text (a pasted one,
// blanks, "on"), which would leave a timer without an interval.
std::optional<std::string_view> FindScheduleOption(std::string_view text);
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
