#include "main_window_fixture.h"

namespace qm::testing {
namespace {

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
    const std::string page = reporter_.site() + "/error-reporting/error-msg.php?Form1,Command";
    EXPECT_EQ(reports_, (std::vector<std::string>{"rearm", page + "5_Click5", page + "6_Click5"}));

    window_.Check1().Click();
    EXPECT_EQ(Setting("remember"), "<absent>");
    window_.Check1().Click();
    EXPECT_EQ(Setting("remember"), "aa");
}

}  // namespace
}  // namespace qm::testing
