#include <gtest/gtest.h>

#include "main_window_fixture.h"

namespace qm::testing {

TEST_F(MainWindowTest, EachWebLinkOpensItsPageEveryClick) {
    // Label13 and Label14 only show the contact addresses; Label7 is clicked twice.
    for (const char* control : {"Label12", "Label11", "Label10", "Label9", "Label8", "Label7",
                                "Label7", "Label13", "Label14", "mnuHP", "mnuAbout"}) {
        window_.WebLink_Click(control);
    }
    const std::string site = "http://www.quillmoss.com/";
    EXPECT_EQ(machine_.opened_addresses(),
              (std::vector<std::string>{site + "qa.html", site + "privacy.html",
                                        "http://forum.quillmoss.com/", site + "friend.html",
                                        site + "suggestions.html", site + "bugreport.html",
                                        site + "bugreport.html", site + "help/", site}));
}

}  // namespace qm::testing
