#pragma once
// The parts of the Windows shell Quillmoss uses: special folders and the silent copy.
#include <string>
#include <string_view>

#include "platform/status.h"

namespace qm::platform {

namespace csidl {
inline constexpr int kAppData = 26;
inline constexpr int kInternetCache = 32;
inline constexpr int kCookies = 33;
inline constexpr int kHistory = 34;
}  // namespace csidl

class Shell {
  public:
    virtual ~Shell() = default;

    // SHGetFolderPath with flag 0: the folder's current path, no trailing backslash.
    virtual Status GetFolderPath(int csidl, std::string& path) = 0;
    // SHGetSpecialFolderLocation followed by SHGetPathFromIDList.
    virtual Status GetSpecialFolderLocationPath(int csidl, std::string& path) = 0;
    // SHFileOperation FO_COPY with FOF_SILENT | FOF_NOCONFIRMATION: the call's own result
    // and the operation's aborted flag.
    virtual Status CopyFileSilent(std::string_view source, std::string_view target,
                                  bool& aborted) = 0;
};

}  // namespace qm::platform
