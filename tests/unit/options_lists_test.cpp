#include <gtest/gtest.h>

#include "browser_machine.h"
#include "browsers/cookie_sites.h"
#include "cleaners/netscape_cleaners.h"
#include "main_window_fixture.h"

namespace qm::testing {
namespace {

class OptionsListsTest : public MainWindowTest {
  protected:
    options::OptionsDialog& Open() {
        Choose("mnuAs");
        return *window_.options().dialog();
    }
    std::vector<std::string> Boxes() {
        std::vector<std::string> texts;
        for (const auto& box : machine_.boxes()) texts.push_back(box.text);
        return texts;
    }
    std::string Folder(int csidl) {
        std::string path;
        machine_.shell().GetFolderPath(csidl, path);
        return path;
    }
};

TEST_F(OptionsListsTest, KeptSitesAreFoldedOnceAndBadNamesRefused) {
    settings_.Save("cookiekeep", "bank.example  bad/name");
    options::OptionsDialog& dialog = Open();
    EXPECT_EQ(dialog.lstKeep().lines(), std::vector<std::string>{"bank.example"});
    for (const char* typed : {" .Mail.Example.COM. ", "mail.example.com", "http://x.test/", ""}) {
        dialog.cboKeepSite().SetText(typed);
        dialog.cmdKeepAdd().Click();
    }
    EXPECT_EQ(Setting("cookiekeep"), "bank.example mail.example.com");
    EXPECT_EQ(Boxes(), (std::vector<std::string>(2, std::string(options::kNotASite))));
    dialog.lstKeep().SetSelectedIndex(0);
    dialog.cmdKeepRemove().Click();
    EXPECT_EQ(Setting("cookiekeep"), "mail.example.com");
    EXPECT_EQ(dialog.lstKeep().lines(), std::vector<std::string>{"mail.example.com"});
}

TEST_F(OptionsListsTest, OwnPlacesTakeTheFirstFreeSlotAndProtectedFoldersAreRefused) {
    machine_.AddFolder("C:\\Logs");
    machine_.AddFile("C:\\Logs\\notes.txt");
    machine_.AddFolderLink("C:\\Logs\\sys", "C:\\WINDOWS");
    options::OptionsDialog& dialog = Open();
    for (const std::string& path :
         {Folder(platform::csidl::kPersonal), std::string("C:\\Logs\\sys")}) {
        dialog.txtPlace().SetText(path);
        dialog.cmdAddFolder().Click();
    }
    EXPECT_EQ(Boxes(),
              std::vector<std::string>(
                  2, std::string(cleaners::RefusalText(cleaners::PlaceRefusal::Protected))));
    EXPECT_EQ(Setting("custom1place"), "<absent>");

    dialog.txtPlace().SetText("C:\\Logs");
    dialog.txtPattern().SetText("*.log");
    dialog.chkSubfolders().Click();
    dialog.cmdAddFolder().Click();
    dialog.txtPlace().SetText("C:\\Logs\\notes.txt");
    dialog.cmdAddFile().Click();
    EXPECT_EQ(Setting("custom1place"), "folder|C:\\Logs|*.log|1");
    EXPECT_EQ(Setting("custom2place"), "file|C:\\Logs\\notes.txt");
    EXPECT_EQ(Setting("custom2"), "uu");
    dialog.lstPlaces().SetSelectedIndex(0);
    dialog.cmdPlaceRemove().Click();
    EXPECT_EQ(Setting("custom1place") + Setting("custom1"), "<absent><absent>");
    EXPECT_EQ(dialog.lstPlaces().lines(), std::vector<std::string>{"C:\\Logs\\notes.txt"});
    // The main window's boxes follow at once.
    EXPECT_FALSE(window_.CustomBox(1).visible());
    EXPECT_EQ(window_.CustomBox(2).caption(), "C:\\Logs\\notes.txt");

    for (int added = 0; added < 8; ++added) {  // slot 1 again, then 3..8, then none is free
        dialog.txtPlace().SetText("C:\\Logs");
        dialog.cmdAddFolder().Click();
    }
    EXPECT_EQ(Setting("custom1place"), "folder|C:\\Logs|*.log|1");
    EXPECT_EQ(Setting("custom8"), "uu");
    EXPECT_EQ(Boxes().back(), options::kPlacesFull);
    EXPECT_EQ(dialog.lstPlaces().count(), 8u);
}

TEST_F(OptionsListsTest, NeverTouchedTakesOnlyFullPathsOnce) {
    options::OptionsDialog& dialog = Open();
    for (const char* typed :
         {"Logs\\keep", "C:\\*\\x", "C:\\Logs\\keep", "c:\\logs\\KEEP", "C:\\Temp\\*.cfg"}) {
        dialog.txtNever().SetText(typed);
        dialog.cmdNeverAdd().Click();
    }
    EXPECT_EQ(Setting("exclude"), "C:\\Logs\\keep|C:\\Temp\\*.cfg");
    EXPECT_EQ(Boxes(), std::vector<std::string>(2, std::string(options::kNotAnExclusion)));
    dialog.lstNever().SetSelectedIndex(1);
    dialog.cmdNeverRemove().Click();
    EXPECT_EQ(Setting("exclude"), "C:\\Logs\\keep");
}

// Every kind of store a site's cookies lie in; a store held by its browser, or that is no
// database, gives nothing and stays as it was.
TEST_F(OptionsListsTest, SitesWithCookiesComeFromEveryStoreFoldedAndSorted) {
    const auto placed = PlaceBrowserFixtures(machine_);
    const std::string app_data = Folder(platform::csidl::kAppData);
    settings_.SaveSettingString(platform::Root::CurrentUser, cleaners::kShellFoldersPath, "AppData",
                                app_data);
    const std::string profile = app_data + "\\Mozilla\\Users50\\me\\ab12.slt";
    machine_.AddFile(app_data + "\\Mozilla\\registry.dat", "\x01" + profile + "\x02");
    machine_.AddFile(profile + "\\cookies.txt",
                     "# Netscape HTTP Cookie File\tcomment\n#HttpOnly_.QMNS.test\tTRUE\t/\n"
                     "www.qmns.test\tFALSE\t/\n");
    machine_.AddFile(Folder(platform::csidl::kCookies) + "\\me@qmie.test[1].txt");
    machine_.AddFile(Folder(platform::csidl::kCookies) + "\\index.dat");
    const auto sites = [&] { return browsers::SitesWithCookies(machine_.platform()); };
    EXPECT_EQ(sites(), (std::vector<std::string>{"qmie.test", "qmkeep.test", "qmns.test",
                                                 "qmvisit-alpha.test", "www.qmns.test"}));
    EXPECT_EQ(Open().cboKeepSite().items(), sites());  // offered as the dialog opens

    std::string firefox;
    for (const auto& [path, bytes] : placed) {
        if (path.ends_with("\\Network\\Cookies")) machine_.AddFile(path, "not a database");
        if (path.ends_with("\\cookies.sqlite")) firefox = path;
    }
    machine_.Lock(firefox, sim::LockMode::Exclusive);
    EXPECT_EQ(sites(), (std::vector<std::string>{"qmie.test", "qmns.test", "www.qmns.test"}));
    machine_.Unlock(firefox);
    EXPECT_EQ(sites().size(), 5u);  // Firefox's alone
    std::string after;
    machine_.files().ReadFile(firefox, after);
    EXPECT_EQ(after, placed.at(firefox));
    EXPECT_TRUE(machine_.deletions().empty());
}

}  // namespace
}  // namespace qm::testing
