// The registry as the settings store and the cleaners use it, on both roots.
#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

#include "backend.h"
#include "settings/registry_text.h"

namespace qm::contract {
namespace {

using platform::kOk;
using platform::RegKey;
using platform::RegType;
using platform::Root;
using Bytes = std::vector<std::uint8_t>;

// REG_SZ data as the wide-character API stores it: UTF-16LE code units.
const auto Utf16 = [](std::string_view text) { return settings::ToRegistryText(text); };

class RegistryContract : public ::testing::TestWithParam<Root> {
  protected:
    std::unique_ptr<Backend> backend_ = MakeBackend();
    platform::Registry& registry_ = backend_->registry();
    const Root root_ = GetParam();
    const std::string scratch_ = backend_->ScratchKey();

    RegKey Create(const std::string& path) {
        RegKey key = 0;
        EXPECT_EQ(registry_.CreateKey(root_, path, key), kOk) << path;
        return key;
    }
    platform::Status Open(const std::string& path) {
        RegKey key = 0;
        const platform::Status status = registry_.OpenKey(root_, path, key);
        if (status == kOk) registry_.CloseKey(key);
        return status;
    }
    void ExpectValue(RegKey key, std::string_view name, RegType type, const Bytes& data) {
        SCOPED_TRACE(std::string(name));
        RegType info_type = RegType::None;
        std::uint32_t size = 12345;
        ASSERT_EQ(registry_.QueryValueInfo(key, name, info_type, size), kOk);
        EXPECT_EQ(info_type, type);
        EXPECT_EQ(size, data.size());
        RegType read_type = RegType::None;
        Bytes read{9, 9, 9};
        ASSERT_EQ(registry_.QueryValue(key, name, read_type, read), kOk);
        EXPECT_EQ(read_type, type);
        EXPECT_EQ(read, data);
    }
};

// Only the types the settings store and the cleaners write.
TEST_P(RegistryContract, ValuesKeepTheirTypeAndExactBytes) {
    const RegKey key = Create(scratch_);
    Bytes with_nuls = Utf16("before");
    with_nuls.insert(with_nuls.end(), {0, 0, 'a', 0});
    Bytes long_binary(70000);
    for (std::size_t i = 0; i < long_binary.size(); ++i) long_binary[i] = std::uint8_t(i * 7 + 3);
    const std::pair<const char*, std::pair<RegType, Bytes>> cases[] = {
        {"text", {RegType::Sz, Utf16("C:\\Program Files\\Quillmoss")}},
        {"", {RegType::Sz, Utf16("the default value")}},
        {"empty text", {RegType::Sz, {}}},
        {"embedded NULs", {RegType::Sz, with_nuls}},
        {"number", {RegType::Dword, {0x78, 0x56, 0x34, 0x12}}},
        {"long binary", {RegType::Binary, long_binary}},
        {"empty binary", {RegType::Binary, {}}},
    };
    for (const auto& [name, value] : cases)
        ASSERT_EQ(registry_.SetValue(key, name, value.first, value.second), kOk) << name;
    registry_.CloseKey(key);
    // Read back through a fresh handle, so nothing can come from the writing handle; creating
    // an existing key just opens it, keeping what it holds.
    const RegKey reader = Create(scratch_);
    for (const auto& [name, value] : cases) ExpectValue(reader, name, value.first, value.second);
    registry_.CloseKey(reader);
}

TEST_P(RegistryContract, ValuesChangeTypeAndGoByNameInAnyLetterCase) {
    const RegKey key = Create(scratch_);
    RegType type = RegType::None;
    std::uint32_t size = 0;
    EXPECT_EQ(registry_.QueryValueInfo(key, "", type, size), platform::kErrorFileNotFound);
    ASSERT_EQ(registry_.SetValue(key, "Changes", RegType::Sz, Utf16("a long text value")), kOk);
    ASSERT_EQ(registry_.SetValue(key, "CHANGES", RegType::Dword, Bytes{5, 0, 0, 0}), kOk);
    ExpectValue(key, "changes", RegType::Dword, Bytes{5, 0, 0, 0});
    EXPECT_EQ(registry_.DeleteValue(key, "chANGES"), kOk);
    EXPECT_EQ(registry_.DeleteValue(key, "Changes"), platform::kErrorFileNotFound);
    registry_.CloseKey(key);
    // Key names fold letter case beyond ASCII too.
    registry_.CloseKey(Create(scratch_ + "\\MixedCase \xC3\x9C\xD0\xB6"));
    EXPECT_EQ(Open(scratch_ + "\\mixedCASE \xC3\xBC\xD0\x96"), kOk);
    EXPECT_EQ(registry_.DeleteKey(root_, scratch_ + "\\MIXEDcase \xC3\xBC\xD0\xB6"), kOk);
}

TEST_P(RegistryContract, CreateMakesEveryLevelAndDeleteRefusesKeysWithSubkeys) {
    EXPECT_EQ(Open(scratch_), platform::kErrorFileNotFound);
    registry_.CloseKey(Create(scratch_ + "\\parent\\child"));
    EXPECT_EQ(registry_.DeleteKey(root_, scratch_ + "\\parent"), platform::kErrorAccessDenied);
    EXPECT_EQ(Open(scratch_ + "\\parent\\child"), kOk);
    EXPECT_EQ(registry_.DeleteKey(root_, scratch_ + "\\parent\\child"), kOk);
    EXPECT_EQ(registry_.DeleteKey(root_, scratch_ + "\\parent"), kOk);
    EXPECT_EQ(registry_.DeleteKey(root_, scratch_ + "\\parent"), platform::kErrorFileNotFound);
}

TEST_P(RegistryContract, AListingNamesEverySubkeyAndValueAsSpelledAndNothingDeleted) {
    const RegKey key = Create(scratch_);
    registry_.CloseKey(Create(scratch_ + "\\Sub One"));
    registry_.CloseKey(Create(scratch_ + "\\gone"));
    ASSERT_EQ(registry_.DeleteKey(root_, scratch_ + "\\gone"), kOk);
    const std::string long_name(300, 'v');  // longer than any key name may be
    for (const std::string& name : {std::string("MRUListEx"), std::string(""), long_name})
        ASSERT_EQ(registry_.SetValue(key, name, RegType::Binary, Bytes{1}), kOk);
    std::vector<std::string> subkeys, values;
    ASSERT_EQ(registry_.ListKey(key, subkeys, values), kOk);
    EXPECT_EQ(subkeys, std::vector<std::string>{"Sub One"});
    std::sort(values.begin(), values.end());
    EXPECT_EQ(values, (std::vector<std::string>{"", "MRUListEx", long_name}));
    registry_.CloseKey(key);
}

TEST_P(RegistryContract, AnOpenKeyCanBeDeletedAndItsHandleThenSaysSo) {
    const RegKey key = Create(scratch_ + "\\victim");
    ASSERT_EQ(registry_.SetValue(key, "v", RegType::Sz, Utf16("x")), kOk);
    ASSERT_EQ(registry_.DeleteKey(root_, scratch_ + "\\victim"), kOk);
    RegType type = RegType::None;
    std::uint32_t size = 0;
    EXPECT_EQ(registry_.QueryValueInfo(key, "v", type, size), platform::kErrorKeyDeleted);
    registry_.CloseKey(key);
    const RegKey fresh = Create(scratch_ + "\\victim");  // re-created: new and empty
    EXPECT_EQ(registry_.QueryValueInfo(fresh, "v", type, size), platform::kErrorFileNotFound);
    registry_.CloseKey(fresh);
}

INSTANTIATE_TEST_SUITE_P(BothRoots, RegistryContract,
                         ::testing::Values(Root::CurrentUser, Root::LocalMachine),
                         [](const auto& info) {
                             return std::string(info.param == Root::CurrentUser ? "HKCU" : "HKLM");
                         });

}  // namespace
}  // namespace qm::contract
