#pragma once
// The registry of a real clean that keeps a record: every call goes to the machine, and each
// key and value deleted is noted with its answer, by the key's full name ("HKCU\path").
#include <map>
#include <string>

#include "platform/recording/removal_record.h"
#include "platform/registry.h"

namespace qm::recording {

class RecordingRegistry final : public platform::Registry {
  public:
    RecordingRegistry(platform::Registry& real, RemovalRecord& record)
        : real_(real), record_(record) {}

    platform::Status OpenKey(platform::Root root, std::string_view path,
                             platform::RegKey& key) override;
    platform::Status CreateKey(platform::Root root, std::string_view path,
                               platform::RegKey& key) override;
    platform::Status QueryValueInfo(platform::RegKey key, std::string_view name,
                                    platform::RegType& type, std::uint32_t& size) override {
        return real_.QueryValueInfo(key, name, type, size);
    }
    platform::Status QueryValue(platform::RegKey key, std::string_view name,
                                platform::RegType& type, std::vector<std::uint8_t>& data) override {
        return real_.QueryValue(key, name, type, data);
    }
    platform::Status SetValue(platform::RegKey key, std::string_view name, platform::RegType type,
                              std::span<const std::uint8_t> data) override {
        return real_.SetValue(key, name, type, data);
    }
    platform::Status DeleteValue(platform::RegKey key, std::string_view name) override;
    platform::Status DeleteKey(platform::Root root, std::string_view path) override;
    void CloseKey(platform::RegKey key) override;
    platform::Status ListKey(platform::RegKey key, std::vector<std::string>& subkeys,
                             std::vector<std::string>& values) override {
        return real_.ListKey(key, subkeys, values);
    }

  private:
    platform::Registry& real_;
    RemovalRecord& record_;
    std::map<platform::RegKey, std::string> names_;  // of the keys open through here
};

}  // namespace qm::recording
