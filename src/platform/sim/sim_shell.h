#pragma once
// Special folders, the silent shell copy, the History namespace, the Recent Documents list
// and the Recycle Bin, on top of the simulated drive and registry.
#include <map>
#include <string>
#include <vector>

#include "platform/shell.h"
#include "platform/sim/sim_file_system.h"
#include "platform/sim/sim_history.h"
#include "platform/sim/sim_registry.h"

namespace qm::sim {

class SimShell final : public platform::Shell {
  public:
    // Where Explorer lists the documents opened lately, under HKCU.
    static constexpr const char* kRecentDocsKey =
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs";
    static constexpr int kRecentFolder = 8;  // CSIDL_RECENT
    static constexpr std::int32_t kUnexpected = static_cast<std::int32_t>(0x8000FFFFu);
    static constexpr std::int32_t kFail = static_cast<std::int32_t>(0x80004005u);

    SimShell(SimFileSystem& files, SimRegistry& registry, SimHistory& history)
        : files_(files), registry_(registry), history_(history) {}

    void SetSpecialFolder(int csidl, const std::string& path);
    void ClearSpecialFolder(int csidl) { folders_.erase(csidl); }

    // Test set-up: a shortcut in the Recent folder and its entry in RecentDocs. Throws
    // std::invalid_argument when the Recent folder is not set.
    void AddRecentDocument(const std::string& name);
    // The user's own folder under C:\RECYCLER; files are added below it.
    void SetRecycleBinFolder(const std::string& folder) { recycle_bin_ = folder; }
    const std::string& recycle_bin_folder() const { return recycle_bin_; }
    std::vector<std::string> RecycleBinFiles() const { return files_.FilesBelow(recycle_bin_); }
    int recycle_bin_icon_updates() const { return icon_updates_; }
    // Every address handed to the browser, oldest first.
    const std::vector<std::string>& opened_addresses() const { return opened_; }

    platform::Status GetFolderPath(int csidl, std::string& path) override;
    platform::Status GetSpecialFolderLocationPath(int csidl, std::string& path) override;

    platform::Status HistoryItemCount(std::size_t& count) override;
    platform::Status HistoryItemVerbs(std::size_t item, std::vector<std::string>& verbs) override;
    platform::Status InvokeHistoryVerb(std::size_t item, std::size_t verb) override;

    void ClearRecentDocs() override;
    std::int32_t EmptyRecycleBin() override;
    void UpdateRecycleBinIcon() override { ++icon_updates_; }
    void OpenInBrowser(std::string_view address) override { opened_.emplace_back(address); }

  private:
    SimFileSystem& files_;
    SimRegistry& registry_;
    SimHistory& history_;
    std::map<int, std::string> folders_;
    std::vector<std::uint32_t> recent_order_;  // RecentDocs value numbers, newest first
    std::string recycle_bin_;
    int icon_updates_ = 0;
    std::vector<std::string> opened_;
};

}  // namespace qm::sim
