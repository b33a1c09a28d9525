#pragma once
// Special folders and the silent shell copy, on top of the simulated drive.
#include <map>
#include <string>

#include "platform/shell.h"
#include "platform/sim/sim_file_system.h"

namespace qm::sim {

class SimShell final : public platform::Shell {
  public:
    explicit SimShell(SimFileSystem& files) : files_(files) {}

    void SetSpecialFolder(int csidl, const std::string& path);
    void ClearSpecialFolder(int csidl) { folders_.erase(csidl); }

    platform::Status GetFolderPath(int csidl, std::string& path) override;
    platform::Status GetSpecialFolderLocationPath(int csidl, std::string& path) override;
    platform::Status CopyFileSilent(std::string_view source, std::string_view target,
                                    bool& aborted) override;

  private:
    SimFileSystem& files_;
    std::map<int, std::string> folders_;
};

}  // namespace qm::sim
