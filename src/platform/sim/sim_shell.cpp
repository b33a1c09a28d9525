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

platform::Status SimShell::HistoryItemCount(std::size_t& count) {
    return history_.Count(count);
}

platform::Status SimShell::HistoryItemVerbs(std::size_t item, std::vector<std::string>& verbs) {
    return history_.Verbs(item, verbs);
}

platform::Status SimShell::InvokeHistoryVerb(std::size_t item, std::size_t verb) {
    return history_.Invoke(item, verb);
}

}  // namespace qm::sim
