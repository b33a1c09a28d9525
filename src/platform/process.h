#pragma once
// The running program itself.
#include <string>
#include <string_view>

namespace qm::platform {

class Process {
  public:
    virtual ~Process() = default;
    // The folder the program was started from, as Windows gives it (no trailing backslash,
    // except for a drive root such as "C:\").
    virtual std::string ProgramFolder() = 0;
    // The executable's name without folder and without ".exe".
    virtual std::string ProgramName() = 0;
    // When another copy of Quillmoss already runs for this user, restores its main window
    // (titled `main_window_caption`) from minimised or hidden and brings it forward, and
    // returns true: this copy must then end without touching anything. False when this is the
    // only copy, or the other copy's window cannot be found.
    virtual bool ActivatePreviousInstance(std::string_view main_window_caption) = 0;
    // Whether another copy's main window (titled `main_window_caption`) is still there,
    // leaving it as it is. Marks this copy as running as ActivatePreviousInstance does, so
    // that copies started later find it.
    virtual bool OtherCopyRunning(std::string_view main_window_caption) = 0;
    // Starts the program at `path` (a full path, no arguments) in a minimised window that takes
    // the focus. True once Windows has made the process; false when the file is missing or is
    // no program Windows can start.
    virtual bool StartProgram(std::string_view path) = 0;
    // Claims the one clean run this user's session may have at a time, across every copy of
    // Quillmoss: the window's runs and the command line's. False when another copy holds it.
    virtual bool BeginCleanRun() = 0;
    // Gives the claim back; harmless when not held.
    virtual void EndCleanRun() = 0;
    // Ends the program at once; nothing after it runs.
    virtual void EndProcess() = 0;
};

}  // namespace qm::platform
