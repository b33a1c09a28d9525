#include <gtest/gtest.h>

#include <cctype>
#include <set>

#include "clean/catalogue.h"

namespace qm::clean {
namespace {

TEST(CatalogueTest, NamesAreUniqueEvenIgnoringCaseAndPlacesAreNumberedWithoutGaps) {
    std::set<std::string> values_folded;
    for (const CleaningItem& item : ItemsInRunOrder()) {
        // The registry ignores case, so two names differing only in case would share a value.
        std::string folded;
        for (char c : item.value_name) folded += static_cast<char>(std::tolower(c));
        EXPECT_TRUE(values_folded.insert(folded).second) << item.value_name;
        EXPECT_EQ(FindByCheckBox(item.check_box), &item);
        EXPECT_EQ(item.run_position, &item - ItemsInRunOrder().data() + 1) << item.check_box;
        EXPECT_FALSE(item.steps.empty()) << item.check_box;
    }
    // Every item sits on exactly one panel, at a place of its own.
    std::size_t total = 0;
    for (const ItemPanel& panel : PanelsInTabOrder()) {
        const auto items = ItemsOfPanel(panel.tab);
        for (std::size_t i = 0; i < items.size(); ++i)
            EXPECT_EQ(items[i]->panel_position, static_cast<int>(i) + 1) << panel.tab_caption;
        total += items.size();
    }
    EXPECT_EQ(total, kItemCount);
}

}  // namespace
}  // namespace qm::clean
