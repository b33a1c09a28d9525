#pragma once
// The command line of Quillmoss.exe: with no arguments the window starts as always; with
// arguments the program lists its items, previews a clean or cleans unattended, and ends.
// Switches start with / or - and ignore letter case; items are named by their settings
// value name ("temp", "cookies", "operaType"), also without regard to case.
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "clean/catalogue.h"

namespace qm::cli {

inline constexpr int kExitDone = 0;
inline constexpr int kExitStepFailed = 1;
inline constexpr int kExitUsage = 2;

enum class Action { Usage, List, Preview, Clean };

struct Command {
    Action action = Action::Usage;
    // Once each, in run order; empty: the items ticked at the last clean run.
    std::vector<const clean::CleaningItem*> items;
    // The own places named ("custom1" .. "custom8"), once each, in slot order.
    std::vector<int> custom_slots;
    bool log = false;
    std::string log_file;
    // /json FILE with /preview and /clean: the run as one JSON document; "-" is the console.
    bool json = false;
    std::string json_file;
    bool json_to_console() const { return json && json_file == "-"; }
};

struct Parsed {
    Command command;
    std::string error;  // one line; empty when the command line is sound
};

// `args` leaves out the program's own name.
Parsed ParseCommandLine(std::span<const std::string> args);
std::string_view UsageText();

}  // namespace qm::cli
