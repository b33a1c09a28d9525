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
        if (control->parent() != nullptr) {
            EXPECT_TRUE(seen.contains({control->parent()->name(), control->parent()->index()}))
                << control->name();
        }
        EXPECT_EQ(window_.FindControl(control->name(), control->index()), control);
    }

    for (const auto& item : clean::ItemsInRunOrder()) {
        app::CheckBox& box = window_.ItemBox(item);
        EXPECT_EQ(box.name(), item.check_box);
        EXPECT_EQ(box.caption(), item.caption);
        EXPECT_EQ(box.parent(), &window_.frmPopularFolders(item.panel - 1));
        EXPECT_EQ(box.value(), 0);
    }
    EXPECT_EQ(window_.FindControl("Label33")->parent(), &window_.frmPopularFolders(4));
    EXPECT_EQ(window_.HintLabel(4).name(), "Label31");
    EXPECT_EQ(window_.Command7().parent(), &window_.frmone(app::kPrivacyTab));
    EXPECT_EQ(window_.FindControl("frmone"), nullptr) << "array members need their index";

    EXPECT_EQ(window_.FrontTopPanel(), app::kMainTab);
    for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(window_.frmPopularFolders(i).visible(), i == 0);
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

    // Left arrow: from Q & A to Privacy Settings; at Main nothing happens.
    window_.TabStrip1().SelectTab(app::kQandATab);
    window_.TabStrip1().KeyDown(app::vk::kLeft);
    EXPECT_EQ(window_.TabStrip1().selected_index(), app::kPrivacyTab);
    window_.TabStrip1().SelectTab(app::kMainTab);
    window_.List1().AddItem("kept");
    window_.TabStrip1().KeyDown(app::vk::kLeft);
    EXPECT_EQ(window_.TabStrip1().selected_index(), app::kMainTab);
    EXPECT_EQ(window_.List1().count(), 5u);
    window_.TabStrip1().KeyDown(app::vk::kRight);
    EXPECT_EQ(window_.TabStrip1().selected_index(), app::kPrivacyTab);
}

TEST_F(MainWindowTest, EnteringPrivacySettingsResetsTheItemStrip) {
    window_.TabStrip1().SelectTab(app::kPrivacyTab);
    window_.TabStrip2().SelectTab(4);
    for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(window_.frmPopularFolders(i).visible(), i == 4);

    std::vector<std::size_t> tabs_passed;
    window_.TabStrip2().Subscribe([&](Change change) {
        if (change == Change::Selection) {
            tabs_passed.push_back(window_.TabStrip2().selected_index());
        }
    });
    window_.TabStrip1().SelectTab(app::kMainTab);
    window_.TabStrip1().SelectTab(app::kPrivacyTab);

    EXPECT_EQ(window_.TabStrip2().selected_index(), 0u);
    EXPECT_EQ(tabs_passed, (std::vector<std::size_t>{3, 2, 1, 0})) << "one step per key-down";
    for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(window_.frmPopularFolders(i).visible(), i == 0);
}

TEST_F(MainWindowTest, SystemInfoIsReadAfreshEachTimeItIsSelected) {
    machine_.SetProcessor({2, 586});
    machine_.SetMemory({512ull * 1024 * 1024, 1536});
    window_.TabStrip1().SelectTab(app::kSystemInfoTab);

    EXPECT_EQ(window_.FindControl("Label22")->caption(), "2");
    EXPECT_EQ(window_.FindControl("Label25")->caption(), "524288 KB");
    EXPECT_EQ(window_.FindControl("Label26")->caption(), "1.5 KB");
    EXPECT_EQ(window_.FindControl("Label29")->caption(), "WindowsXP");
    EXPECT_EQ(window_.FindControl("Label30")->caption(), "5.1.2600");
    EXPECT_FALSE(window_.FindControl("Label21")->caption().empty());

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
    std::vector<Change> changes;
    int handled = 0;
    const int id = box.Subscribe([&](Change change) { changes.push_back(change); });
    box.SetOnChange([&] { ++handled; });
    box.SetValue(0);
    box.Click();
    box.SetValue(1);
    box.Click();
    EXPECT_EQ(box.value(), 0);
    EXPECT_EQ(handled, 2);
    EXPECT_EQ(changes, (std::vector<Change>{Change::Value, Change::Value}));
    box.Unsubscribe(id);
    box.Click();
    EXPECT_EQ(changes.size(), 2u);

    app::ListBox list("List1", "");
    std::vector<Change> list_changes;
    list.Subscribe([&](Change change) { list_changes.push_back(change); });
    list.AddItem("a");
    list.SetSelectedIndex(0);
    list.SetSelectedIndex(1);  // out of range: ignored
    list.Clear();
    EXPECT_EQ(list.selected_index(), -1);
    EXPECT_EQ(list_changes, (std::vector<Change>{Change::Lines, Change::Selection, Change::Lines,
                                                 Change::Selection}));

    app::TabStrip strip("TabStrip2", {"A", "B"});
    int clicks = 0;
    strip.SetOnClick([&] { ++clicks; });
    strip.SelectTab(7);
    strip.KeyDown(app::vk::kLeft);
    strip.KeyDown(13);
    strip.KeyDown(app::vk::kRight);
    strip.KeyDown(app::vk::kRight);
    EXPECT_EQ(strip.selected_index(), 1u);
    EXPECT_EQ(clicks, 1);
}

}  // namespace
}  // namespace qm::testing
