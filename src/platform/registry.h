#pragma once
// The registry as Quillmoss needs it: the eight operations of the settings store on the two
// roots, and the listing of a key. Texts (key paths, value names) are UTF-8; value data is raw
// bytes exactly as the wide-character registry API stores them, so a REG_SZ value holds UTF-16LE
// code units.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace qm::platform {

enum class Root : std::uint32_t {
    CurrentUser = 0x80000001u,
    LocalMachine = 0x80000002u,
};

enum class RegType : std::uint32_t {
    None = 0,
    Sz = 1,
    ExpandSz = 2,
    Binary = 3,
    Dword = 4,
    MultiSz = 7,
};

// An open key. 0 is never a valid handle.
using RegKey = std::uint64_t;

class Registry {
  public:
    virtual ~Registry() = default;

    // RegOpenKey: opens an existing key (path may be empty for the root itself).
    virtual Status OpenKey(Root root, std::string_view path, RegKey& key) = 0;
    // RegCreateKey / RegCreateKeyEx with read-write access: opens, creating missing keys.
    virtual Status CreateKey(Root root, std::string_view path, RegKey& key) = 0;
    // RegQueryValueEx without a buffer: type and size in bytes. name "" is the default value.
    virtual Status QueryValueInfo(RegKey key, std::string_view name, RegType& type,
                                  std::uint32_t& size) = 0;
    // RegQueryValueEx with a buffer large enough: type and the stored bytes.
    virtual Status QueryValue(RegKey key, std::string_view name, RegType& type,
                              std::vector<std::uint8_t>& data) = 0;
    // RegSetValueEx: writes exactly these bytes, replacing a value of any type.
    virtual Status SetValue(RegKey key, std::string_view name, RegType type,
                            std::span<const std::uint8_t> data) = 0;
    virtual Status DeleteValue(RegKey key, std::string_view name) = 0;
    // RegDeleteKey: removes a key; a key that still has subkeys is refused.
    virtual Status DeleteKey(Root root, std::string_view path) = 0;
    virtual void CloseKey(RegKey key) = 0;
    // RegEnumKeyEx and RegEnumValue to the end: the names of the key's subkeys and values, as
    // the registry spells them.
    virtual Status ListKey(RegKey key, std::vector<std::string>& subkeys,
                           std::vector<std::string>& values) = 0;
};

// Closes a key when it goes out of scope.
class RegKeyGuard {
  public:
    RegKeyGuard(Registry& registry, RegKey key) : registry_(registry), key_(key) {}
    RegKeyGuard(const RegKeyGuard&) = delete;
    RegKeyGuard& operator=(const RegKeyGuard&) = delete;
    ~RegKeyGuard() {
        if (key_ != 0) registry_.CloseKey(key_);
    }

  private:
    Registry& registry_;
    RegKey key_;
};

}  // namespace qm::platform
