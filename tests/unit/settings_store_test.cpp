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

// The reported size counts registry bytes, which UTF-8 outgrows: texts still read to the end.
TEST_F(SettingsStoreTest, TextsOfAnyLettersReadBackWhole) {
    for (const std::string letter : {"\xC3\xA9", "\xE6\x97\xA5", "\xF0\x9F\x98\x80"}) {
        std::string text;
        for (int i = 0; i < 255; ++i) text += letter;
        store.SaveString(Root::CurrentUser, "T", "long", text);
        EXPECT_EQ(store.GetSettingString(Root::CurrentUser, "T", "long", ""), text) << letter;
    }
}

TEST_F(SettingsStoreTest, GetSettingStringGivesTheDefaultForAnythingButText) {
    auto read = [&](RegType type, const Bytes& data) {
        WriteRaw(registry, Root::CurrentUser, "T", "v", type, data);
        return store.GetSettingString(Root::CurrentUser, "T", "v", "D");
    };
    EXPECT_EQ(read(RegType::ExpandSz, Utf16Bytes("%TEMP%")), "D");
    EXPECT_EQ(read(RegType::Dword, {1, 0, 0, 0}), "D");
    EXPECT_EQ(read(RegType::Sz, Utf16Bytes(std::string("ab\0cd", 5))), "ab");
    EXPECT_EQ(store.GetSettingString(Root::CurrentUser, "No\\Such\\Key", "v", "D"), "D");
    store.DeleleteValue(Root::CurrentUser, "No\\Such\\Key", "v");
    EXPECT_FALSE(KeyExists(registry, Root::CurrentUser, "No\\Such\\Key"));
}

TEST_F(SettingsStoreTest, MyGetSettingStringCreatesOnFirstUseAndReadsAnyType) {
    EXPECT_EQ(store.MyGetSettingString(Root::LocalMachine, kKey, "ver", "5"), "");
    EXPECT_EQ(store.MyGetSettingString(Root::LocalMachine, kKey, "ver", "9"), "5");

    // Stored empty: empty text, and nothing is rewritten with the default.
    store.SaveSettingString(Root::LocalMachine, kKey, "donreq", "");
    EXPECT_EQ(store.MyGetSettingString(Root::LocalMachine, kKey, "donreq", "z"), "");
    EXPECT_TRUE(ReadRaw(registry, Root::LocalMachine, kKey, "donreq").data.empty());

    // The type is not checked: a DWORD's bytes read as text.
    WriteRaw(registry, Root::LocalMachine, kKey, "letter", RegType::Dword, {'A', 0, 0, 0});
    EXPECT_EQ(store.MyGetSettingString(Root::LocalMachine, kKey, "letter", "d"), "A");
}

// A user without rights to HKLM (Windows Vista and later): the program's own key moves to HKCU
// at its first write and stays there; every other HKLM place stays refused.
TEST_F(SettingsStoreTest, ReadOnlyLocalMachineMovesOnlyTheProgramsOwnKeyToTheUser) {
    store.Save("closebrow", "e");
    machine.SetLocalMachineReadOnly(true);
    EXPECT_EQ(store.Get("closebrow"), "e") << "HKLM's until the user has a key of its own";
    store.SaveSettingString(Root::LocalMachine, "Software\\New", "v", "x");
    store.RegisterRunAtStart();
    EXPECT_EQ(store.MyGetSettingString(Root::LocalMachine, kKey, "ver", "5"), "");
    EXPECT_EQ(store.MyGetSettingString(Root::LocalMachine, kKey, "ver", "5"), "5");
    EXPECT_EQ(store.Get("closebrow", "none"), "none");
    store.Save("closebrow", "d");
    store.Save("remember", "aa");
    store.DeleleteValue(Root::LocalMachine, kKey, "remember");
    EXPECT_EQ(store.Get("closebrow"), "d");

    EXPECT_EQ(ReadRaw(registry, Root::CurrentUser, kKey, "ver").data, Utf16Bytes("5"));
    EXPECT_FALSE(ReadRaw(registry, Root::CurrentUser, kKey, "remember").exists);
    EXPECT_EQ(ReadRaw(registry, Root::LocalMachine, kKey, "closebrow").data, Utf16Bytes("e"));
    EXPECT_FALSE(KeyExists(registry, Root::LocalMachine, "Software\\New") ||
                 KeyExists(registry, Root::CurrentUser, "Software\\New"));
    EXPECT_FALSE(ReadRaw(registry, Root::LocalMachine, kRunPath, kRunValue).exists);
    store.DeleteKey(Root::LocalMachine, kKey);
    EXPECT_FALSE(KeyExists(registry, Root::CurrentUser, kKey));
    EXPECT_TRUE(KeyExists(registry, Root::LocalMachine, kKey));
    EXPECT_EQ(machine.open_registry_keys(), 0u);
    EXPECT_TRUE(log.sent.empty());
}

TEST_F(SettingsStoreTest, RunAtStartNamesTheProgramWithOneBackslash) {
    for (const auto& [folder, run] : {std::pair{"C:\\Tools", "\"C:\\Tools\\Quillmoss.exe\""},
                                      std::pair{"C:\\", "\"C:\\Quillmoss.exe\""}}) {
        machine.SetProgram(folder, "Quillmoss");
        store.RegisterRunAtStart();
        EXPECT_EQ(store.GetSettingString(Root::LocalMachine, kRunPath, "QMS", ""), run);
    }
}

TEST(SettingsLetters, ContainsLetterIgnoresCase) {
    EXPECT_TRUE(ContainsLetter("TT", 't'));
    EXPECT_TRUE(ContainsLetter("2 Hours", 'H'));
    EXPECT_FALSE(ContainsLetter("uu", 't'));
}

}  // namespace
}  // namespace qm::settings
