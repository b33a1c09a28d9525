#pragma once
// The shell as a dry run sees it: folder look-ups and the History folder's items and verbs
// are read from the real shell; emptying the Recycle Bin, clearing Recent Documents, copying
// and running a deleting History verb are recorded instead of done. No other verb runs.
#include <vector>

#include "platform/dry_run/dry_record.h"
#include "platform/shell.h"

namespace qm::dry_run {

class DryShell final : public platform::Shell {
  public:
    DryShell(platform::Shell& real, std::vector<DryDeletion>& record)
        : real_(real), record_(record) {}

    platform::Status GetFolderPath(int csidl, std::string& path) override {
        return real_.GetFolderPath(csidl, path);
    }
    platform::Status GetSpecialFolderLocationPath(int csidl, std::string& path) override {
        return real_.GetSpecialFolderLocationPath(csidl, path);
    }
    platform::Status HistoryItemCount(std::size_t& count) override;
    platform::Status HistoryItemVerbs(std::size_t item, std::vector<std::string>& verbs) override;
    platform::Status InvokeHistoryVerb(std::size_t item, std::size_t verb) override;
    void ClearRecentDocs() override;
    std::int32_t EmptyRecycleBin() override;
    void UpdateRecycleBinIcon() override {}
    void OpenInBrowser(std::string_view) override {}

  private:
    // The real index of the item-th History item still in sight.
    std::size_t RealItem(std::size_t item) const;

    platform::Shell& real_;
    std::vector<DryDeletion>& record_;
    std::vector<std::size_t> gone_;  // real indexes of the History items deleted, ascending
};

}  // namespace qm::dry_run
