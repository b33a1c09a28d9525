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
};

}  // namespace qm::win32
