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

// How long after its request a session end may still be the restart asked for. Windows asks
// the programs one after another; one that refuses before this program's turn ends the
// restart without a word to this one, so a later session end is the user's own.
inline constexpr std::uint32_t kRestartAnswerMs = 60'000;

// True on the NT family (NT 4, 2000, XP and later): version record platform 2.
bool IsWindowsNT(const platform::VersionRecord& version);
// The flags and reason of the restart on this version of Windows. `force` ends programs that
// hang, where Windows can tell them apart: NT from 2000 (major 5) on; NT 4 refuses the flag and
// 95/98/ME gain nothing from it.
std::uint32_t RestartFlags(const platform::VersionRecord& version, bool force);
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
    // Windows asks whether the session may end (WM_QUERYENDSESSION). A log-off is never the
    // restart, nor is a session end that comes long after it: the restart was refused before
    // Windows reached this program, which then hears nothing of it.
    void SessionEndQueried(bool logoff);

  private:
    platform::Platform& platform_;
    clean::CleanRun& clean_run_;
    bool restart_requested_ = false;
    std::uint32_t requested_at_ = 0;  // tick count
};

}  // namespace qm::reboot
