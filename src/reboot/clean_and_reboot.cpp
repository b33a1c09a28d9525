#include "reboot/clean_and_reboot.h"

#include "errors/error_reporter.h"

namespace qm::reboot {

using errors::SilentStep;
namespace ewx = platform::exit_windows;
namespace reason = platform::shutdown_reason;

bool IsWindowsNT(const platform::VersionRecord& version) {
    return version.ok && version.platform == 2;
}

std::uint32_t RestartFlags(const platform::VersionRecord& version, bool force) {
    // Never the plain force: it ends every program without letting it save its work.
    const bool knows_hung = IsWindowsNT(version) && version.major >= 5;
    return ewx::kReboot | (knows_hung && force ? ewx::kForceIfHung : 0);
}

std::uint32_t RestartReason(bool nt) {
    // The parameter is reserved on 95/98/ME.
    return nt ? reason::kMajorApplication | reason::kMinorMaintenance | reason::kFlagPlanned : 0;
}

bool RebootSystem(platform::Platform& platform, bool force) {
    bool nt = false;
    std::uint32_t flags = RestartFlags({}, force);
    SilentStep([&] {
        const platform::VersionRecord version = platform.system.GetVersion();
        nt = IsWindowsNT(version);
        flags = RestartFlags(version, force);
    });
    // A refused privilege is not checked here: Windows then refuses the restart itself.
    if (nt) SilentStep([&] { platform.desktop.EnableShutdownPrivilege(); });
    bool accepted = false;
    SilentStep([&] { accepted = platform.desktop.RequestExitWindows(flags, RestartReason(nt)); });
    return accepted;
}

void CleanAndReboot::Click() {
    // A run refused because one is in progress leaves ItemsCleaned to that other run.
    bool refused = false;
    SilentStep([&] { refused = !clean_run_.Run(); });
    if (refused || !clean_run_.ItemsCleaned()) return;

    int answer = platform::mb::kIdCancel;
    SilentStep([&] {
        answer = platform_.dialogs.MessageBox(kRebootQuestion, clean::kProgramTitle,
                                              platform::mb::kOkCancel);
    });
    if (answer != platform::mb::kIdOk) return;

    // Set before the request: the session end may reach the window while it is being made.
    SilentStep([&] { requested_at_ = platform_.system.GetTickCount(); });
    restart_requested_ = true;
    restart_requested_ = RebootSystem(platform_, true);
}

void CleanAndReboot::SessionEndQueried(bool logoff) {
    if (!restart_requested_) return;
    std::uint32_t now = requested_at_;
    SilentStep([&] { now = platform_.system.GetTickCount(); });
    if (logoff || now - requested_at_ > kRestartAnswerMs) restart_requested_ = false;
}

}  // namespace qm::reboot
