// The guard in front of every cleaner that empties a folder with all below it: judged by the
// folder a path really opens, on a machine with other drives, a share, a substituted drive and
// folder links.
#include <gtest/gtest.h>

#include "cleaners/leftovers.h"
#include "main_window_fixture.h"

namespace qm::testing {
namespace {

const std::string kProfile = "C:\\Documents and Settings\\Tester";

class FolderGuardTest : public MainWindowTest {
  protected:
    FolderGuardTest() {
        machine_.AddDrive('D');
        machine_.SubstDrive('Z', "C:\\");
        machine_.AddShare("\\\\server\\share");
        machine_.AddFolderLink("C:\\ToWindows", "C:\\WINDOWS");
        machine_.AddFolderLink("C:\\ToRoot", "C:\\");
        machine_.AddFolderLink("C:\\ToD", "D:\\");
        machine_.AddFolderLink("C:\\Profiles", "C:\\Documents and Settings");
        machine_.SetCurrentFolder(kProfile + "\\My Documents");
        machine_.SetProgram("C:\\Tools\\Quillmoss", "Quillmoss");
        for (const char* folder :
             {"D:\\Temp", "C:\\WIN", "C:\\Program Files (x86)", "\\\\server\\share\\Temp",
              "C:\\WINDOWS\\TEMP", "C:\\Tools\\Quillmoss", "C:\\Tools\\Other"}) {
            machine_.AddFolder(folder);
        }
        // Every protected folder exists, so a deletion there shows in the record.
        machine_.AddFile("C:\\WINDOWS\\win.ini");
    }
    cleaners::LeftoverCleaners leftovers_{machine_.platform(), settings_, file_tools_, reporter_};
};

TEST_F(FolderGuardTest, TempFolderIsJudgedByTheFolderItReallyOpens) {
    // Every one of these is, or holds, a folder whose loss costs more than any trace.
    // clang-format off
    for (const char* temp : {
             ".", "..\\", "Temp\\", "\\WINDOWS\\", "C:WINDOWS", "C:\\", "c:/", "D:\\",
             "\\\\server\\share\\", "\\\\?\\UNC\\server\\share", "Z:\\WINDOWS\\", "Z:\\", "C:\\ToD",
             "C:\\ToWindows\\", "C:\\ToRoot\\WINDOWS", "C:\\ToRoot\\WINDOWS\\system32\\..\\", "C:\\Profiles",
             "C:\\Profiles\\Tester\\My Documents\\", "Z:\\Documents and Settings", "C:\\Tools",
             "C:\\Documents and Settings\\Tester\\Desktop", "C:\\Tools\\Quillmoss\\", "Z:\\Program Files",
             "C:\\Documents and Settings\\Tester\\Local Settings\\", "C:\\Documents and Settings\\All Users",
             "c:/windows/SYSTEM32//", "\\\\?\\C:\\Program Files\\", "C:\\DOCUMENTS AND SETTINGS\\TESTER\\"}) {
        // clang-format on
        machine_.SetTempPath(temp);
        std::string folder;
        EXPECT_FALSE(leftovers_.CleanTempFolder(folder)) << temp;
        EXPECT_TRUE(machine_.deletions().empty()) << temp;
    }

    // The usual places, whatever name reaches them; a link to a harmless folder is harmless.
    for (const char* temp :
         {"C:\\Documents and Settings\\Tester\\Local Settings\\Temp\\",
          "C:\\Profiles\\Tester\\Local Settings\\Temp", "C:\\WINDOWS\\TEMP\\", "Z:\\WINDOWS\\TEMP",
          "D:\\Temp\\", "\\\\server\\share\\Temp", "C:\\Tools\\Other", "C:\\WIN",
          // A look-up that fails (no Program Files (x86) here) protects nothing.
          "C:\\Program Files (x86)\\"}) {
        machine_.SetTempPath(temp);
        std::string folder;
        EXPECT_TRUE(leftovers_.CleanTempFolder(folder)) << temp;
        EXPECT_EQ(machine_.deletions().size(), 1u) << temp << ": the folder, made again";
        machine_.ClearDeletions();
    }
}

TEST_F(FolderGuardTest, ARefusedTempFolderSaysSoInPlaceOfItsEndLine) {
    machine_.SetTempPath("Z:\\WINDOWS\\");
    Tick("chkTemp");
    Tick("chkRecBin");
    machine_.AnswerNextBox(platform::mb::kIdOk);
    window_.Command7().Click();

    const std::vector<std::string>& lines = window_.List1().lines();
    const std::vector<std::string> expected = {
        "",
        "Cleaning temporary files...",
        "Temporary folder not cleaned: unsafe location Z:\\WINDOWS\\",
        "",
        "Cleaning Recycle Bin...",
        "Recycle Bin Cleaned."};
    ASSERT_GE(lines.size(), expected.size() + 2);
    EXPECT_EQ(std::vector(lines.end() - 8, lines.end() - 2), expected);
    EXPECT_EQ(Setting("temp"), "tt");
    EXPECT_TRUE(machine_.Exists("C:\\WINDOWS\\win.ini"));
}

TEST_F(FolderGuardTest, CookieAndCacheFoldersPointedAtTheProfileLoseNothing) {
    machine_.SetSpecialFolder(platform::csidl::kCookies, kProfile);
    machine_.AddFolderLink(kProfile + "\\Local Settings\\Temporary Internet Files\\Content.IE5",
                           kProfile);
    Tick("chkCookies");
    Tick("chkIECache");
    machine_.AnswerNextBox(platform::mb::kIdOk);
    window_.Command7().Click();

    EXPECT_TRUE(machine_.deletions().empty());
}

TEST_F(FolderGuardTest, FoldersAboveWhereMyDocumentsReallyLiesAreProtected) {
    // My Documents redirected through a link to D:\Data\Users\Tester\Docs.
    machine_.AddFolder("D:\\Data\\Users\\Tester\\Docs");
    machine_.AddFolder("D:\\Data\\Other");
    machine_.AddFolderLink("C:\\Docs", "D:\\Data\\Users\\Tester\\Docs");
    machine_.SetSpecialFolder(platform::csidl::kPersonal, "C:\\Docs");
    cleaners::FolderGuard guard(machine_.platform());
    for (const char* above : {"D:\\Data", "D:\\Data\\Users\\", "D:\\Data\\Users\\Tester"}) {
        EXPECT_TRUE(guard.IsProtected(above)) << above;
    }
    EXPECT_FALSE(guard.IsProtected("D:\\Data\\Other"));
}

}  // namespace
}  // namespace qm::testing
