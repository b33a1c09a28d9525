// The profiles found on a simulated machine: what the browsers' own lists name, and only the
// plain folders in their place, whatever those lists hold.
#include <gtest/gtest.h>

#include "browsers/browser_profiles.h"
#include "platform/sim/machine.h"

namespace qm::browsers {
namespace {

class BrowserProfiles : public ::testing::Test {
  protected:
    std::string Folder(int csidl) {
        std::string path;
        EXPECT_EQ(machine.shell().GetFolderPath(csidl, path), platform::kOk);
        return path;
    }
    void Profile(const std::string& folder) { machine.AddFile(folder + "\\Preferences", "{}"); }
    std::vector<std::string> Found(const std::vector<BrowserProfile>& profiles) {
        std::vector<std::string> found;
        for (const BrowserProfile& p : profiles) found.push_back(p.browser + "|" + p.folder);
        return found;
    }

    sim::Machine machine;
    const std::string local = Folder(platform::csidl::kLocalAppData);
    const std::string roaming = Folder(platform::csidl::kAppData);
    ProfileFinder finder{machine.platform()};
};

TEST_F(BrowserProfiles, ChromiumProfilesAreTheListedPlainFoldersOrElseTheUsualOnes) {
    const std::string chrome = local + "\\Google\\Chrome\\User Data";
    machine.AddFile(chrome + "\\Local State",
                    R"({"profile":{"info_cache":{"Default":{},"Profile 3":{},"..":{},)"
                    R"("..\\..\\Windows":{},"C:":{},"NoPrefs":{},"Linked":{},"Gone":{}}}})");
    for (const char* name : {"Default", "Profile 3", "Profile 1"}) Profile(chrome + "\\" + name);
    machine.AddFolder(chrome + "\\NoPrefs");
    machine.AddFolder("C:\\Elsewhere");
    Profile("C:\\Elsewhere");
    machine.AddFolderLink(chrome + "\\Linked", "C:\\Elsewhere");
    // No Local State, an unreadable one, one nested past any real one: the usual folders.
    const std::string edge = local + "\\Microsoft\\Edge\\User Data";
    for (const char* name : {"Default", "Profile 2", "System Profile", "Profile x"})
        Profile(edge + "\\" + name);
    const std::string brave = local + "\\BraveSoftware\\Brave-Browser\\User Data";
    machine.AddFile(brave + "\\Local State", "{\"profile\": {\"info_cache\": [");
    Profile(brave + "\\Default");
    const std::string vivaldi = local + "\\Vivaldi\\User Data";
    machine.AddFile(vivaldi + "\\Local State", std::string(100000, '[') + "\"profile\"");
    Profile(vivaldi + "\\Profile 7");

    const auto profiles = finder.Chromium();
    EXPECT_EQ(Found(profiles),
              (std::vector<std::string>{
                  "Chrome|" + chrome + "\\Default", "Chrome|" + chrome + "\\Profile 3",
                  "Edge|" + edge + "\\Default", "Edge|" + edge + "\\Profile 2",
                  "Brave|" + brave + "\\Default", "Vivaldi|" + vivaldi + "\\Profile 7"}));
    EXPECT_EQ(FoundText(profiles), "Chrome: 2 profiles, Edge: 2, Brave: 1, Vivaldi: 1");
    EXPECT_EQ(FoundText({}), "");
}

TEST_F(BrowserProfiles, FirefoxProfilesStayInsideTheirFolderOrOutsideEveryProtectedOne) {
    const std::string firefox = roaming + "\\Mozilla\\Firefox";
    machine.AddFile(firefox + "\\profiles.ini",
                    "\xEF\xBB\xBF[General]\r\nStartWithLastProfile=1\r\n"
                    "[Profile0]\r\nName=default\r\nIsRelative=1\r\nPath=Profiles/a.default\r\n"
                    "[Profile1]\r\nIsRelative=1\r\nPath=Profiles/../../../../Windows\r\n"
                    "[Profile2]\r\nIsRelative=0\r\nPath=C:\\WINDOWS\r\n"
                    "[Profile3]\r\nPath=D:\\Firefox\\work\r\n"  // no IsRelative: absolute
                    "[Profile4]\r\nIsRelative=1\r\nPath=Profiles\\a.default\r\n"
                    "[Profile5]\r\nIsRelative=1\r\nPath=Profiles/missing\r\n"
                    "[Profile6]\r\nIsRelative=0\r\nPath=" +
                        Folder(platform::csidl::kProfile) +
                        "\r\n"
                        "[Install4F96D1932A9F858E]\r\nPath=Profiles/b.install\r\n");
    machine.AddFolder(firefox + "\\Profiles\\a.default");
    machine.AddFolder(firefox + "\\Profiles\\b.install");
    machine.AddDrive('D');
    machine.AddFolder("D:\\Firefox\\work");

    const auto profiles = finder.Firefox();
    ASSERT_EQ(Found(profiles),
              (std::vector<std::string>{"Firefox|" + firefox + "\\Profiles\\a.default",
                                        "Firefox|D:\\Firefox\\work"}));
    EXPECT_EQ(profiles[0].local_folder, local + "\\Mozilla\\Firefox\\Profiles\\a.default");
    EXPECT_EQ(profiles[1].local_folder, "D:\\Firefox\\work");
}

}  // namespace
}  // namespace qm::browsers
