#pragma once
// The windows on the desktop as far as Quillmoss acts on them, and the restart it may ask
// Windows for.
#include <cstdint>

namespace qm::platform {

// ExitWindowsEx flags.
namespace exit_windows {
inline constexpr std::uint32_t kReboot = 0x2;
// Ends every program without letting it save: never asked for.
inline constexpr std::uint32_t kForce = 0x4;
// Ends only programs that do not answer; Windows 2000 and later.
inline constexpr std::uint32_t kForceIfHung = 0x10;
}  // namespace exit_windows

// The reason recorded with a shutdown (XP and later read it; earlier Windows ignore it).
namespace shutdown_reason {
inline constexpr std::uint32_t kMajorApplication = 0x00040000;
inline constexpr std::uint32_t kMinorMaintenance = 0x00000001;
inline constexpr std::uint32_t kFlagPlanned = 0x80000000;
}  // namespace shutdown_reason

class Desktop {
  public:
    virtual ~Desktop() = default;
    // Answers a confirmation question of Quillmoss's own process with its default button (as
    // a press of Enter would), but only when such a question is the active window. Never
    // sends anything to another program's window. True when a question was answered.
    virtual bool ConfirmOwnQuestion() = 0;

    // Enables the shutdown privilege in this process's token (NT family), without which the
    // NT family refuses a restart. True when the token now holds it enabled.
    virtual bool EnableShutdownPrivilege() = 0;
    // Asks Windows to end the session with these flags and reason. True when Windows took
    // the request; a program that refuses to close can still stop it afterwards.
    virtual bool RequestExitWindows(std::uint32_t flags, std::uint32_t reason) = 0;
};

}  // namespace qm::platform
