#include "platform/sim/sim_session.h"

namespace qm::sim {

bool SimProcess::ActivatePreviousInstance(std::string_view main_window_caption) {
    record_.calls.push_back("ActivatePreviousInstance(" + std::string(main_window_caption) + ")");
    return record_.previous_instance;
}

bool SimProcess::OtherCopyRunning(std::string_view main_window_caption) {
    record_.calls.push_back("OtherCopyRunning(" + std::string(main_window_caption) + ")");
    return record_.previous_instance;
}

bool SimProcess::StartProgram(std::string_view path) {
    record_.calls.push_back("StartProgram(" + std::string(path) + ")");
    std::uint32_t attributes = 0;
    return !record_.refuse_program_start &&
           files_.GetAttributes(path, attributes) == platform::kOk &&
           (attributes & platform::attr::kDirectory) == 0;
}

bool SimProcess::BeginCleanRun() {
    if (record_.clean_run_elsewhere) return false;
    record_.clean_run_held = true;
    return true;
}

void SimProcess::EndProcess() {
    record_.calls.emplace_back("EndProcess");
}

void SimDesktop::DisableClose() {
    record_.calls.emplace_back("DisableClose");
}

void SimDesktop::CentreMainWindow() {
    record_.calls.emplace_back("CentreMainWindow");
}

void SimDesktop::HideMainWindow() {
    record_.calls.emplace_back("HideMainWindow");
}

void SimDesktop::RestoreMainWindow() {
    record_.calls.emplace_back("RestoreMainWindow");
}

void SimDesktop::BringMainWindowForward() {
    record_.calls.emplace_back("BringMainWindowForward");
}

void SimDesktop::AddTrayIcon(std::string_view tip) {
    record_.calls.push_back("AddTrayIcon(" + std::string(tip) + ")");
}

void SimDesktop::DeleteTrayIcon() {
    record_.calls.emplace_back("DeleteTrayIcon");
}

int SimDesktop::TrackTrayMenu(const std::vector<std::string>& items) {
    std::string call = "TrackTrayMenu(";
    for (std::size_t i = 0; i < items.size(); ++i) call += (i ? "|" : "") + items[i];
    record_.calls.push_back(call + ")");
    const int choice = record_.next_menu_choice;
    record_.next_menu_choice = -1;
    return choice;
}

}  // namespace qm::sim
