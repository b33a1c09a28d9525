#pragma once
// The registry through advapi32's wide-character calls. A RegKey is the HKEY itself.
#include "platform/registry.h"

namespace qm::win32 {

class Win32Registry final : public platform::Registry {
  public:
    platform::Status OpenKey(platform::Root root, std::string_view path,
                             platform::RegKey& key) override;
    platform::Status CreateKey(platform::Root root, std::string_view path,
                               platform::RegKey& key) override;
    platform::Status QueryValueInfo(platform::RegKey key, std::string_view name,
                                    platform::RegType& type, std::uint32_t& size) override;
    platform::Status QueryValue(platform::RegKey key, std::string_view name,
                                platform::RegType& type, std::vector<std::uint8_t>& data) override;
    platform::Status SetValue(platform::RegKey key, std::string_view name, platform::RegType type,
                              std::span<const std::uint8_t> data) override;
    platform::Status DeleteValue(platform::RegKey key, std::string_view name) override;
    platform::Status DeleteKey(platform::Root root, std::string_view path) override;
    void CloseKey(platform::RegKey key) override;
    platform::Status ListKey(platform::RegKey key, std::vector<std::string>& subkeys,
                             std::vector<std::string>& values) override;
};

}  // namespace qm::win32
