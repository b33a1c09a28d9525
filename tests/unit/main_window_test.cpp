#include <set>
#include <utility>

#include "main_window_fixture.h"

namespace qm::testing {
namespace {

using app::Change;

TEST_F(MainWindowTest, ControlsAreUniqueByNameAndSitOnTheirPanels) {
    // The view binds one native control to each name (and index); a duplicate would bind two
    // to one model. Parents come before their children so they can be created first.
    std::set<std::pair<std::string, int>> seen;
    for (app::Control* control : window_.AllControls()) {
        EXPECT_TRUE(seen.emplace(control->name(), control->index()).second) << control->name();
        const app::Control* parent = control->parent();
        EXPECT_TRUE(!parent || seen.contains({parent->name(), parent->index()})) << control->name();
    }
    for (const auto& item : clean::ItemsInRunOrder()) {
        EXPECT_EQ(window_.ItemBox(item).parent(), &window_.frmPopularFolders(item.panel - 1));
        EXPECT_EQ(window_.ItemBox(item).value(), 0) << item.check_box;
    }
}

TEST_F(MainWindowTest, EveryTopTabChangeRewritesTheStatusLinesAndSystemInfoIsReadOnEntering) {
    // GetInfo appends, and fills the Windows labels before System Info is ever shown.
    const auto status = StatusLines();
    window_.List1().AddItem("kept");
    window_.GetInfo();
    std::vector<std::string> expected = {"kept"};
    expected.insert(expected.end(), status.begin(), status.end());
    EXPECT_EQ(window_.List1().lines(), expected);
    EXPECT_EQ(window_.FindControl("Label29")->caption(), "WindowsXP");

    machine_.SetProcessor({2, 586});
    for (std::size_t tab : {app::kSystemInfoTab, app::kQandATab, app::kMainTab, app::kPrivacyTab}) {
        window_.TabStrip1().SelectTab(tab);
        EXPECT_EQ(window_.List1().lines(), status) << tab;
        EXPECT_EQ(window_.FrontTopPanel(), tab);
        machine_.SetProcessor({4, 586});
        window_.List1().AddItem("line of a finished run");
    }
    EXPECT_EQ(window_.FindControl("Label22")->caption(), "2") << "read on entering only";
    // Selecting the tab already selected is no change and leaves the list alone.
    window_.TabStrip1().SelectTab(app::kPrivacyTab);
    EXPECT_EQ(window_.List1().count(), 5u);
    window_.TabStrip1().SelectTab(app::kSystemInfoTab);
    EXPECT_EQ(window_.FindControl("Label22")->caption(), "4");
}

TEST_F(MainWindowTest, EnteringPrivacySettingsResetsTheItemStrip) {
    window_.TabStrip1().SelectTab(app::kPrivacyTab);
    window_.TabStrip2().SelectTab(4);

    std::vector<std::size_t> tabs_passed;
    window_.TabStrip2().Subscribe([&](Change change) {
        if (change == Change::Selection)
            tabs_passed.push_back(window_.TabStrip2().selected_index());
    });
    window_.TabStrip1().SelectTab(app::kMainTab);
    window_.TabStrip1().SelectTab(app::kPrivacyTab);

    EXPECT_EQ(tabs_passed, (std::vector<std::size_t>{3, 2, 1, 0})) << "one step per key-down";
    for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(window_.frmPopularFolders(i).visible(), i == 0);
}

TEST(ControlsTest, ChangesAreNotifiedOnlyWhenStateReallyChanges) {
    app::CheckBox box("chkTemp", "Temporary Folder");
    int changes = 0;
    const int id = box.Subscribe([&](Change) { ++changes; });
    box.SetValue(0);
    box.Click();
    box.Click();
    box.Unsubscribe(id);
    box.Click();
    EXPECT_EQ(changes, 2);

    app::ListBox list("List1", "");
    list.AddItem("a");
    list.SetSelectedIndex(0);
    list.SetSelectedIndex(1);  // out of range: ignored
    EXPECT_EQ(list.selected_index(), 0);
    list.Clear();
    EXPECT_EQ(list.selected_index(), -1);

    app::TabStrip strip("TabStrip2", {"A", "B"});
    int clicks = 0;
    strip.SetOnClick([&] { ++clicks; });
    strip.SelectTab(7);
    for (const int key : {app::vk::kLeft, 13, app::vk::kRight, app::vk::kRight}) strip.KeyDown(key);
    EXPECT_EQ(strip.selected_index(), 1u);
    EXPECT_EQ(clicks, 1);
}

}  // namespace
}  // namespace qm::testing
