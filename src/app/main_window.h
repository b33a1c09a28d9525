#pragma once
// The main window ("Form1") as a model: its controls with their program names and captions,
// and the handlers that run when the user, a timer or the program acts on them. The Win32
// view creates one native control per model control (FindControl / AllControls), mirrors
// every change it is told about, and feeds user actions back through the control methods.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/preview_dialog.h"
#include "background/browser_windows.h"
#include "background/scheduler.h"
#include "browsers/browser_profiles.h"
#include "clean/catalogue.h"
#include "clean/clean_run.h"
#include "clean/custom_items.h"
#include "cleaners/file_tools.h"
#include "controls/controls.h"
#include "errors/error_reporter.h"
#include "ietoolbar/ie_toolbar.h"
#include "options/options_host.h"
#include "platform/platform.h"
#include "reboot/clean_and_reboot.h"
#include "settings/settings_store.h"
#include "sysinfo/system_details.h"

namespace qm::app {

// The main window is built from the shared control models.
using controls::Button;
using controls::CheckBox;
using controls::Control;
using controls::Frame;
using controls::Label;
using controls::ListBox;
using controls::TabStrip;
namespace vk = controls::vk;

inline constexpr std::string_view kMainWindowCaption = "Quillmoss v2.80";

// Tabs of the top strip, zero-based as TabStrip counts them.
enum TopTab : std::size_t { kMainTab = 0, kPrivacyTab = 1, kQandATab = 2, kSystemInfoTab = 3 };

// Why the window is unloaded, as the close handling is told: only a session end may clean.
enum UnloadMode : int {
    kUnloadFromControlMenu = 0,
    kUnloadFromCode = 1,
    kUnloadSessionEnding = 2,
    kUnloadFromTaskManager = 3,
};

// The window states the resize handling is told.
enum WindowState : int { kWindowNormal = 0, kWindowMinimised = 1, kWindowMaximised = 2 };

// What the notification-area icon reports: the mouse message it saw over the icon. The view
// delivers these from the icon's own callback message, never from mouse moves over the window.
namespace tray {
inline constexpr std::uint32_t kLeftButtonUp = 514;
inline constexpr std::uint32_t kLeftDoubleClick = 515;
inline constexpr std::uint32_t kRightButtonUp = 517;
}  // namespace tray

inline constexpr std::string_view kTrayTip = "Quillmoss";
inline constexpr std::string_view kExitQuestion = "Are you sure you want to exit Quillmoss?";

class MainWindow : private clean::RunWindow {
  public:
    MainWindow(platform::Platform& platform, settings::SettingsStore& settings,
               errors::ErrorReporter& reporter, sysinfo::SystemDetails& system_details);
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;
    ~MainWindow() override;

    const std::string& caption() const { return caption_; }

    // --- controls, by program name ------------------------------------------------------
    TabStrip& TabStrip1() { return *tab_strip1_; }
    TabStrip& TabStrip2() { return *tab_strip2_; }
    Frame& frmone(std::size_t index) { return *top_panels_.at(index); }
    Frame& frmPopularFolders(std::size_t index) { return *item_panels_.at(index); }
    ListBox& List1() { return *list1_; }
    CheckBox& Check1() { return *check1_; }
    Button& Command4() { return *command4_; }
    Button& cmdCleanAndReboot() { return *clean_and_reboot_; }
    Button& Command2() { return *command2_; }
    Button& cmdAddtoIE() { return *add_to_ie_; }
    Button& Command5() { return *command5_; }
    Button& Command6() { return *command6_; }
    Button& Command7() { return *command7_; }
    Button& cmdPreview() { return *preview_button_; }
    // The box of a catalogue item.
    CheckBox& ItemBox(const clean::CleaningItem& item);
    // The box of own place `slot` (1..8), shown only while the slot holds a place.
    CheckBox& CustomBox(int slot) { return *custom_boxes_.at(static_cast<std::size_t>(slot - 1)); }
    // The own places' boxes take the places the settings hold now: captions, which show, and
    // a slot emptied loses its tick.
    void RefreshCustomBoxes();
    // The hint label of an item panel (1..5).
    Label& HintLabel(int panel);

    // Any control by program name, and index for control arrays ("frmone", 2); null if none.
    Control* FindControl(std::string_view name, int index = -1);
    // Every control, each parent before its children, for the view to create.
    const std::vector<Control*>& AllControls() const { return all_; }

    // The top panel in front: the visible frmone with the highest z-order.
    std::size_t FrontTopPanel() const;

    // --- life of the window -------------------------------------------------------------
    // Start-up, once the native window exists and before it is first shown (the view shows it
    // in the normal state afterwards). False when another copy was brought forward instead:
    // this one has ended untouched and must not be shown.
    bool Form_Load();
    // Before the window goes, whatever the reason; a session end may clean first. The unload
    // always goes ahead.
    void Form_QueryUnload(int unload_mode);
    void Form_Resize(int window_state);
    void Form_Terminate();
    // The three Exit commands (the Main panel's button, "&File" > "E&xit", the icon's menu):
    // one confirmed way out; only the icon's reports its errors.
    void Command4_Click() { ConfirmExit({}); }
    void mnuExit_Click() { ConfirmExit({}); }
    void mexit_Click();
    // A notification of the icon (tray::...); other codes do nothing.
    void TrayIcon_Notify(std::uint32_t code);
    void mnuRestore_Click();
    // The taskbar was re-created (Explorer restarted) and lost every icon: ours comes back,
    // unless the program is already on its way out.
    void TaskbarCreated();
    // What finishes a pending upgrade at start-up; it may end the program. Nothing until set.
    void SetUpgradeCompletion(std::function<void()> complete) {
        complete_upgrade_ = std::move(complete);
    }
    // Scheduled cleaning's switch, for the options dialog.
    background::ScheduleControl& schedule() { return scheduler_; }
    // What arms scheduled cleaning with a "schedclean" text (its interval, then its timer);
    // by default the scheduler's switch.
    void SetScheduleArming(std::function<void(const std::string&)> arm) {
        arm_schedule_ = std::move(arm);
    }

    // --- handlers -----------------------------------------------------------------------
    void TabStrip1_Click();
    void TabStrip2_Click();
    void Command7_Click() { clean_run_.Run(); }
    // "Preview": the dry run of the ticked items in the Preview dialog; nothing is deleted.
    void cmdPreview_Click() { preview_.Open(); }
    PreviewHost& preview() { return preview_; }
    // "Select All" / "Deselect All": every box of the item panel whose tab is selected.
    void Command5_Click();
    void Command6_Click();
    // "Remember Last Checked Items" switched: on creates "remember", off deletes it.
    void Check1_Click();
    // Start-up: with "remember" on, ticks the items of the last confirmed run and Check1, then
    // re-arms scheduled cleaning; with it off, leaves every box clear and arms nothing.
    void RestoreCheckedItems();
    // Replaces the re-arm step that follows a restore (by default: read "schedclean" and,
    // unless it is empty or says "d", hand it to the schedule arming).
    void SetScheduleRearm(std::function<void()> rearm) { rearm_schedule_ = std::move(rearm); }
    void cmdCleanAndReboot_Click() { reboot_.Click(); }
    // Appends the four status lines to List1 (it does not empty it).
    void GetInfo();
    // The buttons start afresh on the progress list and the status lines; the "&Option" menu
    // items (mnuAddIE, mnuDeleteIE) only change the toolbar button.
    void cmdAddtoIE_Click();
    void Command2_Click();
    void mnuAddIE_Click() { toolbar_button_.AddIEToolbarButton(); }
    void mnuDeleteIE_Click() { toolbar_button_.DeleteIEToolbarButton(); }
    // The click of a help or web link (a "Q && A" label, "mnuHP" or "mnuAbout"), by name.
    void WebLink_Click(std::string_view control);
    // "&Clean && Reboot" does what the button does.
    void mnuCR_Click() { cmdCleanAndReboot_Click(); }
    // "&Advance Settings": opens the options dialog, modeless; while it is open, a second
    // choice brings it forward. It switches the window's scheduled cleaning.
    void mnuAs_Click() { options_.Open(); }
    options::OptionsHost& options() { return options_; }
    void SetScheduleControl(background::ScheduleControl& schedule) {
        options_.SetScheduleControl(schedule);
    }

    bool ItemsCleaned() const { return clean_run_.ItemsCleaned(); }
    clean::CleanRun& clean_run() { return clean_run_; }
    // The session is ending for a restart Clean and Reboot asked for: no clean run then.
    bool restart_requested() const { return reboot_.restart_requested(); }
    // A program refused to close (WM_ENDSESSION with FALSE): the restart is off, and the next
    // session end is the user's own again.
    void SessionEndCancelled() { reboot_.RestartCancelled(); }
    // Windows asks whether the session may end (WM_QUERYENDSESSION); `logoff` when the user is
    // logging off. Windows does not tell a program it never asked that a restart was refused,
    // so a log-off or a late session end is the user's own even after Clean and Reboot.
    void SessionEndQueried(bool logoff) { reboot_.SessionEndQueried(logoff); }
    // How the session end that Windows announces (WM_ENDSESSION with TRUE) unloads the window:
    // as a session end that may clean, unless it only closes the program (a Restart Manager
    // request) or is the restart Clean and Reboot asked for, which has cleaned already.
    int SessionEndUnloadMode(bool closes_program_only) const {
        return closes_program_only || restart_requested() ? kUnloadFromCode : kUnloadSessionEnding;
    }

  private:
    template <class T, class... Args>
    T& Add(Args&&... args);
    void BuildMainPanel();
    void BuildPrivacyPanel();
    void BuildQandAPanel();
    void BuildSystemInfoPanel();
    void ShowSystemInfoLabels();
    // Runs whenever an item's box changes state; the hint handling goes here.
    void OnItemBoxChanged(const clean::CleaningItem& item);
    void OnCustomBoxChanged(int slot);
    void SetSelectedPanelBoxes(std::string_view error_label, int value);
    void RearmScheduleFromSettings();
    // The organisation's items: ticked and greyed, the panels' hints saying so; and its
    // schedule armed even where the user's ticks are not remembered.
    void ApplyPolicies();
    void ConfirmExit(std::string_view error_label);
    // While an upgrade hands over between its programs, start-up waits for the other copy to
    // end instead of going back to it.
    void WaitForHandOver();
    static constexpr int kHandOverWaitSeconds = 10;
    void AddTrayIcon();
    void DeleteTrayIcon();
    // A start-up read: an absent value is created with "aa" and reads as empty text.
    std::string ReadCreatingDefault(std::string_view name);

    // clean::RunWindow
    void ClearProgress() override;
    void AppendProgress(std::string_view line) override;
    void SelectLastProgressLine() override;
    void SendLeftArrowToTopTabs() override;
    int BoxValue(const clean::CleaningItem& item) override;
    int CustomBoxValue(int slot) override;

    platform::Platform& platform_;
    settings::SettingsStore& settings_;
    errors::ErrorReporter& reporter_;
    sysinfo::SystemDetails& system_details_;
    std::string caption_{kMainWindowCaption};

    std::vector<std::unique_ptr<Control>> owned_;
    std::vector<Control*> all_;

    TabStrip* tab_strip1_ = nullptr;
    TabStrip* tab_strip2_ = nullptr;
    std::array<Frame*, 4> top_panels_{};
    std::array<Frame*, clean::kPanelCount> item_panels_{};
    std::array<Label*, clean::kPanelCount> hint_labels_{};
    bool items_by_policy_ = false;  // the organisation's "Items" policy set the boxes
    std::array<CheckBox*, clean::kItemCount> item_boxes_{};  // in run order
    std::array<CheckBox*, cleaners::kCustomSlots> custom_boxes_{};
    ListBox* list1_ = nullptr;
    CheckBox* check1_ = nullptr;
    Button* command4_ = nullptr;
    Button* clean_and_reboot_ = nullptr;
    Button* command2_ = nullptr;
    Button* add_to_ie_ = nullptr;
    Button* command5_ = nullptr;
    Button* command6_ = nullptr;
    Button* command7_ = nullptr;
    Button* preview_button_ = nullptr;

    // System Info value labels, in the order of sysinfo::SystemInfoLabels' fields.
    sysinfo::SystemInfoLabels system_values_;
    struct ValueLabels {
        Label* processor_type;
        Label* processor_count;
        Label* total_memory;
        Label* available_memory;
        Label* os_name;
        Label* os_version;
    } value_labels_{};

    std::function<void()> rearm_schedule_ = [this] { RearmScheduleFromSettings(); };
    std::function<void(const std::string&)> arm_schedule_ = [this](const std::string& text) {
        scheduler_.SwitchOn(text);
    };
    std::function<void()> complete_upgrade_ = [] {};
    bool tray_icon_added_ = false;
    clean::CleanRun clean_run_;
    ietoolbar::ToolbarButton toolbar_button_;
    reboot::CleanAndReboot reboot_{platform_, clean_run_};
    background::BossKeys boss_keys_{platform_.desktop};
    // A scheduled run is the button's run, with the browsers closed once the user said OK, and
    // an entry in the event log.
    background::Scheduler scheduler_{
        platform_.loop,
        platform_.desktop,
        platform_.system,
        settings_,
        reporter_,
        [this](const std::function<void()>& once_confirmed) {
            clean_run_.Run(once_confirmed, clean::RunStart::Schedule);
        },
        [this] { return browsers::ProfileFinder(platform_).AnyInUse(); }};
    options::OptionsHost options_{platform_, settings_, reporter_, scheduler_};
    PreviewHost preview_{platform_, settings_,
                         [this](const clean::CleaningItem& item) { return ItemBox(item).value(); },
                         [this](int slot) { return CustomBoxValue(slot); }};
};

}  // namespace qm::app
