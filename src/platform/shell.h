#pragma once
// The parts of the Windows shell Quillmoss uses: special folders, the silent copy, the
// History folder as a shell namespace, the Recent Documents list, the Recycle Bin and the
// user's default browser.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace qm::platform {

namespace csidl {
inline constexpr int kPersonal = 5;  // My Documents
inline constexpr int kFavorites = 6;
inline constexpr int kRecent = 8;
inline constexpr int kStartMenu = 11;
inline constexpr int kDesktopDirectory = 16;
inline constexpr int kAppData = 26;
inline constexpr int kLocalAppData = 28;
inline constexpr int kInternetCache = 32;
inline constexpr int kCookies = 33;
inline constexpr int kHistory = 34;
inline constexpr int kCommonAppData = 35;
inline constexpr int kWindows = 36;
inline constexpr int kSystem = 37;
inline constexpr int kProgramFiles = 38;
inline constexpr int kProfile = 40;
inline constexpr int kProgramFilesX86 = 42;
}  // namespace csidl

class Shell {
  public:
    virtual ~Shell() = default;

    // SHGetFolderPath with flag 0: the folder's current path, no trailing backslash.
    virtual Status GetFolderPath(int csidl, std::string& path) = 0;
    // SHGetSpecialFolderLocation followed by SHGetPathFromIDList.
    virtual Status GetSpecialFolderLocationPath(int csidl, std::string& path) = 0;

    // The History folder opened as a shell namespace (the shell's automation object,
    // NameSpace(34)): its items in the folder's order, and the names of one item's verbs in
    // menu order ("&Open", "&Delete", ... with their accelerator ampersands).
    virtual Status HistoryItemCount(std::size_t& count) = 0;
    virtual Status HistoryItemVerbs(std::size_t item, std::vector<std::string>& verbs) = 0;
    // Runs verb `verb` of item `item` (DoIt). A deleting verb shows the shell's confirmation
    // question and returns once it is answered; timers tick while it is open.
    virtual Status InvokeHistoryVerb(std::size_t item, std::size_t verb) = 0;

    // SHAddToRecentDocs with flags 0 and no item: empties the Recent Documents list.
    virtual void ClearRecentDocs() = 0;
    // SHEmptyRecycleBin for all drives with no question, no progress window and no sound;
    // the HRESULT it returns (0 = S_OK).
    virtual std::int32_t EmptyRecycleBin() = 0;
    // SHUpdateRecycleBinIcon.
    virtual void UpdateRecycleBinIcon() = 0;

    // ShellExecute of a web address with no owner, the default verb and SW_SHOWNORMAL: the
    // default browser opens it. Neither waits for the browser nor says whether it came up.
    virtual void OpenInBrowser(std::string_view address) = 0;
};

}  // namespace qm::platform
