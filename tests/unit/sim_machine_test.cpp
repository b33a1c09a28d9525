// The simulated machine's own test-only features: virtual time, the scripted user, the
// deletion record, files held open by another program and the Windows file rules Wine cannot
// show (a read-only HKLM is checked through the settings store).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "platform/sim/machine.h"

namespace qm::sim {
namespace {

using platform::kOk;
using platform::RegKey;
using platform::Root;

TEST(SimMachine, PumpsMoveVirtualTimeToTheNextEventInSmallSteps) {
    Machine machine;
    const std::uint32_t start = machine.now();
    machine.loop().PumpPending();
    EXPECT_EQ(machine.now() - start, 16u);  // nothing due: one frame
    std::vector<std::string> events;
    const auto record = [&](const char* what) {
        events.push_back(what + std::to_string(machine.now() - start));
    };
    machine.loop().StartTimer(7, 1000, [&] { record("tick@"); });
    machine.At(1000 - 16, [&] { record("user@"); });
    while (machine.now() - start < 2016) machine.loop().PumpPending();
    // The user action was scheduled first for the same moment, so it runs first.
    EXPECT_EQ(events, (std::vector<std::string>{"user@1000", "tick@1016", "tick@2016"}));
    EXPECT_LT(machine.pumps(), 200u);  // far fewer than one pump per millisecond
}

TEST(SimMachine, TickCountWrapsAndATickThatPumpsIsNotReentered) {
    Machine machine;
    machine.SetTickCount(0xFFFFFF00u);
    int ticks = 0;
    machine.loop().StartTimer(1, 200, [&] { ++ticks; });
    for (int i = 0; i < 30; ++i) machine.loop().PumpPending();
    EXPECT_EQ(ticks, 2);
    EXPECT_LT(machine.now(), 0x1000u);  // wrapped past zero
    EXPECT_EQ(machine.system().GetTickCount(), machine.now());

    // A wait inside a timer handler still lets other timers have their turn.
    int depth = 0, deepest = 0, others = 0;
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

TEST(SimMachine, ScriptedUserAnswersBoxesInOrderAndOtherwiseTakesTheDefault) {
    Machine machine;
    namespace mb = platform::mb;
    machine.AnswerNextBox(mb::kIdNo);
    EXPECT_EQ(machine.dialogs().MessageBox("Clean now?", "Quillmoss", mb::kYesNo), mb::kIdNo);
    // The default button is the first, or the second with MB_DEFBUTTON2.
    EXPECT_EQ(machine.dialogs().MessageBox("Sure?", "Q", mb::kYesNo), mb::kIdYes);
    EXPECT_EQ(machine.dialogs().MessageBox("Sure?", "Q", mb::kOkCancel | 0x100), mb::kIdCancel);
    EXPECT_EQ(machine.unscripted_boxes(), 2);
}

// Deletions are recorded under the real path of what went: with the names as stored, where a
// file reached through a link really was, and in the current folder (the program's) or on its
// drive for a path a cleaner built without one.
TEST(SimMachine, RecordsEveryDeletionUnderTheRealPathOfWhatWent) {
    Machine machine;
    for (const char* path : {"C:\\Temp\\Sub\\One.TXT", "C:\\Content.IE5\\x",
                             "C:\\Program Files\\Quillmoss\\Recent\\x.lnk"})
        machine.AddFile(path);
    machine.AddFolderLink("C:\\Link", "C:\\Temp");
    ASSERT_EQ(machine.files().DeleteFile("c:\\link\\sub\\one.txt"), kOk);
    ASSERT_EQ(machine.files().RemoveDirectory("C:/TEMP/SUB"), kOk);
    ASSERT_EQ(machine.files().RemoveDirectory("C:\\Link"), kOk);
    ASSERT_EQ(machine.files().DeleteFile("Recent\\x.lnk"), kOk);
    ASSERT_EQ(machine.files().DeleteFile("\\Content.IE5\\x"), kOk);
    EXPECT_NE(machine.files().DeleteFile("C:\\Temp\\absent.txt"), kOk);  // failures: not kept
    platform::Registry& registry = machine.registry();
    RegKey key = 0;
    ASSERT_EQ(registry.CreateKey(Root::CurrentUser, "Software\\Typed\\URLs", key), kOk);
    ASSERT_EQ(registry.SetValue(key, "Url1", platform::RegType::Sz, {}), kOk);
    ASSERT_EQ(registry.DeleteValue(key, "URL1"), kOk);
    registry.CloseKey(key);
    ASSERT_EQ(registry.DeleteKey(Root::CurrentUser, "software\\typed\\urls"), kOk);
    EXPECT_EQ(machine.open_registry_keys(), 0u);

    using Kind = Deletion::Kind;
    std::vector<std::tuple<Kind, std::string, std::string>> gone;
    for (const Deletion& d : machine.deletions()) gone.emplace_back(d.kind, d.path, d.value_name);
    EXPECT_EQ(gone, (decltype(gone){{Kind::File, "C:\\Temp\\Sub\\One.TXT", ""},
                                    {Kind::Folder, "C:\\Temp\\Sub", ""},
                                    {Kind::Folder, "C:\\Link", ""},
                                    {Kind::File, "C:\\Program Files\\Quillmoss\\Recent\\x.lnk", ""},
                                    {Kind::File, "C:\\Content.IE5\\x", ""},
                                    {Kind::RegistryValue, "HKCU\\Software\\Typed\\URLs", "Url1"},
                                    {Kind::RegistryKey, "HKCU\\Software\\Typed\\URLs", ""}}));
}

// What Wine cannot show: Wine running as root replaces read-only files, ignores the flag on
// folders and lets a folder someone works in go.
TEST(SimMachine, ReadOnlyAndBusyFoldersStayAndLinkCyclesEnd) {
    Machine machine;
    platform::FileSystem& files = machine.files();
    machine.AddFolder("C:\\Custom", platform::attr::kReadOnly);
    std::uint32_t attributes = 0;
    ASSERT_EQ(files.GetAttributes("C:\\Custom", attributes), kOk);
    EXPECT_EQ(attributes, platform::attr::kDirectory | platform::attr::kReadOnly);
    EXPECT_EQ(files.RemoveDirectory("C:\\Custom"), platform::kErrorAccessDenied);
    machine.AddFolder("C:\\Busy");
    machine.Lock("C:\\Busy");
    EXPECT_EQ(files.RemoveDirectory("C:\\Busy"), platform::kErrorSharingViolation);
    machine.Unlock("C:\\Busy");
    EXPECT_EQ(files.RemoveDirectory("C:\\Busy"), kOk);
    machine.AddFile("C:\\Temp\\index.dat", "cache");
    machine.Lock("C:\\Temp\\index.dat", LockMode::NoDelete);
    EXPECT_EQ(files.WriteFile("C:\\Temp\\index.dat", "x"), platform::kErrorSharingViolation);
    EXPECT_EQ(files.WriteFile("C:\\Temp\\bad|name.txt", ""), platform::kErrorInvalidName);
    // A cycle of links ends in ERROR_CANT_RESOLVE_FILENAME; a share takes both spellings.
    machine.AddFolderLink("C:\\Loop", "C:\\Loop");
    EXPECT_EQ(files.GetAttributes("C:\\Loop\\x", attributes), 1921);
    machine.AddShare("\\\\server\\share");
    machine.AddFile("\\\\?\\UNC\\server\\share\\s.txt");
    EXPECT_EQ(machine.AllPaths().back(), "\\\\server\\share\\s.txt");
}

}  // namespace
}  // namespace qm::sim
