#include "clean/policy_items.h"

#include <algorithm>

namespace qm::clean {

std::optional<PolicyItems> ItemsByPolicy(settings::SettingsStore& settings) {
    const std::optional<std::string> listed = settings.policies().Text(settings::kItemsPolicy);
    if (!listed) return std::nullopt;
    PolicyItems chosen;
    std::vector<int> slots;
    std::size_t at = 0;
    while ((at = listed->find_first_not_of(" \t\r\n", at)) != std::string::npos) {
        const std::size_t end = std::min(listed->find_first_of(" \t\r\n", at), listed->size());
        const std::string_view name = std::string_view(*listed).substr(at, end - at);
        at = end;
        if (const CleaningItem* item = FindByValueNameAnyCase(name)) {
            if (std::find(chosen.items.begin(), chosen.items.end(), item) == chosen.items.end())
                chosen.items.push_back(item);
            continue;
        }
        if (const int slot = CustomSlotOf(name); slot > 0) {
            if (std::find(slots.begin(), slots.end(), slot) == slots.end()) slots.push_back(slot);
            continue;
        }
        chosen.problems.push_back("Policy Items: \"" + std::string(name) +
                                  "\" names no item and is ignored.");
    }
    std::sort(chosen.items.begin(), chosen.items.end(),
              [](const CleaningItem* a, const CleaningItem* b) {
                  return a->run_position < b->run_position;
              });
    for (CustomItem& custom : DefinedCustomItems(settings)) {
        const auto named = std::find(slots.begin(), slots.end(), custom.slot);
        if (named == slots.end()) continue;
        slots.erase(named);
        chosen.customs.push_back(std::move(custom));
    }
    std::sort(slots.begin(), slots.end());
    for (const int slot : slots) {
        chosen.problems.push_back("Policy Items: custom" + std::to_string(slot) +
                                  " holds no place and is ignored.");
    }
    return chosen;
}

}  // namespace qm::clean
