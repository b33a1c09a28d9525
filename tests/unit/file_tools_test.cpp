#include "cleaners/file_tools.h"
#include "cleaners/name_pattern.h"

#include <gtest/gtest.h>

#include <tuple>

#include "core_test_support.h"
#include "errors/labels.h"

namespace qm::cleaners {
namespace {

namespace attr = platform::attr;
namespace label = errors::label;
using Names = std::vector<std::string>;

class FileToolsTest : public ::testing::Test {
  protected:
    sim::Machine machine;
    qm::testing::OnlineReporter log;
    FileTools tools{machine.files(), machine.shell(), log.reporter};

    Names ListNames(std::string_view pattern, std::uint32_t mask) {
        Names names;
        for (const auto& entry : tools.Dir(pattern, mask)) names.push_back(entry.name);
        return names;
    }
    // Entries of `folder` with the given attributes; a name ending in a backslash is a folder.
    void Add(const std::string& folder, std::initializer_list<std::string> names,
             std::uint32_t bits = 0) {
        for (const std::string& name : names) {
            if (name.back() != '\\') machine.AddFile(folder + "\\" + name, "", bits);
            if (name.back() == '\\')
                machine.AddFolder(folder + "\\" + name.substr(0, name.size() - 1), bits);
        }
    }
    void ExpectExist(const std::string& folder, std::initializer_list<const char*> names,
                     bool exist) {
        for (const char* name : names)
            EXPECT_EQ(machine.Exists(folder + "\\" + name), exist) << folder << "\\" << name;
    }
};

TEST_F(FileToolsTest, DirLetsThroughOnlyTheMaskedBitsAndExistenceMeansUsable) {
    Add("C:\\D", {"normal.txt", "sub\\"});
    Add("C:\\D", {"readonly.txt"}, attr::kReadOnly | attr::kArchive);
    Add("C:\\D", {"hidden.txt", "hiddensub\\"}, attr::kHidden);
    Add("C:\\D", {"system.txt"}, attr::kSystem);
    EXPECT_EQ(ListNames("C:\\D\\", mask::kNormal), (Names{"normal.txt", "readonly.txt"}));
    EXPECT_EQ(ListNames("C:\\D\\*.*", mask::kWithFolders),
              (Names{".", "..", "normal.txt", "readonly.txt", "sub"}));
    try {
        tools.Dir("C:\\Missing\\*.*", mask::kNormal);
        ADD_FAILURE() << "a missing folder must raise";
    } catch (const errors::RuntimeError& e) {
        EXPECT_EQ(e.number(), errors::err::kPathNotFound);
    }
    // A file locked against deleting can still be used; one locked against reading cannot.
    machine.Lock("C:\\D\\normal.txt", sim::LockMode::NoDelete);
    machine.Lock("C:\\D\\readonly.txt", sim::LockMode::Exclusive);
    EXPECT_TRUE(tools.FileExists("C:\\D\\normal.txt") && tools.FolderExists("C:\\D\\"));
    EXPECT_FALSE(tools.FileExists("C:\\D\\readonly.txt") || tools.FolderExists("C:\\Nowhere"));
}

TEST_F(FileToolsTest, WipeFilesTakesEachPatternThenEmptiesTheSubfolders) {
    // Only the exact name of the page file is spared, and only at the top.
    Add("C:\\Cookies",
        {"a.txt", "b.DAT", "keep.log", "sub\\deeper\\y.bin", "stuck\\gone.txt", "Pagefile.sys\\",
         "A\\pagefile.sys\\", "\xC3\xA9t\xC3\xA9\\\xF0\x9F\x98\x80.txt"});
    Add("C:\\Cookies", {"hidden.txt", "stuck\\h.txt"}, attr::kHidden);
    Add("C:\\Cookies", {"guarded.txt"}, attr::kReadOnly);
    machine.AddFile("C:\\Cookies Old\\a.txt");

    tools.WipeFiles("C:\\Cookies", "*.txt;*.dat;");

    ExpectExist("C:\\Cookies",
                {"a.txt", "b.DAT", "sub", "A", "stuck\\gone.txt", "\xC3\xA9t\xC3\xA9"}, false);
    ExpectExist("C:\\Cookies",
                {"Pagefile.sys", "keep.log", "hidden.txt", "guarded.txt", "stuck\\h.txt"}, true);
    EXPECT_TRUE(machine.Exists("C:\\Cookies Old\\a.txt"));
    // The read-only file and the folder that keeps its hidden file are reported, and the
    // walk went on past both.
    EXPECT_EQ(log.CountFor(label::kWipeFiles), 1);
    EXPECT_EQ(log.CountFor(label::kWipeDir), 1);
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

TEST_F(FileToolsTest, DeleteFolderTreeTakesProtectedFilesButStopsSilentlyAtOneThatWillNotGo) {
    std::string deep;
    while (deep.size() < 300) deep += std::string(40, 'n') + "\\";
    Add("C:\\T", {"a.txt", "b.txt", "c.txt", "sub\\d.txt", deep + "f.txt"});
    Add("C:\\T", {"ro-hidden.tmp"}, attr::kReadOnly | attr::kHidden);
    Add("C:\\T", {"nested\\hidden\\"}, attr::kHidden);
    Add("C:\\T", {"sys.tmp"}, attr::kSystem | attr::kArchive);
    machine.AddFile("C:\\TKeep\\x.tmp");
    machine.Lock("C:\\T\\b.txt");
    const std::int32_t status = tools.DeleteFolderTree("C:\\T");
    EXPECT_TRUE(status != 0 && status != -1) << status;
    ASSERT_EQ(machine.deletions().size(), 1u);
    EXPECT_EQ(machine.deletions()[0].path, "C:\\T\\a.txt");
    EXPECT_TRUE(log.sent.empty());

    machine.Unlock("C:\\T\\b.txt");
    EXPECT_EQ(tools.DeleteFolderTree(" C:\\T\\ "), 0);
    EXPECT_FALSE(machine.Exists("C:\\T"));
    EXPECT_TRUE(machine.Exists("C:\\TKeep\\x.tmp"));

    // Only the page file by its exact name stays.
    Add("C:\\Swap", {"pagefile.sys", "other.tmp"});
    EXPECT_NE(tools.DeleteFolderTree("C:\\Swap"), 0);
    ExpectExist("C:\\Swap", {"pagefile.sys"}, true);
    ExpectExist("C:\\Swap", {"other.tmp"}, false);
}

TEST_F(FileToolsTest, FolderLinksAreRemovedButNeverFollowed) {
    // The simulated drive has no real links: a flagged folder with contents stands for a
    // junction whose target lies elsewhere. Its contents must survive every deleter.
    constexpr std::uint32_t kLink = 0x400;
    for (const std::string folder : {"C:\\T1", "C:\\T2", "C:\\T3"}) {
        Add(folder, {"link\\"}, kLink);
        Add(folder, {"a.txt", "link\\elsewhere.txt"});  // a.txt is listed before the link
    }
    tools.DeleteFolderTree("C:\\T1");
    tools.WipeFiles("C:\\T2", "*.txt");
    EXPECT_FALSE(tools.KillFolder("C:\\T3"));
    for (const std::string folder : {"C:\\T1", "C:\\T2", "C:\\T3"}) {
        ExpectExist(folder, {"link\\elsewhere.txt"}, true);
        ExpectExist(folder, {"a.txt"}, false);
    }
}

TEST_F(FileToolsTest, KillFolderForcesProtectedContentsAndReportsTheFirstFailure) {
    EXPECT_FALSE(tools.KillFolder("C:\\Missing\\"));
    Add("C:\\Cache\\X1", {"a.htm", "ro\\"}, attr::kReadOnly);
    Add("C:\\Cache\\X1", {"b.htm"}, attr::kHidden | attr::kSystem);
    Add("C:\\Cache\\X1", {"ro\\c.gif"});
    EXPECT_TRUE(tools.KillFolder("C:\\Cache\\X1\\"));
    EXPECT_FALSE(machine.Exists("C:\\Cache\\X1"));
    EXPECT_TRUE(log.sent.empty());

    Add("C:\\Cache\\X2", {"1.htm", "2.htm", "3.htm"});
    machine.Lock("C:\\Cache\\X2\\2.htm");
    EXPECT_FALSE(tools.KillFolder("C:\\Cache\\X2"));
    EXPECT_EQ(log.CountFor(label::kKillFolder), 1);
    EXPECT_FALSE(tools.KillFolder("C:\\Cache\\X2\\3.htm"));  // a file is no folder
    ExpectExist("C:\\Cache\\X2", {"1.htm"}, false);
    ExpectExist("C:\\Cache\\X2", {"3.htm"}, true);
}

TEST_F(FileToolsTest, SpecialFoldersComeWithAndWithoutTheirBackslash) {
    machine.SetSpecialFolder(platform::csidl::kCookies, "C:\\Profile\\Cookies\\");
    machine.SetSpecialFolder(platform::csidl::kAppData, "C:\\");
    EXPECT_EQ(tools.GetCookiesFolder() + "|" + tools.GetSpecialFolder(platform::csidl::kAppData),
              "C:\\Profile\\Cookies|C:\\");
    machine.ClearSpecialFolder(platform::csidl::kAppData);
    EXPECT_EQ(tools.GetSpecialFolder(platform::csidl::kAppData), "");
}

TEST(NamePattern, MatchesAsAFolderListingDoes) {
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"logo[1].GIF", "*.gif", true}, {"a.gif.bak", "*.gif", false},
        {"README", "*.*", true},        {"README", "*", true},
        {"page.htm", "*.html", false},  {"x.tmp", "?.tmp", true},
        {"xy.tmp", "?.tmp", false},     {"a.b.c.cab", "*.cab", true},
        {"cab", "*.cab", false},        {"", "*", true},
    };
    for (const auto& [name, pattern, matches] : cases)
        EXPECT_EQ(MatchesPattern(name, pattern), matches) << name << " / " << pattern;
}

}  // namespace
}  // namespace qm::cleaners
