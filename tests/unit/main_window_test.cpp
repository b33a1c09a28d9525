#include <cctype>
#include <set>
#include <utility>

#include "main_window_fixture.h"

namespace qm::testing {
namespace {

using controls::Change, controls::vk::kLeft, controls::vk::kRight;

TEST_F(MainWindowTest, ControlsAndItemsAreUniqueByNameAndSitOnTheirPanels) {
    // The view binds one native control to each name (and index); a duplicate would bind two
    // to one model. Parents come before their children so they can be created first.
    std::set<std::pair<std::string, int>> seen;
    for (controls::Control* control : window_.AllControls()) {
        EXPECT_TRUE(seen.emplace(control->name(), control->index()).second) << control->name();
        const controls::Control* parent = control->parent();
        EXPECT_TRUE(!parent || seen.contains({parent->name(), parent->index()})) << control->name();
    }
    // The registry ignores case, so two value names differing only in case would share one.
    std::set<std::string> values_folded;
    for (const clean::CleaningItem& item : clean::ItemsInRunOrder()) {
        std::string folded;
        for (char c : item.value_name) folded += static_cast<char>(std::tolower(c));
        EXPECT_TRUE(values_folded.insert(folded).second) << item.value_name;
        EXPECT_EQ(clean::FindByCheckBox(item.check_box), &item);
        EXPECT_EQ(item.run_position, &item - clean::ItemsInRunOrder().data() + 1);
        EXPECT_FALSE(item.steps.empty()) << item.check_box;
        EXPECT_EQ(window_.ItemBox(item).parent(), &window_.frmPopularFolders(item.panel - 1));
        EXPECT_EQ(window_.ItemBox(item).value(), 0) << item.check_box;
    }
    // Every item sits on exactly one panel, at a place of its own.
    std::size_t total = 0;
    for (const clean::ItemPanel& panel : clean::PanelsInTabOrder()) {
        const auto items = clean::ItemsOfPanel(panel.tab);
        for (std::size_t i = 0; i < items.size(); ++i)
            EXPECT_EQ(items[i]->panel_position, static_cast<int>(i) + 1) << panel.tab_caption;
        total += items.size();
    }
    EXPECT_EQ(total, clean::kItemCount);
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

// The settings names of the ticked boxes, in run order.
std::string TickedItems(app::MainWindow& window) {
    std::string ticked;
    for (const auto& item : clean::ItemsInRunOrder())
        if (window.ItemBox(item).value() == 1) ticked += std::string(item.value_name) + " ";
    return ticked;
}

TEST_F(MainWindowTest, RememberedTicksComeBackAndTheButtonsTouchOnlyTheSelectedPanel) {
    // Logged with the error reports: the list at the end shows it ran once, for the second start.
    window_.SetScheduleRearm([this] { reports_.push_back("rearm"); });
    window_.RestoreCheckedItems();  // a first start: the switch is created and deleted at once
    EXPECT_EQ(Setting("remember") + Setting("wzip1"), "<absent><absent>");

    const char* stored[] = {"remember", "kept", "cookies",  "tt", "index",      "xTx",
                            "iecache",  "uu",   "outlookd", "t",  "nettypeurl", "T"};
    for (std::size_t i = 0; i < std::size(stored); i += 2) settings_.Save(stored[i], stored[i + 1]);
    window_.RestoreCheckedItems();
    EXPECT_EQ(TickedItems(window_), "cookies index outlookd nettypeurl ");
    // Cookies comes after index only in the restore order, and the mail item has no hint.
    EXPECT_EQ(window_.HintLabel(1).caption(), "Clean Cookies...");
    EXPECT_EQ(Setting("media") + Setting("remember"), "aakept");

    // Only boxes that change show their hint, in panel order; a failing box is reported under
    // the button's label and the rest of the panel still goes.
    window_.FindControl("chkUrls")->Subscribe([](auto) { throw errors::RuntimeError(5, ""); });
    window_.ItemBox(*clean::FindByCheckBox("chkCookies")).Click();
    window_.Command5().Click();
    EXPECT_EQ(window_.HintLabel(1).caption(), "Clean Cookies...");
    window_.Command6().Click();
    EXPECT_EQ(window_.HintLabel(1).caption(), "");
    window_.TabStrip2().SelectTab(4);
    window_.Command5().Click();
    EXPECT_EQ(window_.HintLabel(5).caption(), "Clean Netscape Cookies...");
    EXPECT_EQ(TickedItems(window_), "netch netcoo nettypeurl ");
    EXPECT_EQ(Setting("cookies") + Setting("netch"), "ttaa") << "ticks write no settings";
    const std::string page = reporter_.site() + "/error-reporting/error-msg.php?Form1%2CCommand";
    EXPECT_EQ(reports_, (std::vector<std::string>{
                            "rearm", page + "5_Click5Invalid%20procedure%20call%20or%20argument",
                            page + "6_Click5Invalid%20procedure%20call%20or%20argument"}));

    window_.Check1().Click();
    EXPECT_EQ(Setting("remember"), "<absent>");
    window_.Check1().Click();
    EXPECT_EQ(Setting("remember"), "aa");
}

TEST(ControlsTest, ChangesAreNotifiedOnlyWhenStateReallyChanges) {
    controls::CheckBox box("chkTemp", "Temporary Folder");
    int changes = 0;
    const int id = box.Subscribe([&](Change) { ++changes; });
    box.SetValue(0);
    box.Click();
    box.Click();
    box.Unsubscribe(id);
    box.Click();
    EXPECT_EQ(changes, 2);

    controls::ListBox list("List1", "");
    list.AddItem("a");
    list.SetSelectedIndex(0);
    list.SetSelectedIndex(1);  // out of range: ignored
    EXPECT_EQ(list.selected_index(), 0);
    list.Clear();
    EXPECT_EQ(list.selected_index(), -1);

    controls::TabStrip strip("TabStrip2", {"A", "B"});
    int clicks = 0;
    strip.SetOnClick([&] { ++clicks; });
    strip.SelectTab(7);
    for (const int key : {kLeft, 13, kRight, kRight}) strip.KeyDown(key);
    EXPECT_EQ(strip.selected_index(), 1u);
    EXPECT_EQ(clicks, 1);
}

}  // namespace
}  // namespace qm::testing
