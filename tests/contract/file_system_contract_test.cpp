// Files and folders as the cleaners meet them: listings, attributes, refusals and odd names.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "backend.h"

namespace qm::contract {
namespace {

using platform::kOk;
namespace attr = platform::attr;

// The bits Quillmoss acts on; file systems differ in what else they report (archive, normal).
constexpr std::uint32_t kSignificant =
    attr::kReadOnly | attr::kHidden | attr::kSystem | attr::kDirectory;

class FileSystemContract : public ::testing::Test {
  protected:
    std::unique_ptr<Backend> backend_ = MakeBackend();
    platform::FileSystem& files_ = backend_->files();
    const std::string scratch_ = backend_->ScratchFolder();

    std::string In(std::string_view name) const { return scratch_ + "\\" + std::string(name); }
    void Write(std::string_view name, std::string_view contents = "data") {
        ASSERT_EQ(files_.WriteFile(In(name), contents), kOk) << name;
    }
    // Names of a listing, sorted: only the real drive's order is its own business.
    std::vector<std::string> Listed(std::string_view pattern, platform::Status expected = kOk) {
        std::vector<platform::DirEntry> entries;
        EXPECT_EQ(files_.List(In(pattern), entries), expected) << pattern;
        std::vector<std::string> names;
        for (const auto& entry : entries) names.push_back(entry.name);
        std::sort(names.begin(), names.end());
        return names;
    }
    std::uint32_t Attributes(const std::string& path) {
        std::uint32_t attributes = 0;
        EXPECT_EQ(files_.GetAttributes(path, attributes), kOk) << path;
        return attributes;
    }
    bool Exists(const std::string& path) {
        std::uint32_t attributes = 0;
        return files_.GetAttributes(path, attributes) == kOk;
    }
};

using Names = std::vector<std::string>;

TEST_F(FileSystemContract, ListingFollowsWindowsWildcardRules) {
    Write("a.txt", "12345");
    Write("B.TXT");
    Write("a.txt.bak");
    Write("noext");
    Write("ab.txt");
    ASSERT_EQ(files_.CreateDirectory(In("sub")), kOk);

    const Names everything = {".", "..", "B.TXT", "a.txt", "a.txt.bak", "ab.txt", "noext", "sub"};
    EXPECT_EQ(Listed("*"), everything);
    EXPECT_EQ(Listed("*.*"), everything);  // names without a dot too
    EXPECT_EQ(Listed("*.txt"), (Names{"B.TXT", "a.txt", "ab.txt"}));
    EXPECT_EQ(Listed("?.TXT"), (Names{"B.TXT", "a.txt"}));
    EXPECT_EQ(Listed("a*.t?t"), (Names{"a.txt", "ab.txt"}));
    EXPECT_EQ(Listed("A.TXT"), (Names{"a.txt"}));  // a plain name finds itself, case kept
    EXPECT_EQ(Listed("*.zip", platform::kErrorFileNotFound), Names{});
    EXPECT_EQ(Listed("noext.*"), Names{"noext"});  // a mask may run out in dots and stars
    EXPECT_EQ(Listed("**b**"), (Names{"B.TXT", "a.txt.bak", "ab.txt", "sub"}));

    std::vector<platform::DirEntry> entries;
    ASSERT_EQ(files_.List(In("*"), entries), kOk);
    for (const auto& entry : entries) {
        SCOPED_TRACE(entry.name);
        const bool folder = entry.name == "." || entry.name == ".." || entry.name == "sub";
        EXPECT_EQ((entry.attributes & attr::kDirectory) != 0, folder);
        EXPECT_NE(entry.attributes, 0u);
        if (entry.name == "a.txt") {
            EXPECT_EQ(entry.size, 5u);
        }
    }
    // "." and ".." lead a folder's listing.
    ASSERT_GE(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, ".");
    EXPECT_EQ(entries[1].name, "..");

    EXPECT_EQ(Listed("sub\\*"), (Names{".", ".."}));
    // The drive's root has no "." or "..".
    ASSERT_EQ(files_.List("C:\\*", entries), kOk);
    for (const auto& entry : entries) EXPECT_NE(entry.name.substr(0, 1), ".");
    EXPECT_EQ(files_.List(In("missing\\*"), entries), platform::kErrorPathNotFound);
}

TEST_F(FileSystemContract, AttributesReadBackAsSet) {
    Write("plain.txt");
    EXPECT_EQ(Attributes(In("plain.txt")) & kSignificant, 0u);
    EXPECT_NE(Attributes(In("plain.txt")), 0u);  // "no attributes" reads as normal

    ASSERT_EQ(files_.SetAttributes(In("plain.txt"), attr::kReadOnly | attr::kHidden), kOk);
    EXPECT_EQ(Attributes(In("plain.txt")) & kSignificant, attr::kReadOnly | attr::kHidden);
    std::vector<platform::DirEntry> entries;
    ASSERT_EQ(files_.List(In("plain.txt"), entries), kOk);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].attributes & kSignificant, attr::kReadOnly | attr::kHidden);

    ASSERT_EQ(files_.SetAttributes(In("plain.txt"), attr::kNormal), kOk);
    EXPECT_EQ(Attributes(In("plain.txt")) & kSignificant, 0u);

    ASSERT_EQ(files_.CreateDirectory(In("folder")), kOk);
    EXPECT_EQ(Attributes(In("folder")) & kSignificant, attr::kDirectory);
    EXPECT_EQ(Attributes(scratch_ + "\\") & kSignificant, attr::kDirectory);
    EXPECT_NE(Attributes("C:\\") & attr::kDirectory, 0u);

    std::uint32_t attributes = 0;
    EXPECT_EQ(files_.GetAttributes(In("absent.txt"), attributes), platform::kErrorFileNotFound);
    EXPECT_EQ(files_.GetAttributes(In("absent\\file.txt"), attributes),
              platform::kErrorPathNotFound);
    EXPECT_EQ(files_.SetAttributes(In("absent.txt"), 0), platform::kErrorFileNotFound);
    EXPECT_EQ(files_.GetAttributes("Q:\\nowhere\\file.txt", attributes),
              platform::kErrorPathNotFound);
}

TEST_F(FileSystemContract, DeleteRefusesReadOnlyAndHeldFiles) {
    Write("readonly.txt");
    ASSERT_EQ(files_.SetAttributes(In("readonly.txt"), attr::kReadOnly), kOk);
    EXPECT_EQ(files_.DeleteFile(In("readonly.txt")), platform::kErrorAccessDenied);
    EXPECT_TRUE(Exists(In("readonly.txt")));
    ASSERT_EQ(files_.SetAttributes(In("readonly.txt"), attr::kNormal), kOk);
    EXPECT_EQ(files_.DeleteFile(In("readonly.txt")), kOk);
    EXPECT_FALSE(Exists(In("readonly.txt")));

    Write("held.txt", "held contents");
    {
        const auto hold = backend_->Hold(In("held.txt"), HoldMode::NoDelete);
        ASSERT_NE(hold, nullptr);
        EXPECT_EQ(files_.DeleteFile(In("held.txt")), platform::kErrorSharingViolation);
        EXPECT_EQ(files_.OpenForRead(In("held.txt")), kOk);
        std::string contents;
        EXPECT_EQ(files_.ReadFile(In("held.txt"), contents), kOk);
        EXPECT_EQ(contents, "held contents");
    }
    {
        const auto hold = backend_->Hold(In("held.txt"), HoldMode::Exclusive);
        ASSERT_NE(hold, nullptr);
        EXPECT_EQ(files_.OpenForRead(In("held.txt")), platform::kErrorSharingViolation);
        std::string contents;
        EXPECT_EQ(files_.ReadFile(In("held.txt"), contents), platform::kErrorSharingViolation);
        EXPECT_EQ(files_.DeleteFile(In("held.txt")), platform::kErrorSharingViolation);
    }
    EXPECT_EQ(files_.DeleteFile(In("held.txt")), kOk);

    EXPECT_EQ(files_.DeleteFile(In("held.txt")), platform::kErrorFileNotFound);
    EXPECT_EQ(files_.DeleteFile(In("absent\\x.txt")), platform::kErrorPathNotFound);
    ASSERT_EQ(files_.CreateDirectory(In("folder")), kOk);
    EXPECT_EQ(files_.DeleteFile(In("folder")), platform::kErrorAccessDenied);
    EXPECT_TRUE(Exists(In("folder")));
}

TEST_F(FileSystemContract, FoldersAreCreatedOnceAndRemovedOnlyWhenEmpty) {
    ASSERT_EQ(files_.CreateDirectory(In("outer")), kOk);
    EXPECT_EQ(files_.CreateDirectory(In("outer")), platform::kErrorAlreadyExists);
    EXPECT_EQ(files_.CreateDirectory(In("missing\\inner")), platform::kErrorPathNotFound);
    Write("outer\\file.txt");
    EXPECT_EQ(files_.CreateDirectory(In("outer\\file.txt")), platform::kErrorAlreadyExists);

    EXPECT_EQ(files_.RemoveDirectory(In("outer")), platform::kErrorDirNotEmpty);
    EXPECT_NE(files_.RemoveDirectory(In("outer\\file.txt")), kOk);
    EXPECT_TRUE(Exists(In("outer\\file.txt")));
    ASSERT_EQ(files_.DeleteFile(In("outer\\file.txt")), kOk);
    EXPECT_EQ(files_.RemoveDirectory(In("outer")), kOk);
    EXPECT_FALSE(Exists(In("outer")));
    EXPECT_EQ(files_.RemoveDirectory(In("outer")), platform::kErrorFileNotFound);
    EXPECT_EQ(files_.RemoveDirectory(In("missing\\inner")), platform::kErrorPathNotFound);
}

TEST_F(FileSystemContract, WholeFileReadAndWrite) {
    const std::string binary("line 1\r\n\0\x01\xFF tail", 17);
    Write("data.bin", binary);
    std::string contents;
    ASSERT_EQ(files_.ReadFile(In("data.bin"), contents), kOk);
    EXPECT_EQ(contents, binary);
    Write("data.bin", "short");  // replacing truncates
    ASSERT_EQ(files_.ReadFile(In("data.bin"), contents), kOk);
    EXPECT_EQ(contents, "short");
    Write("empty.txt", "");
    ASSERT_EQ(files_.ReadFile(In("empty.txt"), contents), kOk);
    EXPECT_EQ(contents, "");

    ASSERT_EQ(files_.SetAttributes(In("data.bin"), attr::kReadOnly), kOk);
    EXPECT_EQ(files_.WriteFile(In("data.bin"), "refused"), platform::kErrorAccessDenied);
    ASSERT_EQ(files_.ReadFile(In("data.bin"), contents), kOk);
    EXPECT_EQ(contents, "short");
    ASSERT_EQ(files_.SetAttributes(In("data.bin"), attr::kNormal), kOk);

    EXPECT_EQ(files_.ReadFile(In("absent.txt"), contents), platform::kErrorFileNotFound);
    EXPECT_EQ(files_.OpenForRead(In("absent.txt")), platform::kErrorFileNotFound);
    EXPECT_EQ(files_.WriteFile(In("absent\\new.txt"), "x"), platform::kErrorPathNotFound);
    EXPECT_EQ(files_.ReadFile(In("absent\\new.txt"), contents), platform::kErrorPathNotFound);
}

TEST_F(FileSystemContract, PathsLongerThanMaxPathWorkForEveryFileOperation) {
    std::vector<std::string> folders{scratch_};
    while (folders.back().size() < 300) {
        folders.push_back(folders.back() + "\\" + std::string(60, 'd'));
        ASSERT_EQ(files_.CreateDirectory(folders.back()), kOk) << folders.back().size();
    }
    const std::string file = folders.back() + "\\deep file.txt";
    ASSERT_GT(file.size(), 260u);
    ASSERT_EQ(files_.WriteFile(file, "deep contents"), kOk);
    std::string contents;
    ASSERT_EQ(files_.ReadFile(file, contents), kOk);
    EXPECT_EQ(contents, "deep contents");
    EXPECT_EQ(files_.OpenForRead(file), kOk);
    std::vector<platform::DirEntry> entries;
    ASSERT_EQ(files_.List(folders.back() + "\\*.txt", entries), kOk);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, "deep file.txt");
    EXPECT_EQ(entries[0].size, 13u);
    ASSERT_EQ(files_.SetAttributes(file, attr::kReadOnly | attr::kHidden), kOk);
    EXPECT_EQ(Attributes(file) & kSignificant, attr::kReadOnly | attr::kHidden);
    EXPECT_EQ(files_.DeleteFile(file), platform::kErrorAccessDenied);
    ASSERT_EQ(files_.SetAttributes(file, attr::kNormal), kOk);
    EXPECT_EQ(files_.DeleteFile(file), kOk);
    for (std::size_t level = folders.size() - 1; level > 0; --level) {
        EXPECT_EQ(files_.RemoveDirectory(folders[level]), kOk) << level;
    }
    EXPECT_FALSE(Exists(folders[1]));
}

TEST_F(FileSystemContract, NamesOutsideAsciiKeepTheirLettersAndIgnoreCase) {
    const std::string name =
        "\xC3\x9C"
        "bung \xD0\xBF\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82.txt";
    const std::string other_case =
        "\xC3\xBC"
        "BUNG \xD0\x9F\xD0\xA0\xD0\x98\xD0\x92\xD0\x95\xD0\xA2.TXT";
    Write(name, "\xE2\x82\xAC");
    EXPECT_EQ(Listed("*.txt"), Names{name});
    std::string contents;
    ASSERT_EQ(files_.ReadFile(In(other_case), contents), kOk);
    EXPECT_EQ(contents, "\xE2\x82\xAC");
    EXPECT_EQ(files_.DeleteFile(In(other_case)), kOk);
    EXPECT_FALSE(Exists(In(name)));

    ASSERT_EQ(files_.CreateDirectory(In("Caf\xC3\xA9")), kOk);
    EXPECT_EQ(files_.CreateDirectory(In("CAF\xC3\x89")), platform::kErrorAlreadyExists);
    EXPECT_EQ(files_.RemoveDirectory(In("caf\xC3\xA9")), kOk);
}

}  // namespace
}  // namespace qm::contract
