#pragma once
// Special folders and the silent copy through shell32.
#include "platform/shell.h"

namespace qm::win32 {

class Win32Shell final : public platform::Shell {
  public:
    platform::Status GetFolderPath(int csidl, std::string& path) override;
    platform::Status GetSpecialFolderLocationPath(int csidl, std::string& path) override;
    platform::Status CopyFileSilent(std::string_view source, std::string_view target,
                                    bool& aborted) override;
    platform::Status HistoryItemCount(std::size_t& count) override;
    platform::Status HistoryItemVerbs(std::size_t item, std::vector<std::string>& verbs) override;
    platform::Status InvokeHistoryVerb(std::size_t item, std::size_t verb) override;
    void ClearRecentDocs() override;
    std::int32_t EmptyRecycleBin() override;
    void UpdateRecycleBinIcon() override;
};

}  // namespace qm::win32
