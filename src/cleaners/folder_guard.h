#pragma once
// The last check before a cleaner empties a folder together with everything below it (the
// temporary folder, the Cookies folder, the Internet cache). The paths come from settings that
// other programs, a damaged profile or a careless administrator can point anywhere, and one
// wrong folder there costs the user far more than any trace is worth.
#include <string_view>

#include "platform/platform.h"

namespace qm::cleaners {

class FolderGuard {
  public:
    explicit FolderGuard(platform::Platform& platform);

    // True when emptying `folder` could reach beyond the traces: the path is not fully
    // qualified, or the folder it really opens (through folder links, substituted drives and
    // other names of the same files) is a drive or share root, or is or contains the Windows,
    // system, Program Files, profile or program folder, or one of the user's own folders
    // (Desktop, My Documents, Application Data, Local Application Data, Favorites, Start
    // Menu), or holds one of them where it really lies. A folder that does not exist is not
    // protected: there is nothing in it to lose.
    bool IsProtected(std::string_view folder);

  private:
    platform::Platform& platform_;
};

}  // namespace qm::cleaners
