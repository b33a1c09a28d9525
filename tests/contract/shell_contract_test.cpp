// The special folders, as every cleaner finds its places through them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "backend.h"

namespace qm::contract {
namespace {

using platform::kOk;

TEST(ShellContract, ProfileFoldersResolveToExistingFoldersThroughBothLookups) {
    std::unique_ptr<Backend> backend = MakeBackend();
    platform::Shell& shell = backend->shell();
    for (const int csidl : {platform::csidl::kAppData, platform::csidl::kInternetCache,
                            platform::csidl::kCookies, platform::csidl::kHistory}) {
        const char* profile = std::getenv("USERPROFILE");
        SCOPED_TRACE("CSIDL " + std::to_string(csidl) +
                     ", USERPROFILE=" + (profile != nullptr ? profile : "(none)"));
        std::string by_path, by_location;
        ASSERT_EQ(shell.GetFolderPath(csidl, by_path), kOk);
        ASSERT_GE(by_path.size(), 3u);
        EXPECT_EQ(by_path[1], ':') << by_path;
        EXPECT_NE(by_path.back(), '\\') << by_path;
        std::uint32_t attributes = 0;
        ASSERT_EQ(backend->files().GetAttributes(by_path, attributes), kOk) << by_path;
        EXPECT_NE(attributes & platform::attr::kDirectory, 0u) << by_path;
        ASSERT_EQ(shell.GetSpecialFolderLocationPath(csidl, by_location), kOk);
        EXPECT_EQ(by_location, by_path);
    }
    constexpr int kNoSuchFolder = 0x70;
    std::string path;
    EXPECT_NE(shell.GetFolderPath(kNoSuchFolder, path), kOk);
    EXPECT_NE(shell.GetSpecialFolderLocationPath(kNoSuchFolder, path), kOk);
}

}  // namespace
}  // namespace qm::contract
