// Special folders and the silent copy, as the cleaners and the upgrade rely on them.
#include <gtest/gtest.h>

#include <string>

#include "backend.h"

namespace qm::contract {
namespace {

using platform::kOk;

class ShellContract : public ::testing::Test {
  protected:
    std::unique_ptr<Backend> backend_ = MakeBackend();
    platform::Shell& shell_ = backend_->shell();
    platform::FileSystem& files_ = backend_->files();
};

TEST_F(ShellContract, ProfileFoldersResolveToExistingFoldersThroughBothLookups) {
    for (const int csidl : {platform::csidl::kAppData, platform::csidl::kInternetCache,
                            platform::csidl::kCookies, platform::csidl::kHistory}) {
        SCOPED_TRACE("CSIDL " + std::to_string(csidl));
        std::string by_path;
        ASSERT_EQ(shell_.GetFolderPath(csidl, by_path), kOk);
        ASSERT_GE(by_path.size(), 3u);
        EXPECT_EQ(by_path[1], ':') << by_path;
        EXPECT_NE(by_path.back(), '\\') << by_path;

        std::uint32_t attributes = 0;
        ASSERT_EQ(files_.GetAttributes(by_path, attributes), kOk) << by_path;
        EXPECT_NE(attributes & platform::attr::kDirectory, 0u) << by_path;

        std::string by_location;
        ASSERT_EQ(shell_.GetSpecialFolderLocationPath(csidl, by_location), kOk);
        EXPECT_EQ(by_location, by_path);
    }
}

TEST_F(ShellContract, UnknownFolderNumberFailsBothLookups) {
    constexpr int kNoSuchFolder = 0x70;
    std::string path = "unchanged";
    EXPECT_NE(shell_.GetFolderPath(kNoSuchFolder, path), kOk);
    EXPECT_NE(shell_.GetSpecialFolderLocationPath(kNoSuchFolder, path), kOk);
}

TEST_F(ShellContract, SilentCopyCreatesThenOverwritesTheTarget) {
    const std::string folder = backend_->ScratchFolder();
    const std::string source = folder + "\\qms.exe";
    // A name outside the ANSI code page: the copy must not mangle it on the way.
    const std::string target = folder + "\\Quillmoss \xC3\xBC\xE2\x82\xAC.exe";

    ASSERT_EQ(files_.WriteFile(source, "first build"), kOk);
    bool aborted = true;
    ASSERT_EQ(shell_.CopyFileSilent(source, target, aborted), kOk);
    EXPECT_FALSE(aborted);
    std::string copied;
    ASSERT_EQ(files_.ReadFile(target, copied), kOk);
    EXPECT_EQ(copied, "first build");

    // The upgrade copies a new program over the installed one without asking.
    ASSERT_EQ(files_.WriteFile(source, "second, longer build"), kOk);
    aborted = true;
    ASSERT_EQ(shell_.CopyFileSilent(source, target, aborted), kOk);
    EXPECT_FALSE(aborted);
    ASSERT_EQ(files_.ReadFile(target, copied), kOk);
    EXPECT_EQ(copied, "second, longer build");

    std::string original;
    ASSERT_EQ(files_.ReadFile(source, original), kOk);
    EXPECT_EQ(original, "second, longer build");
}

TEST_F(ShellContract, SilentCopyOfMissingSourceFailsAndCreatesNothing) {
    const std::string folder = backend_->ScratchFolder();
    const std::string target = folder + "\\target.exe";
    bool aborted = false;
    const platform::Status status = shell_.CopyFileSilent(folder + "\\absent.exe", target, aborted);
    EXPECT_TRUE(status != kOk || aborted);
    std::uint32_t attributes = 0;
    EXPECT_NE(files_.GetAttributes(target, attributes), kOk);
}

}  // namespace
}  // namespace qm::contract
