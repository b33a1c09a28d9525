#pragma once
// The shell through shell32: special folders, the silent copy, Recent Documents, the Recycle
// Bin, and the History folder through the shell's automation object. The automation calls
// need a single-threaded COM apartment on the calling thread, and the shell's other calls may
// hand work to extensions that expect one: every call joins it first (see ComApartment).
#include "platform/shell.h"
#include "platform/win32/com_apartment.h"
#include "platform/win32/windows_api.h"

namespace qm::win32 {

class Win32Shell final : public platform::Shell {
  public:
    platform::Status GetFolderPath(int csidl, std::string& path) override;
    platform::Status GetSpecialFolderLocationPath(int csidl, std::string& path) override;

    // No automation object (or no apartment): kErrorCallNotImplemented. No History folder in
    // the namespace: kErrorPathNotFound. An item or verb index past the end:
    // kErrorInvalidParameter.
    platform::Status HistoryItemCount(std::size_t& count) override;
    platform::Status HistoryItemVerbs(std::size_t item, std::vector<std::string>& verbs) override;
    platform::Status InvokeHistoryVerb(std::size_t item, std::size_t verb) override;

    void ClearRecentDocs() override;
    std::int32_t EmptyRecycleBin() override;
    void UpdateRecycleBinIcon() override;
    void OpenInBrowser(std::string_view address) override;

    // The window the Recycle Bin call names as its owner; null (the default) for none.
    void SetOwnerWindow(HWND owner) { owner_ = owner; }

  private:
    ComApartment apartment_;
    HWND owner_ = nullptr;
};

}  // namespace qm::win32
