// The simulated machine's own test-only features: virtual time, the scripted user, the
// deletion record, a read-only HKLM and files held open by another program.
#include <gtest/gtest.h>

#include "platform/sim/machine.h"

namespace qm::sim {
namespace {

TEST(SimMachine, StartsAsAnXpMachineWithTheProfileFolders) {
    Machine machine;
    std::string path;
    ASSERT_EQ(machine.shell().GetFolderPath(platform::csidl::kCookies, path), platform::kOk);
    EXPECT_EQ(path, "C:\\Documents and Settings\\Tester\\Cookies");
    EXPECT_TRUE(machine.Exists(path));
}

}  // namespace
}  // namespace qm::sim
