#pragma once
// The user's own places as items of a clean run: cleaned after the catalogue's items, each
// with its progress lines, ticked and remembered under its own value name ("custom1").
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cleaners/custom_places.h"
#include "settings/settings_store.h"

namespace qm::clean {

// The panel of the item strip that holds the own places' boxes.
inline constexpr int kCustomPanel = 8;

struct CustomItem {
    int slot;  // 1..cleaners::kCustomSlots
    cleaners::CustomPlace place;
    std::string value_name;  // "customN": "tt" cleaned, "uu" not ticked
    std::string check_box;   // "chkCustomN"
    std::string StartLine() const;
    std::string EndLine() const;
    std::string RefusedLine(cleaners::PlaceRefusal refusal) const;
};

// The slots that hold a place, in slot order, as the settings say now.
std::vector<CustomItem> DefinedCustomItems(settings::SettingsStore& settings);
// The item of "customN" (any letter case) when that slot holds a place.
std::optional<CustomItem> FindCustomItem(settings::SettingsStore& settings,
                                         std::string_view value_name);
// The slot a value name such as "custom3" names, whether or not it holds a place; 0 for none.
int CustomSlotOf(std::string_view value_name);

}  // namespace qm::clean
