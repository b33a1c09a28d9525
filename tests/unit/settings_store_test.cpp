#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include "core_test_support.h"

namespace qm::settings {
namespace {

using platform::RegType;
using platform::Root;
using qm::testing::KeyExists;
using qm::testing::ReadRaw;
using qm::testing::Utf16Bytes;
using qm::testing::WriteRaw;
using Bytes = std::vector<std::uint8_t>;

constexpr std::string_view kKey = "Software\\Microsoft\\Qmoss";

class SettingsStoreTest : public ::testing::Test {
  protected:
    sim::Machine machine;
    qm::testing::OnlineReporter log;
    SettingsStore store{machine.registry(), machine.process(), log.reporter};
    platform::Registry& registry = machine.registry();
};

TEST_F(SettingsStoreTest, TextsRoundTripAsUtf16WithoutTerminator) {
    store.SaveSettingString(Root::LocalMachine, kKey, "ihistory", "tt");
    const auto raw = ReadRaw(registry, Root::LocalMachine, kKey, "ihistory");
    EXPECT_EQ(raw.type, RegType::Sz);
    EXPECT_EQ(raw.data, Utf16Bytes("tt"));
    EXPECT_EQ(store.GetSettingString(Root::LocalMachine, kKey, "IHISTORY", "x"), "tt");

    const std::string foreign = "\xC3\xBC\xC3\x9F \xE6\x97\xA5 \xF0\x9F\x98\x80";
    store.SaveString(Root::CurrentUser, "Software\\Q", "Start Page", foreign);
    // 5 BMP units + one surrogate pair
    EXPECT_EQ(ReadRaw(registry, Root::CurrentUser, "Software\\Q", "Start Page").data.size(), 14u);
    EXPECT_EQ(store.GetSettingString(Root::CurrentUser, "Software\\Q", "Start Page", ""), foreign);
}

TEST_F(SettingsStoreTest, GetSettingStringGivesTheDefaultForAnythingButText) {
    auto read = [&](RegType type, const Bytes& data) {
        WriteRaw(registry, Root::CurrentUser, "T", "v", type, data);
        return store.GetSettingString(Root::CurrentUser, "T", "v", "D");
    };
    EXPECT_EQ(read(RegType::ExpandSz, Utf16Bytes("%TEMP%")), "D");
    EXPECT_EQ(read(RegType::Dword, {1, 0, 0, 0}), "D");
    EXPECT_EQ(read(RegType::Sz, Utf16Bytes(std::string("ab\0cd", 5))), "ab");
    EXPECT_EQ(read(RegType::Sz, {'x', 0, 'y', 0, 'z'}), "xy");  // an odd byte count
    EXPECT_EQ(store.GetSettingString(Root::CurrentUser, "No\\Such\\Key", "v", "D"), "D");
    EXPECT_FALSE(KeyExists(registry, Root::CurrentUser, "No\\Such\\Key"));
}

TEST_F(SettingsStoreTest, MyGetSettingStringCreatesOnFirstUseAndReadsAnyType) {
    EXPECT_EQ(store.MyGetSettingString(Root::LocalMachine, kKey, "ver", "5"), "");
    EXPECT_EQ(store.MyGetSettingString(Root::LocalMachine, kKey, "ver", "9"), "5");

    // Stored empty: empty text, and nothing is rewritten with the default.
    store.SaveSettingString(Root::LocalMachine, kKey, "donreq", "");
    EXPECT_EQ(store.MyGetSettingString(Root::LocalMachine, kKey, "donreq", "z"), "");
    EXPECT_TRUE(ReadRaw(registry, Root::LocalMachine, kKey, "donreq").data.empty());

    // The type is not checked: a DWORD's bytes read as text, and it stays a DWORD.
    WriteRaw(registry, Root::LocalMachine, kKey, "letter", RegType::Dword, {'A', 0, 0, 0});
    EXPECT_EQ(store.MyGetSettingString(Root::LocalMachine, kKey, "letter", "d"), "A");
    EXPECT_EQ(ReadRaw(registry, Root::LocalMachine, kKey, "letter").type, RegType::Dword);
}

TEST_F(SettingsStoreTest, NumbersAreFourLittleEndianBytesOverwritingAnyType) {
    store.SaveSettingString(Root::CurrentUser, "T", "DaysToKeep", "20");
    store.SaveSettingLong(Root::CurrentUser, "T", "DaysToKeep", -2);
    const auto raw = ReadRaw(registry, Root::CurrentUser, "T", "DaysToKeep");
    EXPECT_EQ(raw.type, RegType::Dword);
    EXPECT_EQ(raw.data, (Bytes{0xFE, 0xFF, 0xFF, 0xFF}));
}

TEST_F(SettingsStoreTest, DeletionsTouchOnlyWhatIsNamedAndNeverReportMissingThings) {
    store.DeleleteValue(Root::LocalMachine, "Missing\\Key", "remember");
    EXPECT_FALSE(KeyExists(registry, Root::LocalMachine, "Missing\\Key"));
    store.Save("remember", "aa");
    store.Save("closebrow", "e");
    store.DeleleteValue(Root::LocalMachine, kKey, "REMEMBER");
    EXPECT_FALSE(ReadRaw(registry, Root::LocalMachine, kKey, "remember").exists);
    EXPECT_EQ(store.Get("closebrow"), "e");

    store.SaveSettingString(Root::CurrentUser, "A\\B\\C", "v", "1");
    store.DeleteKey(Root::CurrentUser, "A\\B\\C");
    EXPECT_FALSE(KeyExists(registry, Root::CurrentUser, "A\\B\\C"));
    EXPECT_TRUE(KeyExists(registry, Root::CurrentUser, "A\\B"));
    EXPECT_TRUE(log.sent.empty());
}

TEST_F(SettingsStoreTest, ReadOnlyLocalMachineStoresNothingAndReadsDefaults) {
    store.Save("closebrow", "e");
    machine.SetLocalMachineReadOnly(true);
    store.Save("closebrow", "d");
    store.DeleleteValue(Root::LocalMachine, kKey, "closebrow");
    store.DeleteKey(Root::LocalMachine, kKey);
    store.RegisterRunAtStart();

    EXPECT_EQ(store.Get("closebrow"), "e");
    EXPECT_EQ(store.MyGetSettingString(Root::LocalMachine, kKey, "ver", "5"), "");
    EXPECT_FALSE(ReadRaw(registry, Root::LocalMachine, kKey, "ver").exists);
    EXPECT_FALSE(ReadRaw(registry, Root::LocalMachine, kRunPath, kRunValue).exists);
    EXPECT_TRUE(machine.deletions().empty());
    EXPECT_TRUE(log.sent.empty());
}

TEST_F(SettingsStoreTest, RunAtStartNamesTheProgramWithOneBackslash) {
    machine.SetProgram("C:\\Tools", "Quillmoss");
    store.RegisterRunAtStart();
    EXPECT_EQ(store.GetSettingString(Root::LocalMachine, kRunPath, "QMS", ""),
              "C:\\Tools\\Quillmoss.exe");
    machine.SetProgram("C:\\", "Quillmoss");
    store.RegisterRunAtStart();
    EXPECT_EQ(store.GetSettingString(Root::LocalMachine, kRunPath, "QMS", ""), "C:\\Quillmoss.exe");
}

TEST(SettingsLetters, ContainsLetterIgnoresCase) {
    EXPECT_TRUE(ContainsLetter("TT", 't'));
    EXPECT_TRUE(ContainsLetter("2 Hours", 'H'));
    EXPECT_FALSE(ContainsLetter("uu", 't'));
}

}  // namespace
}  // namespace qm::settings
