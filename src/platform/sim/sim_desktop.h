#pragma once
// The desktop of the simulated machine: the History question Quillmoss may answer, and the
// restart requests it makes, kept for tests to read. Windows 95/98/ME have no tokens, so the
// privilege cannot be had there; on the NT family a restart without it is refused.
#include <vector>

#include "platform/desktop.h"
#include "platform/sim/machine.h"
#include "platform/sim/sim_history.h"
#include "platform/system_info.h"

namespace qm::sim {

class SimDesktop final : public platform::Desktop {
  public:
    SimDesktop(SimHistory& history, const platform::VersionRecord& version)
        : history_(history), version_(version) {}

    bool ConfirmOwnQuestion() override { return history_.ConfirmOpenQuestion(); }

    bool EnableShutdownPrivilege() override {
        ++privilege_requests;
        if (version_.platform != 2 || refuse_privilege) return false;
        privilege_enabled_ = true;
        return true;
    }

    bool RequestExitWindows(std::uint32_t flags, std::uint32_t reason) override {
        const bool nt = version_.platform == 2;
        ExitWindowsCall call{flags, reason, privilege_enabled_, false};
        call.accepted = !refuse_exit && (!nt || privilege_enabled_);
        exit_calls.push_back(call);
        return call.accepted;
    }

    bool refuse_privilege = false;
    bool refuse_exit = false;
    int privilege_requests = 0;
    std::vector<ExitWindowsCall> exit_calls;

  private:
    SimHistory& history_;
    const platform::VersionRecord& version_;
    bool privilege_enabled_ = false;
};

}  // namespace qm::sim
