// The main window from start to end: the start-up sequence, the single copy, the close
// handling with its optional clean at session end, the confirmed Exit commands, and the
// notification-area icon that brings a hidden window back.
#include <array>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "clean/wait_seconds.h"
#include "errors/labels.h"
#include "update/upgrade_stage.h"

namespace qm::app {
namespace {

using errors::ReportingStep;
using errors::SilentStep;
namespace label = errors::label;

constexpr std::array<std::string_view, 2> kTrayMenu = {"&Restore", "E&xit"};
enum TrayMenuItem : int { kMenuRestore = 0, kMenuExit = 1 };

// One step of a procedure: reported under its label, or silently when it has none.
template <class Step>
void RunStep(errors::ErrorReporter& reporter, std::string_view error_label, Step&& step) {
    if (error_label.empty()) {
        SilentStep(step);
    } else {
        ReportingStep(reporter, error_label, step);
    }
}

}  // namespace

bool MainWindow::Form_Load() {
    const auto step = [this](auto&& action) {
        ReportingStep(reporter_, label::kForm1Load, action);
    };

    bool hand_over = false;
    SilentStep([&] { hand_over = update::HandOverUnderWay(settings_); });
    bool other_copy = false;
    if (hand_over) {
        WaitForHandOver();
    } else {
        ReportingStep(reporter_, label::kForm1ShowPrevInstance,
                      [&] { other_copy = platform_.process.ActivatePreviousInstance(caption_); });
    }
    if (other_copy) {
        // The running copy has the user's attention now; this one leaves no trace.
        platform_.process.EndProcess();
        return false;
    }
    SilentStep([&] { platform_.desktop.DisableClose(); });
    step([&] { top_panels_[kMainTab]->BringToFront(); });
    GetInfo();
    step([&] { platform_.desktop.CentreMainWindow(); });
    step([&] { complete_upgrade_(); });
    // Only for its side effect: the updater relies on "ver" existing from the first start on.
    step([&] {
        settings_.MyGetSettingString(settings::kSettingsRoot, settings::kSettingsPath, "ver", "5");
    });
    step([&] { AddTrayIcon(); });
    RestoreCheckedItems();
    ApplyPolicies();
    return true;
}

void MainWindow::WaitForHandOver() {
    // The copy still running is the program that started this one, about to end: going back
    // to it would drop the upgrade. It gets a while to go, and this one goes on either way.
    for (int second = 0; second < kHandOverWaitSeconds; ++second) {
        bool running = false;
        SilentStep([&] { running = platform_.process.OtherCopyRunning(caption_); });
        if (!running) return;
        clean::WaitSeconds(platform_.system, platform_.loop, 1);
    }
}

void MainWindow::RearmScheduleFromSettings() {
    // "d" in any case is how the options dialog stores "no scheduled cleaning".
    const std::string schedule = settings_.Get("schedclean");
    if (!schedule.empty() && !settings::ContainsLetter(schedule, 'd')) arm_schedule_(schedule);
}

void MainWindow::Form_QueryUnload(int unload_mode) {
    ReportingStep(reporter_, label::kForm1QueryUnload, [&] {
        // The run asks its own question first. When the session ends inside a run's pause,
        // Run declines to start a second one and the unload simply goes on.
        if (unload_mode == kUnloadSessionEnding &&
            settings::ContainsLetter(settings_.Get("cleansd"), 'e')) {
            clean_run_.Run({}, clean::RunStart::SessionEnd);
        }
    });
    ReportingStep(reporter_, label::kForm1QueryUnload, [&] { DeleteTrayIcon(); });
}

void MainWindow::mexit_Click() {
    ConfirmExit(label::kForm1Mexit);
}

void MainWindow::ConfirmExit(std::string_view error_label) {
    int answer = 0;
    RunStep(reporter_, error_label, [&] {
        answer = platform_.dialogs.MessageBox(kExitQuestion, "Confirmation",
                                              platform::mb::kYesNo | platform::mb::kIconQuestion);
    });
    if (answer == platform::mb::kIdNo) return;
    RunStep(reporter_, error_label, [&] { DeleteTrayIcon(); });
    RunStep(reporter_, error_label, [&] { Form_QueryUnload(kUnloadFromCode); });
    RunStep(reporter_, error_label, [&] { platform_.process.EndProcess(); });
}

void MainWindow::Form_Resize(int window_state) {
    // Minimised means out of sight: the icon is the way back, not a taskbar button.
    if (window_state == kWindowMinimised) SilentStep([&] { platform_.desktop.HideMainWindow(); });
}

void MainWindow::Form_Terminate() {
    SilentStep([&] { DeleteTrayIcon(); });
}

void MainWindow::TrayIcon_Notify(std::uint32_t code) {
    const auto step = [this](auto&& action) {
        ReportingStep(reporter_, label::kForm1MouseMove, action);
    };
    if (code == tray::kLeftButtonUp || code == tray::kLeftDoubleClick) {
        step([&] { platform_.desktop.RestoreMainWindow(); });
        step([&] { platform_.desktop.BringMainWindowForward(); });
    } else if (code == tray::kRightButtonUp) {
        // Forward first, or the menu would not close when the user clicks elsewhere.
        step([&] { platform_.desktop.BringMainWindowForward(); });
        int choice = -1;
        step([&] {
            choice = platform_.desktop.TrackTrayMenu({kTrayMenu.begin(), kTrayMenu.end()});
        });
        if (choice == kMenuRestore) mnuRestore_Click();
        if (choice == kMenuExit) mexit_Click();
    }
}

void MainWindow::mnuRestore_Click() {
    SilentStep([&] { platform_.desktop.RestoreMainWindow(); });
    SilentStep([&] { platform_.desktop.BringMainWindowForward(); });
}

void MainWindow::TaskbarCreated() {
    if (tray_icon_added_) SilentStep([&] { platform_.desktop.AddTrayIcon(kTrayTip); });
}

void MainWindow::AddTrayIcon() {
    tray_icon_added_ = true;
    platform_.desktop.AddTrayIcon(kTrayTip);
}

void MainWindow::DeleteTrayIcon() {
    tray_icon_added_ = false;
    platform_.desktop.DeleteTrayIcon();
}

}  // namespace qm::app
