#pragma once
// The ten intervals of scheduled cleaning a user can pick, as the settings value "schedclean"
// and the schedule policy hold them.
#include <array>
#include <optional>
#include <string_view>

namespace qm::settings {

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
}  // namespace qm::settings
