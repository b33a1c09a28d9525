#pragma once
// "Clean and Reboot": the clean run, then, when it cleaned something and the user agrees, a
// restart. Some traces (the index.dat files) are locked while Windows runs and only go at
// the next restart, which is why the button exists.
//
// The restart lets every other program save or refuse: it never forces programs that still
// answer, and a refusal quietly leaves Windows running. A clean run that was refused (one is
// already in progress) or that cleaned nothing offers no restart.
#include <cstdint>
#include <string_view>

#include "clean/clean_run.h"
#include "platform/platform.h"

namespace qm::reboot {

inline constexpr std::string_view kRebootQuestion = "Are you sure you want to reboot";

// True on the NT family (NT 4, 2000, XP and later): version record platform 2.
bool IsWindowsNT(platform::SystemInfo& system);
// The flags and reason of the restart on this family of Windows. `force` ends programs that
// hang, where Windows can tell them apart (not 95/98/ME: there it adds nothing).
std::uint32_t RestartFlags(bool nt, bool force);
std::uint32_t RestartReason(bool nt);
// Enables the privilege where it exists, then asks for the restart. True when Windows took
// the request. Errors are silent.
bool RebootSystem(platform::Platform& platform, bool force);

class CleanAndReboot {
  public:
    CleanAndReboot(platform::Platform& platform, clean::CleanRun& clean_run)
        : platform_(platform), clean_run_(clean_run) {}

    // cmdCleanAndReboot_Click (and the menu item's): every error is silent.
    void Click();

    // True once the user agreed and Windows took the restart request: the session end that
    // follows is this restart, and must not start another clean run.
    bool restart_requested() const { return restart_requested_; }
    void RestartCancelled() { restart_requested_ = false; }

  private:
    platform::Platform& platform_;
    clean::CleanRun& clean_run_;
    bool restart_requested_ = false;
};

}  // namespace qm::reboot
