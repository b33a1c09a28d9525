// The simulated machine's own test-only features: virtual time, the scripted user, the
// deletion record and files held open by another program (a read-only HKLM is checked
// through the settings store).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/machine.h"

namespace qm::sim {
namespace {

using platform::kOk;
using platform::RegKey;
using platform::RegType;
using platform::Root;

TEST(SimMachine, PumpsMoveVirtualTimeToTheNextEventInSmallSteps) {
    Machine machine;
    const std::uint32_t start = machine.now();
    machine.loop().PumpPending();
    EXPECT_EQ(machine.now() - start, 16u);  // nothing due: one frame

    std::vector<std::string> events;
    machine.loop().StartTimer(
        7, 1000, [&] { events.push_back("tick@" + std::to_string(machine.now() - start)); });
    machine.At(1000 - 16,
               [&] { events.push_back("user@" + std::to_string(machine.now() - start)); });
    while (machine.now() - start < 3016) machine.loop().PumpPending();
    // The user action was scheduled first for the same moment, so it runs first.
    EXPECT_EQ(events,
              (std::vector<std::string>{"user@1000", "tick@1016", "tick@2016", "tick@3016"}));
    EXPECT_LT(machine.pumps(), 250u);  // far fewer than one pump per millisecond

    // Restarting a running timer starts its interval again; a tick may stop its own timer.
    events.clear();
    const std::uint32_t restart = machine.now();
    machine.loop().StartTimer(7, 500, [&] {
        events.push_back("restarted@" + std::to_string(machine.now() - restart));
        machine.loop().StopTimer(7);
    });
    for (int i = 0; i < 200; ++i) machine.loop().PumpPending();
    EXPECT_EQ(events, (std::vector<std::string>{"restarted@500"}));
    EXPECT_FALSE(machine.TimerRunning(7));
}

TEST(SimMachine, TickCountWrapsWithoutDisturbingTimers) {
    Machine machine;
    machine.SetTickCount(0xFFFFFF00u);
    int ticks = 0;
    machine.loop().StartTimer(1, 200, [&] { ++ticks; });
    for (int i = 0; i < 30; ++i) machine.loop().PumpPending();
    EXPECT_EQ(ticks, 2);
    EXPECT_LT(machine.now(), 0x1000u);  // wrapped past zero
    EXPECT_EQ(machine.system().GetTickCount(), machine.now());

    // A tick that pumps (a wait inside a timer handler) is not re-entered, while other
    // timers and the scripted user still get their turn during its wait.
    int depth = 0;
    int deepest = 0;
    int others = 0;
    machine.loop().StopTimer(1);
    machine.loop().StartTimer(2, 10, [&] {
        deepest = std::max(deepest, ++depth);
        for (int i = 0; i < 10; ++i) machine.loop().PumpPending();
        --depth;
    });
    machine.loop().StartTimer(3, 50, [&] { ++others; });
    for (int i = 0; i < 5; ++i) machine.loop().PumpPending();
    EXPECT_EQ(deepest, 1);
    EXPECT_GE(others, 2);
}

TEST(SimMachine, ScriptedUserAnswersBoxesInOrderAndReactsWhileOpen) {
    Machine machine;
    namespace mb = platform::mb;
    machine.AnswerNextBox(mb::kIdNo);
    bool reacted_while_open = false;
    machine.WhileNextBox([&] { reacted_while_open = machine.boxes().size() == 1; });
    EXPECT_EQ(machine.dialogs().MessageBox("Clean now?", "Quillmoss", mb::kYesNo), mb::kIdNo);
    EXPECT_TRUE(reacted_while_open);
    // Unscripted boxes get their default button: the first, or the second with MB_DEFBUTTON2.
    EXPECT_EQ(machine.dialogs().MessageBox("Done", "Quillmoss", mb::kOk), mb::kIdOk);
    EXPECT_EQ(machine.dialogs().MessageBox("Sure?", "Q", mb::kYesNo | mb::kIconQuestion),
              mb::kIdYes);
    EXPECT_EQ(machine.dialogs().MessageBox("Sure?", "Q", mb::kOkCancel | 0x100), mb::kIdCancel);
    EXPECT_EQ(machine.unscripted_boxes(), 3);
    ASSERT_EQ(machine.boxes().size(), 4u);
    // Text, caption and style of the record are checked wherever the clean run asks.
    EXPECT_EQ(machine.boxes()[0].answer, mb::kIdNo);
    EXPECT_EQ(machine.boxes()[3].answer, mb::kIdCancel);
}

TEST(SimMachine, RecordsEveryDeletionWithStoredNames) {
    Machine machine;
    machine.AddFile("C:\\Temp\\Sub\\One.TXT", "1");
    machine.ClearDeletions();
    platform::FileSystem& files = machine.files();
    ASSERT_EQ(files.DeleteFile("c:\\temp\\sub\\one.txt"), kOk);
    ASSERT_EQ(files.RemoveDirectory("C:/TEMP/SUB"), kOk);
    EXPECT_NE(files.DeleteFile("C:\\Temp\\absent.txt"), kOk);  // failures are not recorded

    platform::Registry& registry = machine.registry();
    RegKey key = 0;
    ASSERT_EQ(registry.CreateKey(Root::CurrentUser, "Software\\Typed\\URLs", key), kOk);
    ASSERT_EQ(registry.SetValue(key, "Url1", RegType::Sz, {}), kOk);
    ASSERT_EQ(registry.DeleteValue(key, "URL1"), kOk);
    registry.CloseKey(key);
    ASSERT_EQ(registry.DeleteKey(Root::CurrentUser, "software\\typed\\urls"), kOk);
    EXPECT_EQ(machine.open_registry_keys(), 0u);

    using Kind = Deletion::Kind;
    const std::vector<Deletion>& gone = machine.deletions();
    ASSERT_EQ(gone.size(), 4u);
    EXPECT_EQ(gone[0].kind, Kind::File);
    EXPECT_EQ(gone[0].path, "C:\\Temp\\Sub\\One.TXT");
    EXPECT_EQ(gone[1].kind, Kind::Folder);
    EXPECT_EQ(gone[1].path, "C:\\Temp\\Sub");
    EXPECT_EQ(gone[2].kind, Kind::RegistryValue);
    EXPECT_EQ(gone[2].path, "HKCU\\Software\\Typed\\URLs");
    EXPECT_EQ(gone[2].value_name, "Url1");
    EXPECT_EQ(gone[3].kind, Kind::RegistryKey);
    EXPECT_EQ(gone[3].path, "HKCU\\Software\\Typed\\URLs");
}

TEST(SimMachine, LockModesDecideWhatOtherProgramsCanDo) {
    // Reads, deletes and opens of held files are in the file-system contract; these are not.
    Machine machine;
    machine.AddFile("C:\\Temp\\index.dat", "cache", platform::attr::kHidden);
    platform::FileSystem& files = machine.files();
    machine.Lock("C:\\Temp\\index.dat", LockMode::NoDelete);
    EXPECT_EQ(files.WriteFile("C:\\Temp\\index.dat", "x"), platform::kErrorSharingViolation);
    machine.Lock("C:\\Temp\\index.dat", LockMode::Exclusive);
    bool aborted = false;
    EXPECT_EQ(machine.shell().CopyFileSilent("C:\\Temp\\other.dat", "C:\\Temp\\index.dat", aborted),
              platform::kErrorFileNotFound);
    // A folder someone works in cannot be removed either.
    machine.AddFolder("C:\\Busy");
    machine.Lock("C:\\Busy");
    EXPECT_EQ(files.RemoveDirectory("C:\\Busy"), platform::kErrorSharingViolation);

    machine.Unlock("C:\\Temp\\index.dat");
    machine.Unlock("C:\\Busy");
    EXPECT_EQ(files.DeleteFile("C:\\Temp\\index.dat"), kOk);
    EXPECT_EQ(files.RemoveDirectory("C:\\Busy"), kOk);
    EXPECT_THROW(machine.Lock("C:\\Temp\\index.dat"), std::invalid_argument);
}

TEST(SimMachine, FilesBehaveAsWindowsWhereWineCannotShowIt) {
    Machine machine;
    platform::FileSystem& files = machine.files();
    // A read-only file is never replaced (Wine running as root would allow it).
    machine.AddFile("C:\\Locked\\ro.txt", "old", platform::attr::kReadOnly);
    EXPECT_EQ(files.WriteFile("C:\\Locked\\ro.txt", "new"), platform::kErrorAccessDenied);
    // A read-only folder keeps its flag and is not removed (Wine ignores the flag on folders).
    machine.AddFolder("C:\\Custom", platform::attr::kReadOnly);
    std::uint32_t attributes = 0;
    ASSERT_EQ(files.GetAttributes("C:\\Custom", attributes), kOk);
    EXPECT_EQ(attributes, platform::attr::kDirectory | platform::attr::kReadOnly);
    EXPECT_EQ(files.RemoveDirectory("C:\\Custom"), platform::kErrorAccessDenied);
    // A file set up with no attributes reports "normal"; a newly written one "archive".
    machine.AddFile("C:\\bare.txt");
    ASSERT_EQ(files.GetAttributes("C:\\bare.txt", attributes), kOk);
    EXPECT_EQ(attributes, platform::attr::kNormal);
    ASSERT_EQ(files.WriteFile("C:\\written.txt", ""), kOk);
    ASSERT_EQ(files.GetAttributes("C:\\written.txt", attributes), kOk);
    EXPECT_EQ(attributes, platform::attr::kArchive);
    // The root lists no "." and "..", and listings are in upper-cased name order.
    std::vector<platform::DirEntry> entries;
    ASSERT_EQ(files.List("C:\\*", entries), kOk);
    std::vector<std::string> names;
    for (const auto& entry : entries) names.push_back(entry.name);
    EXPECT_EQ(names,
              (std::vector<std::string>{"bare.txt", "Custom", "Documents and Settings", "Locked",
                                        "Program Files", "RECYCLER", "WINDOWS", "written.txt"}));
    // Win32 path clean-up: "." and "..", trailing dots and the long-path prefix.
    EXPECT_TRUE(machine.Exists("C:\\Locked\\.\\..\\Locked\\ro.txt."));
    EXPECT_TRUE(machine.Exists("\\\\?\\C:\\Locked\\ro.txt"));
    EXPECT_EQ(files.GetAttributes("D:\\ro.txt", attributes), platform::kErrorPathNotFound);
    EXPECT_EQ(files.WriteFile("C:\\Locked\\bad|name.txt", ""), platform::kErrorInvalidName);
}

TEST(SimMachine, SilentCopyMakesTargetFoldersButNotACopyIntoItself) {
    // Replacing an existing file is in the shell contract; whole folders are not.
    Machine machine;
    machine.AddFile("C:\\Download\\qms.exe", "new build", platform::attr::kArchive);
    bool aborted = true;
    ASSERT_EQ(machine.shell().CopyFileSilent("C:\\Download", "C:\\Backup\\Deep\\Download", aborted),
              kOk);
    EXPECT_FALSE(aborted);
    EXPECT_TRUE(machine.Exists("C:\\Backup\\Deep\\Download\\qms.exe"));
    EXPECT_NE(machine.shell().CopyFileSilent("C:\\Backup", "C:\\Backup\\Deep\\Inside", aborted),
              kOk);
    EXPECT_TRUE(machine.deletions().empty());
}

}  // namespace
}  // namespace qm::sim
