#pragma once
// The program's process and its main window as the user's session sees them. Every call that
// acts on the window, the notification area or the process is written down in one record, so
// a test can tell the order of start-up and shutdown steps across both.
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/desktop.h"
#include "platform/file_system.h"
#include "platform/process.h"
#include "platform/sim/machine.h"
#include "platform/sim/sim_history.h"
#include "platform/sim/sim_message_loop.h"
#include "platform/system_info.h"

namespace qm::sim {

struct SessionRecord {
    std::vector<std::string> calls;
    bool previous_instance = false;
    bool refuse_program_start = false;
    int next_menu_choice = -1;
    bool clean_run_elsewhere = false;
    bool clean_run_held = false;
};

class SimProcess final : public platform::Process {
  public:
    SimProcess(SessionRecord& record, platform::FileSystem& files)
        : record_(record), files_(files) {}
    std::string folder = "C:\\Program Files\\Quillmoss";
    std::string name = "Quillmoss";

    std::string ProgramFolder() override { return folder; }
    std::string ProgramName() override { return name; }
    bool ActivatePreviousInstance(std::string_view main_window_caption) override;
    bool OtherCopyRunning(std::string_view main_window_caption) override;
    bool StartProgram(std::string_view path) override;
    bool BeginCleanRun() override;
    void EndCleanRun() override { record_.clean_run_held = false; }
    void EndProcess() override;

  private:
    SessionRecord& record_;
    platform::FileSystem& files_;
};

// Also keeps the restart requests for tests to read. Windows 95/98/ME have no tokens, so the
// privilege cannot be had there; on the NT family a restart without it is refused.
class SimDesktop final : public platform::Desktop {
  public:
    SimDesktop(SimHistory& history, SessionRecord& record, const platform::VersionRecord& version,
               SimMessageLoop& loop)
        : history_(history), record_(record), version_(version), loop_(loop) {}
    bool ConfirmOwnQuestion() override { return history_.ConfirmOpenQuestion(); }

    bool EnableShutdownPrivilege() override {
        ++privilege_requests;
        if (version_.platform != 2 || refuse_privilege) return false;
        privilege_enabled_ = true;
        return true;
    }
    bool RequestExitWindows(std::uint32_t flags, std::uint32_t reason) override {
        ExitWindowsCall call{flags, reason, privilege_enabled_, false};
        call.accepted = !refuse_exit && (version_.platform != 2 || privilege_enabled_);
        exit_calls.push_back(call);
        return call.accepted;
    }
    bool refuse_privilege = false;
    bool refuse_exit = false;
    int privilege_requests = 0;
    std::vector<ExitWindowsCall> exit_calls;

    void DisableClose() override;
    void CentreMainWindow() override;
    void HideMainWindow() override;
    void RestoreMainWindow() override;
    void BringMainWindowForward() override;
    void AddTrayIcon(std::string_view tip) override;
    void DeleteTrayIcon() override;
    int TrackTrayMenu(const std::vector<std::string>& items) override;

    std::vector<platform::WindowHandle> TopLevelWindows() override;
    std::string WindowClassName(platform::WindowHandle window) override;
    std::string WindowProgramName(platform::WindowHandle window) override;
    bool IsWindowVisible(platform::WindowHandle window) override;
    bool GetWindowPlacement(platform::WindowHandle window,
                            platform::WindowPlacement& placement) override;
    bool SetWindowPlacement(platform::WindowHandle window,
                            const platform::WindowPlacement& placement) override;
    bool PostCloseRequest(platform::WindowHandle window) override;
    bool KeyPressedSinceLastQuery(int virtual_key) override;

    // Other programs' windows, the newest on top.
    struct Window {
        std::string window_class;
        platform::WindowPlacement placement;
        bool visible = true;
        std::uint64_t z = 0;
        std::int64_t closes_after_ms = -1;  // once asked to close; -1: it stays
        std::string program = "explorer.exe";
    };
    std::map<platform::WindowHandle, Window> windows;
    platform::WindowHandle next_handle = 0x10010;
    std::uint64_t next_z = 0;
    std::vector<platform::WindowHandle> close_requests;
    std::vector<std::pair<platform::WindowHandle, platform::WindowPlacement>> placement_changes;
    std::set<int> pressed_keys;  // pressed since the last question about them

  private:
    SimHistory& history_;
    SessionRecord& record_;
    const platform::VersionRecord& version_;
    SimMessageLoop& loop_;
    bool privilege_enabled_ = false;
};

}  // namespace qm::sim
