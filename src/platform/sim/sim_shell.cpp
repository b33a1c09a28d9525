#include "platform/sim/sim_shell.h"

namespace qm::sim {

void SimShell::SetSpecialFolder(int csidl, const std::string& path) {
    std::string clean = path;
    // Both shell look-ups give folders without a trailing backslash, except a drive root.
    while (clean.size() > 3 && (clean.back() == '\\' || clean.back() == '/')) clean.pop_back();
    folders_[csidl] = clean;
}

platform::Status SimShell::GetFolderPath(int csidl, std::string& path) {
    const auto found = folders_.find(csidl);
    if (found == folders_.end()) return platform::kErrorFileNotFound;
    path = found->second;
    return platform::kOk;
}

platform::Status SimShell::GetSpecialFolderLocationPath(int csidl, std::string& path) {
    return GetFolderPath(csidl, path);
}

platform::Status SimShell::CopyFileSilent(std::string_view source, std::string_view target,
                                          bool& aborted) {
    aborted = false;
    return files_.Copy(source, target);
}

}  // namespace qm::sim
