#include "settings/schedule_options.h"

#include <string>

#include "paths/ascii_case.h"

namespace qm::settings {

std::optional<std::string_view> FindScheduleOption(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return std::nullopt;
    const std::string wanted =
        paths::UpperAscii(text.substr(first, text.find_last_not_of(" \t") - first + 1));
    for (const ScheduleOption& option : kScheduleOptions) {
        if (paths::UpperAscii(option.text) == wanted) return option.text;
    }
    return std::nullopt;
}

}  // namespace qm::settings
