#include <gtest/gtest.h>

#include <cctype>
#include <set>

#include "clean/catalogue.h"

namespace qm::clean {
namespace {

TEST(CatalogueTest, NamesAreUniqueEvenIgnoringCaseAndFoundExactly) {
    std::set<std::string> boxes, values_folded;
    for (const CleaningItem& item : ItemsInRunOrder()) {
        EXPECT_TRUE(boxes.insert(std::string(item.check_box)).second) << item.check_box;
        // The registry ignores case, so two names differing only in case would share a value.
        std::string folded;
        for (char c : item.value_name) folded += static_cast<char>(std::tolower(c));
        EXPECT_TRUE(values_folded.insert(folded).second) << item.value_name;
        EXPECT_EQ(FindByCheckBox(item.check_box), &item);
        EXPECT_EQ(FindByValueName(item.value_name), &item);
        EXPECT_FALSE(item.steps.empty()) << item.check_box;
    }
    EXPECT_EQ(FindByValueName("operatype"), nullptr) << "value names are looked up exactly";
}

TEST(CatalogueTest, RunOrderVisitsPanelsOneThreeTwoFourFiveAndEachPanelHasItsOwnPlaces) {
    auto items = ItemsInRunOrder();
    std::string panels;
    for (std::size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].run_position, static_cast<int>(i) + 1);
        panels += static_cast<char>('0' + items[i].panel);
    }
    EXPECT_EQ(panels, "111111133333322222444555");

    // Every item sits on exactly one panel, at a distinct place.
    std::size_t total = 0;
    for (const ItemPanel& panel : PanelsInTabOrder()) {
        const auto panel_items = ItemsOfPanel(panel.tab);
        EXPECT_EQ(ItemsOfPanel(panel.tab_caption), panel_items) << panel.tab_caption;
        for (std::size_t i = 0; i < panel_items.size(); ++i) {
            EXPECT_EQ(panel_items[i]->panel_position, static_cast<int>(i) + 1) << panel.tab_caption;
        }
        total += panel_items.size();
    }
    EXPECT_EQ(total, 24u);
}

}  // namespace
}  // namespace qm::clean
