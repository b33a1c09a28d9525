#pragma once
// The running program itself.
#include <string>

namespace qm::platform {

class Process {
  public:
    virtual ~Process() = default;
    // The folder the program was started from, as Windows gives it (no trailing backslash,
    // except for a drive root such as "C:\").
    virtual std::string ProgramFolder() = 0;
    // The executable's name without folder and without ".exe".
    virtual std::string ProgramName() = 0;
};

}  // namespace qm::platform
