#pragma once
// The items an organisation has ticked for every run through the "Items" policy: the boxes of
// the window, the clean at log-off, the schedule and /clean without names all take them.
#include <optional>
#include <string>
#include <vector>

#include "clean/catalogue.h"
#include "clean/custom_items.h"
#include "settings/settings_store.h"

namespace qm::clean {

struct PolicyItems {
    std::vector<const CleaningItem*> items;  // in run order
    std::vector<CustomItem> customs;         // own places that hold a place, in slot order
    // A name that is no item (or an own place's slot without a place) is left out, never
    // taken for more; each gets a line here for the run's report.
    std::vector<std::string> problems;
};

// None when no policy sets the items (or the one that does has the wrong type).
std::optional<PolicyItems> ItemsByPolicy(settings::SettingsStore& settings);

}  // namespace qm::clean
