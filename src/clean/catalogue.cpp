#include "clean/catalogue.h"

#include <algorithm>
#include <string>

#include "paths/ascii_case.h"

namespace qm::clean {

std::span<const CleaningItem> ItemsInRunOrder() {
    return kCatalogue;
}

std::span<const ItemPanel> PanelsInTabOrder() {
    return kItemPanels;
}

std::vector<const CleaningItem*> ItemsOfPanel(int tab) {
    std::vector<const CleaningItem*> items;
    for (const auto& item : kCatalogue) {
        if (item.panel == tab) items.push_back(&item);
    }
    std::ranges::sort(items, {}, &CleaningItem::panel_position);
    return items;
}

std::vector<const CleaningItem*> ItemsOfPanel(std::string_view tab_caption) {
    const ItemPanel* panel = FindPanel(tab_caption);
    if (panel == nullptr) return {};
    return ItemsOfPanel(panel->tab);
}

const ItemPanel* FindPanel(std::string_view tab_caption) {
    for (const auto& panel : kItemPanels) {
        if (panel.tab_caption == tab_caption) return &panel;
    }
    return nullptr;
}

const CleaningItem* FindByCheckBox(std::string_view check_box) {
    for (const auto& item : kCatalogue) {
        if (item.check_box == check_box) return &item;
    }
    return nullptr;
}

const CleaningItem* FindByValueName(std::string_view value_name) {
    for (const auto& item : kCatalogue) {
        if (item.value_name == value_name) return &item;
    }
    return nullptr;
}

const CleaningItem* FindByValueNameAnyCase(std::string_view value_name) {
    const std::string wanted = paths::UpperAscii(value_name);
    for (const auto& item : kCatalogue) {
        if (paths::UpperAscii(item.value_name) == wanted) return &item;
    }
    return nullptr;
}

}  // namespace qm::clean
