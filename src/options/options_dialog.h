#pragma once
// The advanced-options dialog ("Form2") as a model: the background settings (scheduled
// cleaning and closing the browsers first, cleaning at session end), starting with Windows,
// the Internet Explorer home page and the manual update check. Every press takes effect at
// once; the registry is the only state, so the dialog keeps nothing of its own.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "background/schedule_control.h"
#include "cleaners/custom_places.h"
#include "controls/controls.h"
#include "errors/error_reporter.h"
#include "platform/platform.h"
#include "settings/settings_store.h"

namespace qm::options {

inline constexpr std::string_view kOptionsCaption = "Advanced Options";
inline constexpr std::string_view kUrlMissing = "Please mention the URL";
inline constexpr std::string_view kTimeMissing = "Please Select a time...";
inline constexpr std::string_view kStartPagePath = "Software\\Microsoft\\Internet Explorer\\Main";
inline constexpr std::string_view kStartPageValue = "Start Page";
// The settings value of the sites whose cookies stay.
inline constexpr std::string_view kKeepValue = "cookiekeep";
inline constexpr std::string_view kNotASite =
    "That is no site name. Type a name such as example.com, without http:// or a path.";
inline constexpr std::string_view kPlacesFull =
    "All eight places of your own are in use. Remove one before adding another.";
inline constexpr std::string_view kNotAnExclusion =
    "Please type the full path of a folder or file, such as C:\\Logs\\keep. Only its last "
    "name may hold wildcards.";

// The toggles' captions name the state they are in now, not what a press does.
namespace caption {
inline constexpr std::string_view kScheduleOn = "Scheduled Cleaning Enable";
inline constexpr std::string_view kScheduleOff = "Scheduled Cleaning Disable";
inline constexpr std::string_view kShutDownOn = "Clean At Shut Down Enable";
inline constexpr std::string_view kShutDownOff = "Clean At Shut Down Disable";
inline constexpr std::string_view kRunAtStartOn = "Run At Start Enable";
inline constexpr std::string_view kRunAtStartOff = "Run At Start Disable";
}  // namespace caption

class OptionsDialog {
  public:
    OptionsDialog(platform::Platform& platform, settings::SettingsStore& settings,
                  errors::ErrorReporter& reporter, background::ScheduleControl& schedule);
    OptionsDialog(const OptionsDialog&) = delete;
    OptionsDialog& operator=(const OptionsDialog&) = delete;

    const std::string& name() const { return name_; }  // "Form2"
    const std::string& caption() const { return caption_; }

    // --- controls, by program name ------------------------------------------------------
    controls::Frame& Frame2() { return *frame2_; }
    controls::Button& Command6() { return *command6_; }
    controls::CheckBox& Check1() { return *check1_; }
    controls::ComboBox& Combo1() { return *combo1_; }
    controls::Button& Command5() { return *command5_; }
    controls::Frame& Frame1() { return *frame1_; }
    controls::Button& Command2() { return *command2_; }
    controls::Button& Command1() { return *command1_; }
    controls::TextBox& Text1() { return *text1_; }
    controls::Button& Command4() { return *command4_; }
    controls::Button& Command3() { return *command3_; }
    controls::Button& cmdUpgrade() { return *cmd_upgrade_; }
    controls::ListBox& lstKeep() { return *lst_keep_; }
    controls::ComboBox& cboKeepSite() { return *cbo_keep_site_; }
    controls::Button& cmdKeepAdd() { return *cmd_keep_add_; }
    controls::Button& cmdKeepRemove() { return *cmd_keep_remove_; }
    controls::ListBox& lstPlaces() { return *lst_places_; }
    controls::TextBox& txtPlace() { return *txt_place_; }
    controls::TextBox& txtPattern() { return *txt_pattern_; }
    controls::CheckBox& chkSubfolders() { return *chk_subfolders_; }
    controls::Button& cmdAddFolder() { return *cmd_add_folder_; }
    controls::Button& cmdAddFile() { return *cmd_add_file_; }
    controls::Button& cmdPlaceRemove() { return *cmd_place_remove_; }
    controls::ListBox& lstNever() { return *lst_never_; }
    controls::TextBox& txtNever() { return *txt_never_; }
    controls::Button& cmdNeverAdd() { return *cmd_never_add_; }
    controls::Button& cmdNeverRemove() { return *cmd_never_remove_; }
    controls::Control* FindControl(std::string_view name);
    // Every control, frames before what they hold, for the view to create.
    const std::vector<controls::Control*>& AllControls() const { return all_; }

    // --- life -----------------------------------------------------------------------------
    // Once per opening: the toggles and the schedule's interval from the registry.
    void Form_Load();
    // Whether the dialog is open: true from Form_Load until it is unloaded.
    bool loaded() const { return loaded_; }
    // Closes the dialog ("Close", the close box, Esc, or the updater before the program ends).
    void Unload();
    // Told once the dialog is unloaded, so its window can go.
    void SetOnUnload(std::function<void()> unloaded) { on_unload_ = std::move(unloaded); }
    // The manual update check behind "Check for Upgrade"; nothing until the updater sets it.
    void SetUpgradeCheck(std::function<void()> check) { upgrade_check_ = std::move(check); }
    // Told whenever the list of own places has been shown afresh (loaded, added to, removed
    // from), so the main window's boxes can follow.
    void SetOnPlacesChanged(std::function<void()> changed) { places_changed_ = std::move(changed); }
    // While a handler that waits is still running; the dialog must outlive it.
    bool busy() const { return busy_ > 0; }

    // --- handlers -------------------------------------------------------------------------
    void Check1_Click();
    void Combo1_KeyUp();
    void Command1_Click();  // "Use Blank"
    void Command2_Click();  // "Set"
    void Command3_Click();  // start with Windows
    void Command4_Click() { Unload(); }
    void Command5_Click();  // clean at shutdown
    void Command6_Click();  // scheduled cleaning
    void cmdUpgrade_Click();
    // The three lists: each press writes the settings at once and the list is read back.
    void cmdKeepAdd_Click();
    void cmdKeepRemove_Click();
    void cmdAddFolder_Click();
    void cmdAddFile_Click();
    void cmdPlaceRemove_Click();
    void cmdNeverAdd_Click();
    void cmdNeverRemove_Click();
    // Deletes a value, creating its key when missing; every result is ignored.
    void Delete_Value(platform::Root root, std::string_view path, std::string_view value);

  private:
    // In the header: the lists' controls are made in a file of their own.
    template <class T, class... Args>
    T& Add(Args&&... args) {
        auto control = std::make_unique<T>(std::forward<Args>(args)...);
        T& added = *control;
        all_.push_back(control.get());
        owned_.push_back(std::move(control));
        return added;
    }
    void Tell(std::string_view message);
    void ShowRunAtStart();
    void ScheduleOn();
    void ScheduleOff();
    void AddListControls();
    void LoadCookieSites();
    void ShowKeptSites();
    // Greys what the organisation's policies decide, and says so under the first column.
    void ShowPolicies();
    void ShowPlaces();
    void ShowNeverTouched();
    void AddPlace(const cleaners::CustomPlace& place);
    // The slots that hold a place, in slot order: the lines of lstPlaces.
    std::vector<int> UsedSlots();

    platform::Platform& platform_;
    settings::SettingsStore& settings_;
    errors::ErrorReporter& reporter_;
    background::ScheduleControl& schedule_;
    std::string name_{"Form2"};
    std::string caption_{kOptionsCaption};

    std::vector<std::unique_ptr<controls::Control>> owned_;
    std::vector<controls::Control*> all_;
    controls::Frame* frame2_ = nullptr;
    controls::Button* command6_ = nullptr;
    controls::CheckBox* check1_ = nullptr;
    controls::ComboBox* combo1_ = nullptr;
    controls::Button* command5_ = nullptr;
    controls::Frame* frame1_ = nullptr;
    controls::Button* command2_ = nullptr;
    controls::Button* command1_ = nullptr;
    controls::TextBox* text1_ = nullptr;
    controls::Button* command4_ = nullptr;
    controls::Button* command3_ = nullptr;
    controls::Button* cmd_upgrade_ = nullptr;
    controls::Label* lbl_policy_ = nullptr;
    controls::ListBox* lst_keep_ = nullptr;
    controls::ComboBox* cbo_keep_site_ = nullptr;
    controls::Button* cmd_keep_add_ = nullptr;
    controls::Button* cmd_keep_remove_ = nullptr;
    controls::ListBox* lst_places_ = nullptr;
    controls::TextBox* txt_place_ = nullptr;
    controls::TextBox* txt_pattern_ = nullptr;
    controls::CheckBox* chk_subfolders_ = nullptr;
    controls::Button* cmd_add_folder_ = nullptr;
    controls::Button* cmd_add_file_ = nullptr;
    controls::Button* cmd_place_remove_ = nullptr;
    controls::ListBox* lst_never_ = nullptr;
    controls::TextBox* txt_never_ = nullptr;
    controls::Button* cmd_never_add_ = nullptr;
    controls::Button* cmd_never_remove_ = nullptr;

    bool loaded_ = false;
    int busy_ = 0;
    std::function<void()> on_unload_ = [] {};
    std::function<void()> upgrade_check_ = [] {};
    std::function<void()> places_changed_ = [] {};
};

}  // namespace qm::options
