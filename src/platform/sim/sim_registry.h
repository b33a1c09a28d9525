#pragma once
// The in-memory registry: two hives of keys with typed values, handed out through handles
// that behave like NT's (a handle outlives the deletion of its key and then reports
// kErrorKeyDeleted).
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"
#include "platform/sim/machine.h"

namespace qm::sim {

class SimRegistry final : public platform::Registry {
  public:
    explicit SimRegistry(std::vector<Deletion>& deletions);
    ~SimRegistry() override;

    void SetLocalMachineReadOnly(bool read_only) { local_machine_read_only_ = read_only; }
    // Number of handles opened and not yet closed, so tests can catch leaks.
    std::size_t open_handles() const { return handles_.size(); }
    // Deletes a key with everything below it, deepest keys first, as the shell does when it
    // wipes a list it keeps in the registry; each key removed is recorded.
    platform::Status DeleteTree(platform::Root root, std::string_view path);

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

  private:
    struct Value {
        std::string name;  // as first written
        platform::RegType type = platform::RegType::None;
        std::vector<std::uint8_t> data;
    };
    struct Key {
        std::string full_path;  // "HKCU\Software\Name", each part as first written
        platform::Root root = platform::Root::CurrentUser;
        bool deleted = false;
        std::map<std::string, std::shared_ptr<Key>> subkeys;  // by folded name
        std::map<std::string, Value> values;                  // by folded name
    };

    std::shared_ptr<Key>& Hive(platform::Root root);
    // The live key a handle refers to, or the status explaining why there is none.
    platform::Status Resolve(platform::RegKey handle, Key*& key) const;
    platform::Status RefuseWriteIfReadOnly(const Key& key) const;
    platform::RegKey NewHandle(std::shared_ptr<Key> key);

    std::vector<Deletion>& deletions_;
    std::shared_ptr<Key> current_user_;
    std::shared_ptr<Key> local_machine_;
    std::map<platform::RegKey, std::shared_ptr<Key>> handles_;
    platform::RegKey next_handle_ = 0x1000;
    bool local_machine_read_only_ = false;
};

}  // namespace qm::sim
