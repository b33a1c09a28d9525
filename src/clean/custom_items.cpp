#include "clean/custom_items.h"

#include "paths/ascii_case.h"

namespace qm::clean {

std::string CustomItem::StartLine() const {
    return "Cleaning " + place.Caption() + "...";
}

std::string CustomItem::EndLine() const {
    return place.Caption() + " cleaned.";
}

std::string CustomItem::RefusedLine(cleaners::PlaceRefusal refusal) const {
    return place.Caption() + " not cleaned. " + std::string(cleaners::RefusalText(refusal));
}

std::vector<CustomItem> DefinedCustomItems(settings::SettingsStore& settings) {
    std::vector<CustomItem> items;
    for (int slot = 1; slot <= cleaners::kCustomSlots; ++slot) {
        const std::optional<cleaners::CustomPlace> place =
            cleaners::CustomPlace::Parse(settings.Get(cleaners::CustomPlaceValue(slot)));
        if (!place) continue;
        items.push_back(
            {slot, *place, cleaners::CustomTickValue(slot), cleaners::CustomBoxName(slot)});
    }
    return items;
}

int CustomSlotOf(std::string_view value_name) {
    const std::string name = paths::UpperAscii(value_name);
    constexpr std::string_view kPrefix = "CUSTOM";
    if (!name.starts_with(kPrefix) || name.size() != kPrefix.size() + 1) return 0;
    const int slot = name.back() - '0';
    return slot >= 1 && slot <= cleaners::kCustomSlots ? slot : 0;
}

std::optional<CustomItem> FindCustomItem(settings::SettingsStore& settings,
                                         std::string_view value_name) {
    const int slot = CustomSlotOf(value_name);
    for (CustomItem& item : DefinedCustomItems(settings)) {
        if (item.slot == slot) return std::move(item);
    }
    return std::nullopt;
}

}  // namespace qm::clean
