#pragma once
// The registry as a dry run sees it: reads go to the real registry, writes are kept to
// themselves, and a deleted key or value is recorded and hidden from then on. A key that
// CreateKey would have made is answered with a handle of its own that holds nothing.
#include <map>
#include <string>
#include <vector>

#include "platform/dry_run/dry_record.h"
#include "platform/registry.h"

namespace qm::dry_run {

class DryRegistry final : public platform::Registry {
  public:
    DryRegistry(platform::Registry& real, std::vector<DryDeletion>& record)
        : real_(real), record_(record) {}
    ~DryRegistry() override;

    platform::Status OpenKey(platform::Root root, std::string_view path,
                             platform::RegKey& key) override;
    platform::Status CreateKey(platform::Root root, std::string_view path,
                               platform::RegKey& key) override;
    platform::Status QueryValueInfo(platform::RegKey key, std::string_view name,
                                    platform::RegType& type, std::uint32_t& size) override;
    platform::Status QueryValue(platform::RegKey key, std::string_view name,
                                platform::RegType& type, std::vector<std::uint8_t>& data) override;
    platform::Status SetValue(platform::RegKey, std::string_view, platform::RegType,
                              std::span<const std::uint8_t>) override {
        return platform::kOk;
    }
    platform::Status DeleteValue(platform::RegKey key, std::string_view name) override;
    platform::Status DeleteKey(platform::Root root, std::string_view path) override;
    void CloseKey(platform::RegKey key) override;
    // The real names, less those the dry run has deleted.
    platform::Status ListKey(platform::RegKey key, std::vector<std::string>& subkeys,
                             std::vector<std::string>& values) override;

  private:
    struct OpenedKey {
        std::string name;           // "HKCU\path"
        platform::RegKey real = 0;  // 0: a key only this dry run has made
    };
    platform::RegKey Hand(std::string name, platform::RegKey real);
    // The key's real handle when the value is there to see; 0 otherwise.
    platform::RegKey Visible(platform::RegKey key, std::string_view value_name) const;

    platform::Registry& real_;
    std::vector<DryDeletion>& record_;
    HiddenNames hidden_;
    std::map<platform::RegKey, OpenedKey> opened_;
    platform::RegKey next_ = 1;
};

}  // namespace qm::dry_run
