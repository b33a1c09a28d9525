#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include "core_test_support.h"

namespace qm::settings {
namespace {

using platform::RegType;
using platform::Root;
using qm::testing::ReadRaw;
using qm::testing::Utf16Bytes;
using qm::testing::WriteRaw;

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
    auto raw = ReadRaw(registry, Root::LocalMachine, kKey, "ihistory");
    EXPECT_EQ(raw.type, RegType::Sz);
    EXPECT_EQ(raw.data, Utf16Bytes("tt"));
    EXPECT_EQ(store.GetSettingString(Root::LocalMachine, kKey, "IHISTORY", "x"), "tt");

    const std::string foreign =
        "Gr\xC3\xBC\xC3\x9F"
        "e \xE6\x97\xA5 \xF0\x9F\x98\x80";
    store.SaveString(Root::CurrentUser, "Software\\Q", "Start Page", foreign);
    raw = ReadRaw(registry, Root::CurrentUser, "Software\\Q", "Start Page");
    EXPECT_EQ(raw.data.size(), 2u * 10u);  // 8 BMP units + one surrogate pair
    EXPECT_EQ(store.GetSettingString(Root::CurrentUser, "Software\\Q", "Start Page", ""), foreign);

    store.SaveSettingString(Root::LocalMachine, kKey, "empty", "");
    raw = ReadRaw(registry, Root::LocalMachine, kKey, "empty");
    EXPECT_TRUE(raw.exists);
    EXPECT_EQ(raw.type, RegType::Sz);
    EXPECT_TRUE(raw.data.empty());
    EXPECT_EQ(store.GetSettingString(Root::LocalMachine, kKey, "empty", "dflt"), "");
    EXPECT_TRUE(log.sent.empty());
}

TEST_F(SettingsStoreTest, GetSettingStringGivesTheDefaultForAnythingButText) {
    WriteRaw(registry, Root::CurrentUser, "T", "expand", RegType::ExpandSz, Utf16Bytes("%TEMP%"));
    WriteRaw(registry, Root::CurrentUser, "T", "dword", RegType::Dword, {1, 0, 0, 0});
    WriteRaw(registry, Root::CurrentUser, "T", "nul", RegType::Sz,
             Utf16Bytes(std::string("ab\0cd", 5)));
    auto odd = Utf16Bytes("xy");
    odd.push_back('z');
    WriteRaw(registry, Root::CurrentUser, "T", "odd", RegType::Sz, odd);

    EXPECT_EQ(store.GetSettingString(Root::CurrentUser, "T", "expand", "D"), "D");
    EXPECT_EQ(store.GetSettingString(Root::CurrentUser, "T", "dword", "D"), "D");
    EXPECT_EQ(store.GetSettingString(Root::CurrentUser, "T", "nul", "D"), "ab");
    EXPECT_EQ(store.GetSettingString(Root::CurrentUser, "T", "odd", "D"), "xy");
    EXPECT_EQ(store.GetSettingString(Root::CurrentUser, "T", "absent", "D"), "D");
    EXPECT_EQ(store.GetSettingString(Root::CurrentUser, "No\\Such\\Key", "v", "D"), "D");
    EXPECT_FALSE(qm::testing::KeyExists(registry, Root::CurrentUser, "No\\Such\\Key"));
}

TEST_F(SettingsStoreTest, MyGetSettingStringCreatesOnFirstUseAndReadsAnyType) {
    EXPECT_EQ(store.MyGetSettingString(Root::LocalMachine, kKey, "ver", "5"), "");
    auto raw = ReadRaw(registry, Root::LocalMachine, kKey, "ver");
    EXPECT_EQ(raw.type, RegType::Sz);
    EXPECT_EQ(raw.data, Utf16Bytes("5"));
    EXPECT_EQ(store.MyGetSettingString(Root::LocalMachine, kKey, "ver", "9"), "5");

    // Stored empty: empty text, and nothing is rewritten with the default.
    store.SaveSettingString(Root::LocalMachine, kKey, "donreq", "");
    EXPECT_EQ(store.MyGetSettingString(Root::LocalMachine, kKey, "donreq", "z"), "");
    EXPECT_TRUE(ReadRaw(registry, Root::LocalMachine, kKey, "donreq").data.empty());

    // The type is not checked: a DWORD's bytes read as text.
    WriteRaw(registry, Root::LocalMachine, kKey, "zero", RegType::Dword, {0, 0, 0, 0});
    WriteRaw(registry, Root::LocalMachine, kKey, "letter", RegType::Dword, {'A', 0, 0, 0});
    EXPECT_EQ(store.MyGetSettingString(Root::LocalMachine, kKey, "zero", "d"), "");
    EXPECT_EQ(store.MyGetSettingString(Root::LocalMachine, kKey, "letter", "d"), "A");
    EXPECT_EQ(ReadRaw(registry, Root::LocalMachine, kKey, "zero").type, RegType::Dword);
    EXPECT_TRUE(log.sent.empty());
}

TEST_F(SettingsStoreTest, NumbersAreFourLittleEndianBytesOverwritingAnyType) {
    const std::string_view path =
        "Software\\Microsoft\\Windows\\CurrentVersion\\Internet "
        "Settings\\Url History";
    store.SaveSettingString(Root::CurrentUser, path, "DaysToKeep", "20");
    store.SaveSettingLong(Root::CurrentUser, path, "DaysToKeep", 0);
    auto raw = ReadRaw(registry, Root::CurrentUser, path, "DaysToKeep");
    EXPECT_EQ(raw.type, RegType::Dword);
    EXPECT_EQ(raw.data, (std::vector<std::uint8_t>{0, 0, 0, 0}));
    store.SaveSettingLong(Root::CurrentUser, path, "n", -2);
    EXPECT_EQ(ReadRaw(registry, Root::CurrentUser, path, "n").data,
              (std::vector<std::uint8_t>{0xFE, 0xFF, 0xFF, 0xFF}));
    store.SaveSettingLong(Root::CurrentUser, path, "n", 0x01020304);
    EXPECT_EQ(ReadRaw(registry, Root::CurrentUser, path, "n").data,
              (std::vector<std::uint8_t>{4, 3, 2, 1}));
}

TEST_F(SettingsStoreTest, DeletionsTouchOnlyWhatIsNamedAndNeverReportMissingThings) {
    store.DeleleteValue(Root::LocalMachine, "Missing\\Key", "remember");
    EXPECT_FALSE(qm::testing::KeyExists(registry, Root::LocalMachine, "Missing\\Key"));
    store.Save("remember", "aa");
    store.Save("closebrow", "e");
    store.DeleleteValue(Root::LocalMachine, kKey, "absent");
    store.DeleleteValue(Root::LocalMachine, kKey, "REMEMBER");
    EXPECT_FALSE(ReadRaw(registry, Root::LocalMachine, kKey, "remember").exists);
    EXPECT_EQ(store.Get("closebrow"), "e");

    machine.ClearDeletions();
    store.SaveSettingString(Root::CurrentUser, "A\\B", "v", "1");
    store.SaveSettingString(Root::CurrentUser, "A\\B\\C", "v", "1");
    store.DeleteKey(Root::CurrentUser, "A\\B\\C");
    store.DeleteKey(Root::CurrentUser, "Not\\There");
    EXPECT_FALSE(qm::testing::KeyExists(registry, Root::CurrentUser, "A\\B\\C"));
    EXPECT_TRUE(qm::testing::KeyExists(registry, Root::CurrentUser, "A\\B"));
    ASSERT_EQ(machine.deletions().size(), 1u);
    EXPECT_EQ(machine.deletions()[0].kind, sim::Deletion::Kind::RegistryKey);
    EXPECT_TRUE(log.sent.empty());
}

TEST_F(SettingsStoreTest, ReadOnlyLocalMachineStoresNothingAndReadsDefaults) {
    store.Save("closebrow", "e");
    machine.SetLocalMachineReadOnly(true);
    store.Save("closebrow", "d");
    store.Save("cleansd", "e");
    store.SaveSettingLong(Root::LocalMachine, kKey, "n", 3);
    store.SaveString(Root::LocalMachine, "Software\\New", "v", "x");
    store.DeleleteValue(Root::LocalMachine, kKey, "closebrow");
    store.DeleteKey(Root::LocalMachine, kKey);
    store.RegisterRunAtStart();

    EXPECT_EQ(store.Get("closebrow"), "e");
    EXPECT_EQ(store.Get("cleansd", "off"), "off");
    EXPECT_FALSE(ReadRaw(registry, Root::LocalMachine, kKey, "n").exists);
    EXPECT_FALSE(qm::testing::KeyExists(registry, Root::LocalMachine, "Software\\New"));
    EXPECT_EQ(store.MyGetSettingString(Root::LocalMachine, kKey, "ver", "5"), "");
    EXPECT_FALSE(ReadRaw(registry, Root::LocalMachine, kKey, "ver").exists);
    EXPECT_FALSE(ReadRaw(registry, Root::LocalMachine, kRunPath, kRunValue).exists);
    EXPECT_TRUE(machine.deletions().empty());
    // The user's own hive is still writable.
    store.SaveSettingString(Root::CurrentUser, "Software\\Q", "v", "ok");
    EXPECT_EQ(store.GetSettingString(Root::CurrentUser, "Software\\Q", "v", ""), "ok");
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
    EXPECT_TRUE(ContainsLetter("tt", 't'));
    EXPECT_TRUE(ContainsLetter("TT", 't'));
    EXPECT_TRUE(ContainsLetter("2 Hours", 'H'));
    EXPECT_FALSE(ContainsLetter("uu", 't'));
    EXPECT_FALSE(ContainsLetter("", 'e'));
    EXPECT_TRUE(ContainsLetter("D", 'd'));
}

}  // namespace
}  // namespace qm::settings
