#pragma once
// Where the main window keeps its options dialog: made on first use, shown without being
// modal, and only one at a time. A closed dialog is made afresh at the next opening, so it
// opens in its design-time state and loads the registry's.
#include <functional>
#include <memory>
#include <vector>

#include "background/schedule_control.h"
#include "options/options_dialog.h"

namespace qm::options {

class OptionsHost {
  public:
    OptionsHost(platform::Platform& platform, settings::SettingsStore& settings,
                errors::ErrorReporter& reporter, background::ScheduleControl& schedule)
        : platform_(platform), settings_(settings), reporter_(reporter), schedule_(&schedule) {}
    OptionsHost(const OptionsHost&) = delete;
    OptionsHost& operator=(const OptionsHost&) = delete;

    // A new dialog loaded from the registry, or the open one brought forward.
    void Open();
    // The open dialog; null when none is open.
    OptionsDialog* dialog() { return dialog_ && dialog_->loaded() ? dialog_.get() : nullptr; }

    // What puts a dialog on screen, or brings it forward when it is there already.
    void SetView(std::function<void(OptionsDialog&)> show) { show_ = std::move(show); }
    // Another scheduled cleaning for the dialogs to switch; the next dialog opened uses it.
    void SetScheduleControl(background::ScheduleControl& schedule) { schedule_ = &schedule; }
    void SetUpgradeCheck(std::function<void()> check) { upgrade_check_ = std::move(check); }
    void SetOnPlacesChanged(std::function<void()> changed) { places_changed_ = std::move(changed); }

  private:
    platform::Platform& platform_;
    settings::SettingsStore& settings_;
    errors::ErrorReporter& reporter_;
    background::ScheduleControl* schedule_;
    std::function<void(OptionsDialog&)> show_ = [](OptionsDialog&) {};
    std::function<void()> upgrade_check_ = [] {};
    std::function<void()> places_changed_ = [] {};
    std::unique_ptr<OptionsDialog> dialog_;
    // Closed dialogs whose handler was still running when a new one opened: a handler that
    // waits keeps the windows answering, so the user may close and reopen meanwhile. Each
    // goes once its handler has returned.
    std::vector<std::unique_ptr<OptionsDialog>> retired_;
};

}  // namespace qm::options
