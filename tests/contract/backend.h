#pragma once
// The machine a contract suite runs against: the simulated one on Linux, the real Windows API
// under Wine. Each test gets a fresh backend with its own scratch folder and scratch keys, so
// suites never touch anything else on the machine.
#include <memory>
#include <string>

#include "platform/platform.h"

namespace qm::contract {

enum class HoldMode {
    NoDelete,   // open with read sharing only: reads work, delete fails
    Exclusive,  // open without sharing: reads fail too
};

// Keeps a file open as another program would, until destroyed.
class FileHold {
  public:
    virtual ~FileHold() = default;
};

class Backend {
  public:
    virtual ~Backend() = default;
    virtual platform::Registry& registry() = 0;
    virtual platform::FileSystem& files() = 0;
    virtual platform::Shell& shell() = 0;
    virtual platform::SystemInfo& system() = 0;

    // An existing, empty folder for this test (no trailing backslash); removed afterwards.
    virtual std::string ScratchFolder() = 0;
    // A key path, relative to either root, that does not exist yet; removed afterwards.
    virtual std::string ScratchKey() = 0;
    virtual std::unique_ptr<FileHold> Hold(const std::string& path, HoldMode mode) = 0;
    // True for the real Windows API, false for the simulated machine.
    virtual bool IsReal() const = 0;
};

std::unique_ptr<Backend> MakeBackend();

}  // namespace qm::contract
