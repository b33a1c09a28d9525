#include "cleaners/file_tools.h"

#include <gtest/gtest.h>

#include "core_test_support.h"
#include "errors/labels.h"

namespace qm::cleaners {
namespace {

namespace attr = platform::attr;
namespace label = errors::label;
using sim::Deletion;

class FileToolsTest : public ::testing::Test {
  protected:
    sim::Machine machine;
    qm::testing::OnlineReporter log;
    FileTools tools{machine.files(), machine.shell(), log.reporter};

    std::vector<std::string> ListNames(std::string_view pattern, std::uint32_t mask) {
        std::vector<std::string> names;
        for (const auto& entry : tools.Dir(pattern, mask)) names.push_back(entry.name);
        return names;
    }
    // Plain files, each named relative to `folder`.
    void AddFiles(const std::string& folder, std::initializer_list<const char*> names) {
        for (const char* name : names) machine.AddFile(folder + "\\" + name);
    }
    void ExpectExist(const std::string& folder, std::initializer_list<const char*> names,
                     bool exist) {
        for (const char* name : names) {
            EXPECT_EQ(machine.Exists(folder + "\\" + name), exist) << name;
        }
    }
    // True when every recorded deletion is `folder` itself or lies inside it.
    bool OnlyDeletedInside(const std::string& folder) const {
        const std::string inside = folder + "\\";
        for (const Deletion& d : machine.deletions()) {
            if (d.path != folder && d.path.compare(0, inside.size(), inside) != 0) return false;
        }
        return true;
    }
};

using Names = std::vector<std::string>;

TEST_F(FileToolsTest, DirLetsThroughOnlyEntriesWhoseBitsAreInTheMask) {
    machine.AddFile("C:\\D\\normal.txt");
    machine.AddFile("C:\\D\\readonly.txt", "", attr::kReadOnly | attr::kArchive);
    machine.AddFile("C:\\D\\hidden.txt", "", attr::kHidden);
    machine.AddFile("C:\\D\\system.txt", "", attr::kSystem);
    machine.AddFolder("C:\\D\\sub");
    machine.AddFolder("C:\\D\\hiddensub", attr::kHidden);

    EXPECT_EQ(ListNames("C:\\D\\*.*", mask::kNormal), (Names{"normal.txt", "readonly.txt"}));
    EXPECT_EQ(ListNames("C:\\D\\*.*", mask::kWithFolders),
              (Names{".", "..", "normal.txt", "readonly.txt", "sub"}));
    EXPECT_EQ(ListNames("C:\\D\\*.*", mask::kEverything).size(), 8u);
    EXPECT_EQ(ListNames("C:\\D\\", mask::kNormal), (Names{"normal.txt", "readonly.txt"}));
    EXPECT_TRUE(ListNames("C:\\D\\*.dat", mask::kEverything).empty());
    try {
        tools.Dir("C:\\Missing\\*.*", mask::kNormal);
        ADD_FAILURE() << "a missing folder must raise";
    } catch (const errors::RuntimeError& e) {
        EXPECT_EQ(e.number(), errors::err::kPathNotFound);
    }
}

TEST_F(FileToolsTest, ExistenceTests) {
    AddFiles("C:\\D", {"file.txt", "busy.txt", "sealed.txt"});
    machine.Lock("C:\\D\\busy.txt", sim::LockMode::NoDelete);
    machine.Lock("C:\\D\\sealed.txt", sim::LockMode::Exclusive);
    EXPECT_TRUE(tools.FileExists("C:\\D\\file.txt"));
    EXPECT_TRUE(tools.FileExists("C:\\D\\busy.txt"));
    EXPECT_FALSE(tools.FileExists("C:\\D\\sealed.txt"));
    EXPECT_FALSE(tools.FileExists("C:\\D\\none.txt"));
    EXPECT_FALSE(tools.FileExists(""));

    EXPECT_TRUE(tools.FolderExists("C:\\D"));
    EXPECT_TRUE(tools.FolderExists("C:\\D\\"));
    EXPECT_TRUE(tools.FolderExists("C:\\D\\file.txt"));  // callers pass folders only
    EXPECT_FALSE(tools.FolderExists("C:\\Nowhere"));
    EXPECT_FALSE(tools.FolderExists("C:\\Nowhere\\Deeper"));
    EXPECT_FALSE(tools.FolderExists(""));
    EXPECT_TRUE(log.sent.empty());
}

TEST_F(FileToolsTest, WipeFilesTakesEachPatternThenEmptiesTheSubfolders) {
    AddFiles("C:\\Cookies",
             {"a.txt", "b.DAT", "keep.log", "sub\\x.log", "sub\\deeper\\y.bin", "stuck\\gone.txt"});
    machine.AddFile("C:\\Cookies\\hidden.txt", "", attr::kHidden);
    machine.AddFile("C:\\Cookies\\system.dat", "", attr::kSystem);
    machine.AddFile("C:\\Cookies\\guarded.txt", "", attr::kReadOnly);
    machine.AddFile("C:\\Cookies\\stuck\\h.txt", "", attr::kHidden);
    machine.AddFile("C:\\Cookies Old\\a.txt");
    machine.AddFile("C:\\other.txt");

    tools.WipeFiles("C:\\Cookies", "*.txt;*.dat");

    ExpectExist("C:\\Cookies", {"a.txt", "b.DAT", "sub", "stuck\\gone.txt"}, false);
    ExpectExist("C:\\Cookies",
                {"keep.log", "hidden.txt", "system.dat", "guarded.txt", "stuck\\h.txt"}, true);
    EXPECT_TRUE(machine.Exists("C:\\Cookies Old\\a.txt"));
    EXPECT_TRUE(OnlyDeletedInside("C:\\Cookies"));
    // The read-only file and the folder that keeps its hidden file are reported, and the
    // walk went on past both.
    EXPECT_EQ(log.CountFor(label::kWipeFiles), 1);
    EXPECT_EQ(log.CountFor(label::kWipeDir), 1);
}

TEST_F(FileToolsTest, WipeDirRemovesEverySubfolderTreeButNotTheFolderOrItsFiles) {
    AddFiles("C:\\W", {"A\\1\\a.txt", "A\\1\\x\\b.txt", "A\\2\\c.txt", "B\\1\\y\\z\\d.txt",
                       "B\\e.txt", "top.txt"});
    machine.AddFolder("C:\\W\\Pagefile.sys");
    machine.AddFolder("C:\\W\\A\\pagefile.sys");  // only the exact name is spared
    tools.WipeDir("C:\\W\\");
    EXPECT_FALSE(machine.Exists("C:\\W\\A"));
    EXPECT_FALSE(machine.Exists("C:\\W\\B"));
    EXPECT_TRUE(machine.Exists("C:\\W\\Pagefile.sys"));
    EXPECT_TRUE(machine.Exists("C:\\W\\top.txt"));
    EXPECT_TRUE(OnlyDeletedInside("C:\\W"));
    EXPECT_TRUE(log.sent.empty());
}

TEST_F(FileToolsTest, DeleteFolderTreeRefusesWhatIsNotAFolderPath) {
    machine.AddFile("C:\\T\\file.txt");
    machine.AddFile("C:\\top.txt");
    for (const char* path : {"", "   ", "C:", "C:\\", "C:/T", "T", "C:\\T\\file.txt", "C:\\Missing",
                             "C:\\Missing\\"}) {
        EXPECT_EQ(tools.DeleteFolderTree(path), -1) << path;
    }
    EXPECT_TRUE(machine.deletions().empty());
}

TEST_F(FileToolsTest, DeleteFolderTreeStopsAtTheFirstFileThatWillNotGo) {
    AddFiles("C:\\T", {"a.txt", "b.txt", "c.txt", "sub\\d.txt"});
    machine.Lock("C:\\T\\b.txt");
    const std::int32_t status = tools.DeleteFolderTree("C:\\T");
    EXPECT_NE(status, 0);
    EXPECT_NE(status, -1);
    ASSERT_EQ(machine.deletions().size(), 1u);
    EXPECT_EQ(machine.deletions()[0].path, "C:\\T\\a.txt");
    ExpectExist("C:\\T", {"b.txt", "c.txt", "sub\\d.txt"}, true);
    EXPECT_TRUE(log.sent.empty());  // silent

    machine.Unlock("C:\\T\\b.txt");
    EXPECT_EQ(tools.DeleteFolderTree(" C:\\T\\ "), 0);
    EXPECT_FALSE(machine.Exists("C:\\T"));
}

TEST_F(FileToolsTest, DeleteFolderTreeTakesProtectedFilesAndSparesOnlyTheExactPagefile) {
    machine.AddFile("C:\\Temp\\ro-hidden.tmp", "", attr::kReadOnly | attr::kHidden);
    machine.AddFile("C:\\Temp\\sys.tmp", "", attr::kSystem | attr::kArchive);
    machine.AddFile("C:\\Temp\\Pagefile.sys");
    machine.AddFile("C:\\Temp\\nested\\deep\\x.tmp", "", attr::kReadOnly);
    machine.AddFolder("C:\\Temp\\nested\\hidden", attr::kHidden);
    machine.AddFile("C:\\TempKeep\\x.tmp");
    EXPECT_EQ(tools.DeleteFolderTree("C:\\Temp"), 0);
    EXPECT_FALSE(machine.Exists("C:\\Temp"));
    EXPECT_TRUE(machine.Exists("C:\\TempKeep\\x.tmp"));
    EXPECT_TRUE(OnlyDeletedInside("C:\\Temp"));

    AddFiles("C:\\Swap", {"pagefile.sys", "other.tmp"});
    const std::int32_t status = tools.DeleteFolderTree("C:\\Swap");
    EXPECT_NE(status, 0);
    EXPECT_NE(status, -1);
    EXPECT_TRUE(machine.Exists("C:\\Swap\\pagefile.sys"));
    EXPECT_FALSE(machine.Exists("C:\\Swap\\other.tmp"));
}

TEST_F(FileToolsTest, FolderLinksAreRemovedButNeverFollowed) {
    // The simulated drive has no real links: a flagged folder with contents stands for a
    // junction whose target lies elsewhere. Its contents must survive every deleter.
    constexpr std::uint32_t kLink = 0x400;
    auto plant = [&](const std::string& folder) {
        machine.AddFile(folder + "\\a.txt");  // listed before the link
        machine.AddFolder(folder + "\\link", kLink);
        machine.AddFile(folder + "\\link\\elsewhere.txt");
    };
    plant("C:\\T1");
    plant("C:\\T2");
    plant("C:\\T3");
    tools.DeleteFolderTree("C:\\T1");
    tools.WipeFiles("C:\\T2", "*.txt");
    EXPECT_FALSE(tools.KillFolder("C:\\T3"));
    for (const std::string folder : {"C:\\T1", "C:\\T2", "C:\\T3"}) {
        SCOPED_TRACE(folder);
        ExpectExist(folder, {"link\\elsewhere.txt"}, true);
        ExpectExist(folder, {"a.txt"}, false);
    }
}

TEST_F(FileToolsTest, KillFolderForcesProtectedContentsAndReportsTheFirstFailure) {
    EXPECT_FALSE(tools.KillFolder("C:\\Missing\\"));
    machine.AddFile("C:\\Cache\\X1\\a.htm", "", attr::kReadOnly);
    machine.AddFile("C:\\Cache\\X1\\b.htm", "", attr::kHidden | attr::kSystem);
    machine.AddFolder("C:\\Cache\\X1\\ro", attr::kReadOnly);
    machine.AddFile("C:\\Cache\\X1\\ro\\c.gif");
    machine.AddFile("C:\\Cache\\X1Sibling\\d.htm");
    EXPECT_TRUE(tools.KillFolder("C:\\Cache\\X1\\"));
    EXPECT_FALSE(machine.Exists("C:\\Cache\\X1"));
    EXPECT_TRUE(machine.Exists("C:\\Cache\\X1Sibling\\d.htm"));
    EXPECT_TRUE(log.sent.empty());

    AddFiles("C:\\Cache\\X2", {"1.htm", "2.htm", "3.htm"});
    machine.Lock("C:\\Cache\\X2\\2.htm");
    EXPECT_FALSE(tools.KillFolder("C:\\Cache\\X2"));
    EXPECT_EQ(log.CountFor(label::kKillFolder), 1);
    EXPECT_FALSE(machine.Exists("C:\\Cache\\X2\\1.htm"));
    EXPECT_TRUE(machine.Exists("C:\\Cache\\X2\\3.htm"));
    EXPECT_FALSE(tools.KillFolder("C:\\Cache\\X1Sibling\\d.htm"));  // a file is no folder
    EXPECT_TRUE(machine.Exists("C:\\Cache\\X1Sibling\\d.htm"));
}

TEST_F(FileToolsTest, LongAndForeignNamesAreCleanedLikeAnyOther) {
    std::string deep = "C:\\Long";
    while (deep.size() < 300) deep += "\\" + std::string(40, 'n');
    machine.AddFile(deep + "\\f.txt");
    machine.AddFile(
        "C:\\Long\\Gr\xC3\xBC\xC3\x9F"
        "e.txt");
    machine.AddFile("C:\\Long\\\xE6\x97\xA5\xE6\x9C\xAC\\\xF0\x9F\x98\x80.dat");
    machine.AddFile("C:\\Wipe\\\xC3\xA9t\xC3\xA9.txt");
    machine.AddFile(deep.replace(0, 7, "C:\\Wipe") + "\\g.txt");
    EXPECT_EQ(tools.DeleteFolderTree("C:\\Long"), 0);
    EXPECT_FALSE(machine.Exists("C:\\Long"));
    tools.WipeFiles("C:\\Wipe", "*.txt");
    EXPECT_FALSE(machine.Exists("C:\\Wipe\\\xC3\xA9t\xC3\xA9.txt"));
    EXPECT_TRUE(machine.Exists("C:\\Wipe"));
    for (const std::string& path : machine.AllPaths()) {
        EXPECT_NE(path.rfind("C:\\Wipe\\", 0), 0u) << path;
    }
    EXPECT_TRUE(log.sent.empty());
}

TEST_F(FileToolsTest, SpecialFoldersComeWithAndWithoutTheirBackslash) {
    const std::string cookies = tools.GetCookiesFolder();
    ASSERT_FALSE(cookies.empty());
    EXPECT_NE(cookies.back(), '\\');
    EXPECT_FALSE(tools.GetInternetCacheFolder().empty());
    EXPECT_FALSE(tools.GetHistoryFolder().empty());
    const std::string app_data = tools.GetSpecialFolder(platform::csidl::kAppData);
    ASSERT_FALSE(app_data.empty());
    EXPECT_EQ(app_data.back(), '\\');
    EXPECT_NE(app_data[app_data.size() - 2], '\\');

    machine.SetSpecialFolder(platform::csidl::kCookies, "C:\\Profile\\Cookies\\");
    machine.SetSpecialFolder(platform::csidl::kAppData, "C:\\");
    EXPECT_EQ(tools.GetCookiesFolder(), "C:\\Profile\\Cookies");
    EXPECT_EQ(tools.GetSpecialFolder(platform::csidl::kAppData), "C:\\");
    machine.SetSpecialFolder(platform::csidl::kAppData, "C:\\Profile\\App Data");
    EXPECT_EQ(tools.GetSpecialFolder(platform::csidl::kAppData), "C:\\Profile\\App Data\\");

    EXPECT_EQ(AddBackslash("C:\\Temp"), "C:\\Temp\\");
    EXPECT_EQ(AddBackslash("C:\\Temp\\"), "C:\\Temp\\");
    EXPECT_EQ(AddBackslash(""), "\\");

    machine.ClearSpecialFolder(platform::csidl::kCookies);
    machine.ClearSpecialFolder(platform::csidl::kAppData);
    EXPECT_EQ(tools.GetCookiesFolder(), "");
    EXPECT_EQ(tools.GetSpecialFolder(platform::csidl::kAppData), "");
}

}  // namespace
}  // namespace qm::cleaners
