#include <set>
#include <utility>

#include "main_window_fixture.h"

namespace qm::testing {
namespace {

using app::Change;

TEST_F(MainWindowTest, ControlsAreFoundByNameAndSitOnTheirPanels) {
    // The view finds every control by name (and index); a duplicate would bind two native
    // controls to one model. Parents come before their children so they can be created first.
    std::set<std::pair<std::string, int>> seen;
    for (app::Control* control : window_.AllControls()) {
        EXPECT_TRUE(seen.emplace(control->name(), control->index()).second) << control->name();
        const app::Control* parent = control->parent();
        EXPECT_TRUE(!parent || seen.contains({parent->name(), parent->index()})) << control->name();
        EXPECT_EQ(window_.FindControl(control->name(), control->index()), control);
    }
    for (const auto& item : clean::ItemsInRunOrder()) {
        EXPECT_EQ(window_.ItemBox(item).parent(), &window_.frmPopularFolders(item.panel - 1));
        EXPECT_EQ(window_.ItemBox(item).value(), 0) << item.check_box;
    }
    EXPECT_EQ(window_.FindControl("frmone"), nullptr) << "array members need their index";
}

TEST_F(MainWindowTest, EveryTopTabChangeRewritesTheProgressList) {
    const auto status = StatusLines();
    for (std::size_t tab : {app::kQandATab, app::kMainTab, app::kPrivacyTab}) {
        window_.List1().AddItem("line of a finished run");
        window_.TabStrip1().SelectTab(tab);
        EXPECT_EQ(window_.List1().lines(), status) << tab;
        EXPECT_EQ(window_.FrontTopPanel(), tab);
    }
    // Selecting the tab already selected is no change and leaves the list alone.
    window_.List1().AddItem("kept");
    window_.TabStrip1().SelectTab(app::kPrivacyTab);
    EXPECT_EQ(window_.List1().count(), 5u);
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

TEST_F(MainWindowTest, SystemInfoIsReadAfreshEachTimeItIsSelected) {
    machine_.SetProcessor({2, 586});
    window_.TabStrip1().SelectTab(app::kSystemInfoTab);
    EXPECT_EQ(window_.FindControl("Label22")->caption(), "2");

    machine_.SetProcessor({4, 586});
    window_.TabStrip1().SelectTab(app::kMainTab);
    EXPECT_EQ(window_.FindControl("Label22")->caption(), "2") << "read on entering only";
    window_.TabStrip1().SelectTab(app::kSystemInfoTab);
    EXPECT_EQ(window_.FindControl("Label22")->caption(), "4");
}

TEST_F(MainWindowTest, GetInfoAppendsTheFourStatusLines) {
    machine_.SetTickCount(90 * 60 * 1000 + 29'000);
    machine_.SetShlwapiVersion({true, 6, 0, 2900});
    machine_.SetVersion({true, 5, 0, 2195, 2});
    window_.List1().AddItem("kept");
    window_.GetInfo();
    EXPECT_EQ(window_.List1().lines(),
              (std::vector<std::string>{"kept", "Your Computer has been running for...90 Minutes",
                                        "OS Microsoft Windows 2000", "IE version 6.0.2900",
                                        "Quillmoss is ready..."}));
    // Computing the name fills the Windows labels too, before System Info is ever shown.
    EXPECT_EQ(window_.FindControl("Label29")->caption(), "Windows2000");
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
