#include "cli/command_line.h"

#include <algorithm>

#include "clean/custom_items.h"

namespace qm::cli {

namespace {

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

// Whatever the user typed, quoted back within one readable line.
std::string Quoted(std::string_view text) {
    constexpr std::size_t kMost = 60;
    std::string shown(text.substr(0, kMost));
    if (text.size() > kMost) shown += "...";
    return "\"" + shown + "\"";
}

bool IsSwitch(std::string_view arg) {
    return arg.size() > 1 && (arg.front() == '/' || arg.front() == '-');
}

}  // namespace

std::string_view UsageText() {
    return "Usage:\r\n"
           "  Quillmoss                     starts the window\r\n"
           "  Quillmoss /list               lists the items with their names, captions and "
           "panels\r\n"
           "  Quillmoss /preview [ITEM...]  shows what cleaning the items would remove; "
           "deletes nothing\r\n"
           "  Quillmoss /clean [ITEM...]    cleans the items without the window and without "
           "asking\r\n"
           "  /log FILE                     with /list, /preview or /clean: also writes the "
           "report to FILE (UTF-8)\r\n"
           "  /json FILE                    with /preview or /clean: writes the run as JSON to "
           "FILE (- for the console)\r\n"
           "  Quillmoss /?                  shows this text\r\n"
           "ITEM is a name from /list, for example: temp cookies custom1 (custom1 to custom8 are "
           "your own places).\r\nWithout items, /preview and "
           "/clean take\r\n"
           "the items ticked at the last clean run, or those your organisation's policy sets.\r\n"
           "Switches may also start with -.\r\n"
           "Exit code: 0 done, 1 a step failed or another clean run was in progress, 2 wrong "
           "command line.\r\n";
}

Parsed ParseCommandLine(std::span<const std::string> args) {
    Parsed parsed;
    Command& command = parsed.command;
    bool chosen = false;
    bool asked_for_usage = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!IsSwitch(arg)) {
            const clean::CleaningItem* item = clean::FindByValueNameAnyCase(arg);
            if (const int slot = clean::CustomSlotOf(arg); item == nullptr && slot > 0) {
                if (std::find(command.custom_slots.begin(), command.custom_slots.end(), slot) ==
                    command.custom_slots.end())
                    command.custom_slots.push_back(slot);
                continue;
            }
            if (item == nullptr) return {{}, "Unknown item " + Quoted(arg) + "; /list names them."};
            if (std::find(command.items.begin(), command.items.end(), item) == command.items.end())
                command.items.push_back(item);
            continue;
        }
        const std::string name = Lower(std::string_view(arg).substr(1));
        if (name == "?" || name == "h" || name == "help") {
            asked_for_usage = true;
        } else if (name == "list" || name == "preview" || name == "clean") {
            const Action action = name == "list"      ? Action::List
                                  : name == "preview" ? Action::Preview
                                                      : Action::Clean;
            if (chosen && command.action != action)
                return {{}, "Give only one of /list, /preview and /clean."};
            command.action = action;
            chosen = true;
        } else if (name == "log") {
            if (command.log) return {{}, "Give /log only once."};
            if (i + 1 >= args.size() || args[i + 1].empty() || args[i + 1].front() == '/')
                return {{}, "/log needs the name of the file to write."};
            command.log = true;
            command.log_file = args[++i];
        } else if (name == "json") {
            if (command.json) return {{}, "Give /json only once."};
            if (i + 1 >= args.size() || args[i + 1].empty() || args[i + 1].front() == '/')
                return {{}, "/json needs the name of the file to write, or - for the console."};
            command.json = true;
            command.json_file = args[++i];
        } else {
            return {{}, "Unknown switch " + Quoted(arg) + "."};
        }
    }
    if (asked_for_usage) return {};
    if (!chosen) return {{}, "Say what to do: /list, /preview or /clean."};
    if (command.action == Action::List && (!command.items.empty() || !command.custom_slots.empty()))
        return {{}, "/list takes no items."};
    if (command.action == Action::List && command.json)
        return {{}, "/json goes with /preview or /clean."};
    std::sort(command.items.begin(), command.items.end(),
              [](const clean::CleaningItem* a, const clean::CleaningItem* b) {
                  return a->run_position < b->run_position;
              });
    std::sort(command.custom_slots.begin(), command.custom_slots.end());
    return parsed;
}

}  // namespace qm::cli
