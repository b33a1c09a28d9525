#include <gtest/gtest.h>

#include "app/main_menu.h"
#include "core_test_support.h"
#include "links/web_links.h"
#include "main_window_fixture.h"

namespace qm::testing {

class MainMenuTest : public MainWindowTest {
  protected:
    void Choose(std::string_view item) {
        const app::MenuItem* found = menu_.FindItem(item);
        ASSERT_TRUE(found) << item;
        found->Click();
    }
    app::MainMenu menu_{window_};
};

TEST_F(MainMenuTest, MenusInOrderWithStoredCaptionsAndTheTrayMenuOutOfTheBar) {
    std::vector<std::string> shown;
    for (const app::Menu& menu : menu_.menus()) {
        shown.push_back(menu.caption + (menu.in_menu_bar ? "" : " (pop-up)"));
        for (const app::MenuItem& item : menu.items) {
            shown.push_back(item.separator() ? "  -" : "  " + item.name + " " + item.caption);
        }
    }
    EXPECT_EQ(shown, (std::vector<std::string>{
                         "&File", "  mnuExit E&xit", "Systray (pop-up)", "  mnuRestore &Restore",
                         "  mexit E&xit", "&Option", "  mnuAddIE &Add To IE",
                         "  mnuDeleteIE &Delete From IE", "  mnuCR &Clean && Reboot", "  -",
                         "  mnuAs &Advance Settings", "&Help", "  mnuHP Help &Pages", "  -",
                         "  mnuAbout Visit &Us Online"}));
    EXPECT_EQ(menu_.Systray().caption, "Systray");
}

TEST_F(MainMenuTest, ItemsReachTheirHandlers) {
    const std::string key =
        "Software\\Microsoft\\Internet Explorer\\Extensions\\"
        "{ECC5778A-6E88-BFCE-13CE-81F134789E7B}";
    // "&Clean && Reboot" starts the clean run, both Exit items ask; Cancel and No end them.
    const std::pair<const char*, int> asked[] = {{"mnuCR", platform::mb::kIdCancel},
                                                 {"mnuExit", platform::mb::kIdNo},
                                                 {"mexit", platform::mb::kIdNo}};
    for (const auto& [item, answer] : asked) {
        machine_.AnswerNextBox(answer);
        Choose(item);
    }
    ASSERT_EQ(machine_.boxes().size(), 3u);
    EXPECT_EQ(machine_.boxes()[0].text, "Do you want to clean selected items");
    EXPECT_EQ(machine_.boxes()[1].text, "Are you sure you want to exit Quillmoss?");
    EXPECT_EQ(machine_.boxes()[2].text, machine_.boxes()[1].text);
    window_.List1().Clear();  // the declined clean run wrote its status lines
    Choose("mnuAddIE");
    EXPECT_TRUE(KeyExists(machine_.registry(), platform::Root::LocalMachine, key));
    Choose("mnuDeleteIE");
    EXPECT_FALSE(KeyExists(machine_.registry(), platform::Root::LocalMachine, key));
    Choose("mnuHP");
    Choose("mnuAbout");
    EXPECT_EQ(
        machine_.opened_addresses(),
        (std::vector<std::string>{"http://www.quillmoss.com/help/", "http://www.quillmoss.com/"}));
    EXPECT_TRUE(window_.List1().lines().empty()) << "menu items leave the progress list alone";
}

TEST_F(MainMenuTest, QandALinkLabelsOpenTheirPagesAndTheContactLabelsNothing) {
    std::vector<std::string> expected;
    for (const links::WebLink& link : links::kWebLinks) {
        auto* label = dynamic_cast<app::Label*>(window_.FindControl(link.control));
        if (link.control.starts_with("mnu")) {
            EXPECT_FALSE(label) << link.control;
            continue;
        }
        ASSERT_TRUE(label) << link.control;
        EXPECT_EQ(label->caption(), link.caption);
        EXPECT_EQ(label->parent(), window_.FindControl("Frame2"));
        label->Click();
        expected.emplace_back(link.address);
    }
    for (const char* contact : {"Label13", "Label14"}) {
        dynamic_cast<app::Label&>(*window_.FindControl(contact)).Click();
    }
    EXPECT_EQ(machine_.opened_addresses(), expected);
    EXPECT_EQ(window_.FindControl("Frame2")->parent(), &window_.frmone(app::kQandATab));
    EXPECT_EQ(window_.FindControl("Label6")->parent()->caption(), "About Quillmoss");
}

}  // namespace qm::testing
