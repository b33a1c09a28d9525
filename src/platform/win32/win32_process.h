#pragma once
// The running executable's folder and name, from GetModuleFileNameW; the single copy, kept
// by a named mutex for the session; starting another program; the end of the process.
#include "platform/process.h"
#include "platform/win32/scoped_handle.h"

namespace qm::win32 {

class Win32Process final : public platform::Process {
  public:
    std::string ProgramFolder() override;
    std::string ProgramName() override;
    bool ActivatePreviousInstance(std::string_view main_window_caption) override;
    bool OtherCopyRunning(std::string_view main_window_caption) override;
    bool StartProgram(std::string_view path) override;
    bool BeginCleanRun() override;
    void EndCleanRun() override;
    void EndProcess() override;

  private:
    ScopedFile clean_run_;
    // Held for the program's life, so that a later start finds this copy.
    ScopedFile single_copy_;
};

// Splits a full executable path the way ProgramFolder/ProgramName report it: the folder keeps
// its backslash only when it is a drive root, the name loses a ".exe" in any letter case.
void SplitProgramPath(std::string_view path, std::string& folder, std::string& name);

}  // namespace qm::win32
