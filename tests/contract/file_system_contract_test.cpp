// Files and folders as the cleaners meet them: listings, attributes, refusals and odd names.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "backend.h"
#include "paths/ascii_case.h"

namespace qm::contract {
namespace {

using platform::kErrorAccessDenied;
using platform::kErrorFileNotFound;
using platform::kErrorPathNotFound;
using platform::kErrorSharingViolation;
using platform::kOk;
using Names = std::vector<std::string>;
namespace attr = platform::attr;

// The bits Quillmoss acts on; file systems differ in what else they report (archive, normal).
constexpr std::uint32_t kSignificant =
    attr::kReadOnly | attr::kHidden | attr::kSystem | attr::kDirectory | attr::kReparsePoint;

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
    Names Listed(std::string_view pattern, platform::Status expected = kOk) {
        std::vector<platform::DirEntry> entries;
        EXPECT_EQ(files_.List(In(pattern), entries), expected) << pattern;
        Names names;
        for (const auto& entry : entries) names.push_back(entry.name);
        std::sort(names.begin(), names.end());
        return names;
    }
    std::uint32_t Significant(const std::string& path, platform::Status expected = kOk) {
        std::uint32_t attributes = 0;
        EXPECT_EQ(files_.GetAttributes(path, attributes), expected) << path;
        return attributes & kSignificant;
    }
    std::string Read(const std::string& path) {
        std::string contents;
        EXPECT_EQ(files_.ReadFile(path, contents), kOk) << path;
        return contents;
    }
};

TEST_F(FileSystemContract, ListingFollowsWindowsWildcardRules) {
    for (const char* name : {"a.txt", "B.TXT", "a.txt.bak", "noext", "ab.txt"}) Write(name);
    ASSERT_EQ(files_.CreateDirectory(In("sub")), kOk);
    const Names everything = {".", "..", "B.TXT", "a.txt", "a.txt.bak", "ab.txt", "noext", "sub"};
    const std::pair<const char*, Names> cases[] = {
        {"*", everything},
        {"*.*", everything},  // names without a dot too
        {"*.txt", {"B.TXT", "a.txt", "ab.txt"}},
        {"?.TXT", {"B.TXT", "a.txt"}},
        {"a*.t?t", {"a.txt", "ab.txt"}},
        {"A.TXT", {"a.txt"}},    // a plain name finds itself, case kept
        {"noext.*", {"noext"}},  // a mask may run out in dots and stars
        {"**b**", {"B.TXT", "a.txt.bak", "ab.txt", "sub"}},
        {"sub\\*", {".", ".."}},
    };
    for (const auto& [mask, names] : cases) EXPECT_EQ(Listed(mask), names) << mask;
    EXPECT_EQ(Listed("*.zip", kErrorFileNotFound), Names{});

    std::vector<platform::DirEntry> entries;
    ASSERT_EQ(files_.List(In("*"), entries), kOk);
    for (const auto& entry : entries) {
        const bool folder = entry.name == "." || entry.name == ".." || entry.name == "sub";
        EXPECT_EQ((entry.attributes & attr::kDirectory) != 0, folder) << entry.name;
    }
    ASSERT_EQ(files_.List("C:\\*", entries), kOk);  // the drive's root has no "." or ".."
    for (const auto& entry : entries) EXPECT_NE(entry.name.substr(0, 1), ".");
    EXPECT_EQ(files_.List(In("missing\\*"), entries), kErrorPathNotFound);
}

TEST_F(FileSystemContract, AttributesReadBackAndDeleteRefusesReadOnlyHeldFilesAndFolders) {
    Write("readonly.txt");
    EXPECT_EQ(Significant(In("readonly.txt")), 0u);
    ASSERT_EQ(files_.SetAttributes(In("readonly.txt"), attr::kReadOnly | attr::kHidden), kOk);
    EXPECT_EQ(Significant(In("readonly.txt")), attr::kReadOnly | attr::kHidden);
    EXPECT_EQ(files_.DeleteFile(In("readonly.txt")), kErrorAccessDenied);
    EXPECT_EQ(files_.WriteFile(In("readonly.txt"), "refused"), kErrorAccessDenied);
    EXPECT_EQ(Read(In("readonly.txt")), "data");
    ASSERT_EQ(files_.SetAttributes(In("readonly.txt"), attr::kNormal), kOk);
    EXPECT_EQ(Significant(In("readonly.txt")), 0u);
    Significant(In("absent.txt"), kErrorFileNotFound);
    Write("forced.txt");
    ASSERT_EQ(files_.SetAttributes(In("forced.txt"), attr::kReadOnly | attr::kSystem), kOk);
    EXPECT_EQ(files_.ForceDeleteFile(In("forced.txt")), kOk);
    Significant(In("forced.txt"), kErrorFileNotFound);
    Significant(In("absent\\file.txt"), kErrorPathNotFound);

    Write("held.txt", "held contents");
    {
        const auto hold = backend_->Hold(In("held.txt"), HoldMode::NoDelete);
        ASSERT_NE(hold, nullptr);
        EXPECT_EQ(files_.DeleteFile(In("held.txt")), kErrorSharingViolation);
        EXPECT_EQ(files_.ForceDeleteFile(In("held.txt")), kErrorSharingViolation);
        // The same refusal, learnt without deleting: what a preview relies on.
        EXPECT_EQ(files_.OpenForDelete(In("held.txt")), kErrorSharingViolation);
        EXPECT_EQ(files_.OpenForRead(In("held.txt")), kOk);
        EXPECT_EQ(Read(In("held.txt")), "held contents");
    }
    {
        const auto hold = backend_->Hold(In("held.txt"), HoldMode::Exclusive);
        ASSERT_NE(hold, nullptr);
        std::string contents;
        EXPECT_EQ(files_.OpenForRead(In("held.txt")), kErrorSharingViolation);
        EXPECT_EQ(files_.ReadFile(In("held.txt"), contents), kErrorSharingViolation);
        EXPECT_EQ(files_.DeleteFile(In("held.txt")), kErrorSharingViolation);
    }
    EXPECT_EQ(files_.OpenForDelete(In("held.txt")), kOk);
    EXPECT_EQ(Read(In("held.txt")), "held contents");
    EXPECT_EQ(files_.DeleteFile(In("held.txt")), kOk);
    EXPECT_EQ(files_.OpenForDelete(In("held.txt")), kErrorFileNotFound);
    EXPECT_EQ(files_.DeleteFile(In("absent\\x.txt")), kErrorPathNotFound);
    EXPECT_EQ(files_.ForceDeleteFile(In("absent\\x.txt")), kErrorPathNotFound);
    ASSERT_EQ(files_.CreateDirectory(In("folder")), kOk);
    EXPECT_EQ(files_.DeleteFile(In("folder")), kErrorAccessDenied);
    EXPECT_EQ(files_.OpenForDelete(In("folder")), kOk);
    EXPECT_EQ(Significant(In("folder")), attr::kDirectory);
}

TEST_F(FileSystemContract, ANewFileTakesAnOldOnesPlaceInOneStepOrNotAtAll) {
    const std::string program("MZ\0\x90 new program", 16);
    ASSERT_EQ(files_.WriteFileThrough(In("fresh.exe"), program), kOk);
    EXPECT_EQ(Read(In("fresh.exe")), program);
    Write("installed.exe", "old program");
    {
        // Held open as a running program's reader would hold it: nothing moves.
        const auto hold = backend_->Hold(In("installed.exe"), HoldMode::NoDelete);
        EXPECT_NE(files_.ReplaceFile(In("installed.exe"), In("fresh.exe"), In("old.exe")), kOk);
        EXPECT_NE(files_.MoveFileReplacing(In("fresh.exe"), In("installed.exe")), kOk);
    }
    EXPECT_EQ(Read(In("installed.exe")) + Read(In("fresh.exe")), "old program" + program);
    Significant(In("old.exe"), kErrorFileNotFound);
    EXPECT_NE(files_.ReplaceFile(In("absent.exe"), In("fresh.exe"), In("old.exe")), kOk);
    EXPECT_EQ(Read(In("fresh.exe")), program);

    ASSERT_EQ(files_.ReplaceFile(In("installed.exe"), In("fresh.exe"), In("old.exe")), kOk);
    EXPECT_EQ(Read(In("installed.exe")) + Read(In("old.exe")), program + "old program");
    Significant(In("fresh.exe"), kErrorFileNotFound);
    // The way back, over the file in place, then onto a name no file has.
    ASSERT_EQ(files_.MoveFileReplacing(In("old.exe"), In("installed.exe")), kOk);
    ASSERT_EQ(files_.MoveFileReplacing(In("installed.exe"), In("moved.exe")), kOk);
    EXPECT_EQ(Read(In("moved.exe")), "old program");
    Significant(In("old.exe"), kErrorFileNotFound);
    Significant(In("installed.exe"), kErrorFileNotFound);
    EXPECT_EQ(files_.MoveFileReplacing(In("absent.exe"), In("moved.exe")), kErrorFileNotFound);
}

TEST_F(FileSystemContract, OpeningManyForDeleteAnswersEachInItsPlace) {
    // Enough paths for every helper thread to take some; the refusals sit among them.
    std::vector<std::string> paths;
    for (int i = 0; i < 40; ++i) {
        const std::string name = "many" + std::to_string(i) + ".txt";
        Write(name);
        paths.push_back(In(name));
    }
    ASSERT_EQ(files_.CreateDirectory(In("folder")), kOk);
    paths[7] = In("absent.txt");
    paths[23] = In("folder");
    paths[31] = In("absent\\x.txt");
    const auto hold = backend_->Hold(paths[17], HoldMode::NoDelete);
    ASSERT_NE(hold, nullptr);
    std::vector<platform::Status> expected(paths.size(), kOk);
    expected[7] = kErrorFileNotFound;
    expected[17] = kErrorSharingViolation;
    expected[31] = kErrorPathNotFound;
    const std::vector<std::string_view> views(paths.begin(), paths.end());
    for (int round = 0; round < 3; ++round) {
        std::vector<platform::Status> results(paths.size(), -1);
        files_.OpenEachForDelete(views, results);
        EXPECT_EQ(results, expected);
    }
    std::vector<platform::Status> none;
    files_.OpenEachForDelete({}, none);
    EXPECT_EQ(Read(paths[17]), "data");
}

TEST_F(FileSystemContract, FoldersGoOnlyWhenEmptyAndFilesKeepEveryByte) {
    ASSERT_EQ(files_.CreateDirectory(In("outer")), kOk);
    EXPECT_EQ(files_.CreateDirectory(In("outer")), platform::kErrorAlreadyExists);
    EXPECT_EQ(files_.CreateDirectory(In("missing\\inner")), kErrorPathNotFound);
    Write("outer\\file.txt");
    EXPECT_EQ(files_.RemoveDirectory(In("outer")), platform::kErrorDirNotEmpty);
    ASSERT_EQ(files_.DeleteFile(In("outer\\file.txt")), kOk);
    EXPECT_EQ(files_.RemoveDirectory(In("outer")), kOk);
    EXPECT_EQ(files_.RemoveDirectory(In("outer")), kErrorFileNotFound);

    const std::string binary("line 1\r\n\0\x01\xFF tail", 17);
    Write("data.bin", binary);
    EXPECT_EQ(Read(In("data.bin")), binary);
    Write("data.bin", "short");
    EXPECT_EQ(Read(In("data.bin")), "short");
    EXPECT_EQ(files_.WriteFile(In("absent\\new.txt"), "x"), kErrorPathNotFound);
}

TEST_F(FileSystemContract, PathsLongerThanMaxPathWorkForEveryFileOperation) {
    std::vector<std::string> folders{std::string(60, 'd')};  // relative to the scratch folder
    while (In(folders.back()).size() < 300) folders.push_back(folders.back() + "\\" + folders[0]);
    for (const std::string& folder : folders) ASSERT_EQ(files_.CreateDirectory(In(folder)), kOk);
    const std::string file = In(folders.back() + "\\deep file.txt");
    ASSERT_EQ(files_.WriteFile(file, "deep contents"), kOk);
    EXPECT_EQ(Read(file), "deep contents");
    EXPECT_EQ(Listed(folders.back() + "\\*.txt"), Names{"deep file.txt"});
    ASSERT_EQ(files_.SetAttributes(file, attr::kReadOnly), kOk);
    EXPECT_EQ(files_.DeleteFile(file), kErrorAccessDenied);
    ASSERT_EQ(files_.SetAttributes(file, attr::kNormal), kOk);
    EXPECT_EQ(files_.DeleteFile(file), kOk);
    for (auto level = folders.rbegin(); level != folders.rend(); ++level)
        EXPECT_EQ(files_.RemoveDirectory(In(*level)), kOk);
}

TEST_F(FileSystemContract, NamesOutsideAsciiKeepTheirLettersAndIgnoreCase) {
    const std::string name = "\xC3\x9Cnter \xD0\xBF\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82.txt";
    const std::string upper = "\xC3\xBCNTER \xD0\x9F\xD0\xA0\xD0\x98\xD0\x92\xD0\x95\xD0\xA2.TXT";
    Write(name, "\xE2\x82\xAC");
    EXPECT_EQ(Listed("*.txt"), Names{name});
    EXPECT_EQ(Read(In(upper)), "\xE2\x82\xAC");
    EXPECT_EQ(files_.DeleteFile(In(upper)), kOk);
    Significant(In(name), kErrorFileNotFound);
    ASSERT_EQ(files_.CreateDirectory(In("Caf\xC3\xA9")), kOk);
    EXPECT_EQ(files_.CreateDirectory(In("CAF\xC3\x89")), platform::kErrorAlreadyExists);
}

// Another drive's name, a link and another spelling all open the one folder; the link shows
// as one and goes alone.
TEST_F(FileSystemContract, EveryNameOfAFolderHasItsIdentityAndALinkGoesAlone) {
    for (const char* name : {"one", "two"}) ASSERT_EQ(files_.CreateDirectory(In(name)), kOk);
    Write("one\\kept.txt", "kept");
    if (!backend_->MakeFolderLink(In("link"), In("one"))) GTEST_SKIP() << "no folder links here";
    const std::string other_name = backend_->OtherNameOf(In("one"));
    platform::FileIdentity one, other;
    ASSERT_EQ(files_.GetIdentity(In("one"), one), kOk);
    for (const std::string& path : {other_name, In("link"), In("two\\..\\ONE\\.")}) {
        EXPECT_EQ(files_.GetIdentity(path, other), kOk) << path;
        EXPECT_EQ(other, one) << path;
    }
    ASSERT_EQ(files_.GetIdentity(In("two"), other), kOk);
    EXPECT_NE(other, one);
    EXPECT_EQ(files_.GetIdentity(In("absent"), other), kErrorFileNotFound);
    Names roots;
    const Names expected = {"C:\\", other_name.substr(0, 3)};  // Z:, after C:
    ASSERT_EQ(files_.ListDriveRoots(roots), kOk);
    EXPECT_TRUE(std::includes(roots.begin(), roots.end(), expected.begin(), expected.end()));

    std::vector<platform::DirEntry> entries;
    ASSERT_EQ(files_.List(In("link"), entries), kOk);
    EXPECT_EQ(entries.at(0).attributes & kSignificant, attr::kDirectory | attr::kReparsePoint);
    EXPECT_EQ(Significant(In("link")), attr::kDirectory | attr::kReparsePoint);
    EXPECT_EQ(Read(In("link\\kept.txt")), "kept");
    // Wine 8 cannot remove what it shows as a link (a unix symbolic link): it refuses, or
    // removes an empty target instead.
    const platform::Status removed = files_.RemoveDirectory(In("link"));
    EXPECT_TRUE(removed == kOk || backend_->IsReal()) << removed;
    if (removed == kOk) Significant(In("link"), kErrorFileNotFound);
    EXPECT_EQ(Read(In("one\\kept.txt")), "kept");
}

// The final path goes round the link to where the folder lies, in plain form.
TEST_F(FileSystemContract, FinalPathLeadsPastFolderLinks) {
    ASSERT_EQ(files_.CreateDirectory(In("real")), kOk);
    ASSERT_EQ(files_.CreateDirectory(In("real\\sub")), kOk);
    if (!backend_->MakeFolderLink(In("link"), In("real"))) GTEST_SKIP() << "no folder links here";
    std::string final_path;
    ASSERT_EQ(files_.GetFinalPath(In("link\\sub"), final_path), kOk);
    const std::string upper = paths::UpperAscii(final_path);
    EXPECT_FALSE(upper.starts_with("\\\\?\\")) << final_path;
    EXPECT_EQ(upper.find("\\LINK"), std::string::npos) << final_path;
    EXPECT_TRUE(upper.ends_with("\\REAL\\SUB")) << final_path;
    platform::FileIdentity real, found;
    ASSERT_EQ(files_.GetIdentity(In("real\\sub"), real), kOk);
    ASSERT_EQ(files_.GetIdentity(final_path, found), kOk) << final_path;
    EXPECT_EQ(found, real) << final_path;
    EXPECT_EQ(files_.GetFinalPath(In("absent"), final_path), kErrorFileNotFound);
}

// Other systems make such names; one that cannot be deleted by its listed name would stop a
// whole folder's clean.
TEST_F(FileSystemContract, NamesEndingInADotOrABlankAreDeletedByTheirListedName) {
    for (const char* name : {"trail.", "sp ", "z after.txt"})
        EXPECT_EQ(files_.WriteFile("\\\\?\\" + In(name), "x"), kOk) << name;
    EXPECT_EQ(Listed("*"), (Names{".", "..", "sp ", "trail.", "z after.txt"}));
    for (const std::string& name : Listed("*")) {
        if (name == "." || name == "..") continue;
        EXPECT_EQ(files_.DeleteFile(In(name)), kOk) << name;
    }
    EXPECT_EQ(Listed("*"), (Names{".", ".."}));
}

// A compound file's streams read back byte for byte; what is no compound file, a stream it does
// not hold and a file another program writes are each told apart.
TEST_F(FileSystemContract, CompoundStreamsReadBackAndWhatIsNoCompoundFileIsToldApart) {
    const std::string list = In("1b4dd67f29cb1962.automaticDestinations-ms");
    const std::string header("\x04\0\0\0\x02\0\0\0\x01\0\0\0", 12);
    ASSERT_TRUE(backend_->MakeCompoundFile(list, {{"DestList", header}, {"1", "link"}}));
    std::string contents;
    EXPECT_EQ(files_.ReadCompoundStream(list, "DestList", contents), kOk);
    EXPECT_EQ(contents, header);
    EXPECT_EQ(files_.ReadCompoundStream(list, "1", contents), kOk);
    EXPECT_EQ(contents, "link");
    EXPECT_EQ(files_.ReadCompoundStream(list, "2", contents), kErrorFileNotFound);
    EXPECT_EQ(files_.ReadCompoundStream(In("missing"), "DestList", contents), kErrorFileNotFound);
    Write("plain.automaticDestinations-ms", std::string(4096, 'x'));
    EXPECT_EQ(files_.ReadCompoundStream(In("plain.automaticDestinations-ms"), "DestList", contents),
              platform::kErrorInvalidData);
    {
        const auto hold = backend_->Hold(list, HoldMode::Exclusive);
        ASSERT_TRUE(hold);
        EXPECT_EQ(files_.ReadCompoundStream(list, "DestList", contents), kErrorSharingViolation);
    }
    EXPECT_EQ(files_.DeleteFile(list), kOk) << "the reads left the file closed";
}

}  // namespace
}  // namespace qm::contract
