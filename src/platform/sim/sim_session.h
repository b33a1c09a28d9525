#pragma once
// The program's process and its main window as the user's session sees them. Every call that
// acts on the window, the notification area or the process is written down in one record, so
// a test can tell the order of start-up and shutdown steps across both.
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop.h"
#include "platform/process.h"
#include "platform/sim/sim_history.h"

namespace qm::sim {

struct SessionRecord {
    std::vector<std::string> calls;
    bool previous_instance = false;
    int next_menu_choice = -1;
};

class SimProcess final : public platform::Process {
  public:
    explicit SimProcess(SessionRecord& record) : record_(record) {}
    std::string folder = "C:\\Program Files\\Quillmoss";
    std::string name = "Quillmoss";

    std::string ProgramFolder() override { return folder; }
    std::string ProgramName() override { return name; }
    bool ActivatePreviousInstance(std::string_view main_window_caption) override;
    void EndProcess() override;

  private:
    SessionRecord& record_;
};

class SimDesktop final : public platform::Desktop {
  public:
    SimDesktop(SimHistory& history, SessionRecord& record) : history_(history), record_(record) {}
    bool ConfirmOwnQuestion() override { return history_.ConfirmOpenQuestion(); }
    void DisableClose() override;
    void CentreMainWindow() override;
    void HideMainWindow() override;
    void RestoreMainWindow() override;
    void BringMainWindowForward() override;
    void AddTrayIcon(std::string_view tip) override;
    void DeleteTrayIcon() override;
    int TrackTrayMenu(const std::vector<std::string>& items) override;

  private:
    SimHistory& history_;
    SessionRecord& record_;
};

}  // namespace qm::sim
