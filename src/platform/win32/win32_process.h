#pragma once
// The running executable's folder and name, from GetModuleFileNameW.
#include "platform/process.h"

namespace qm::win32 {

class Win32Process final : public platform::Process {
  public:
    std::string ProgramFolder() override;
    std::string ProgramName() override;
};

// Splits a full executable path the way ProgramFolder/ProgramName report it: the folder keeps
// its backslash only when it is a drive root, the name loses a ".exe" in any letter case.
void SplitProgramPath(std::string_view path, std::string& folder, std::string& name);

}  // namespace qm::win32
