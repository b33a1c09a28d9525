#pragma once
// The clean run behind "Clean All Selected Items": confirm, visit the catalogue in run order,
// clean each ticked item, record "tt"/"uu" for every item and report progress line by line.
// Every starter (the button, the scheduler, the session end, Clean and Reboot) comes here.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "clean/catalogue.h"
#include "clean/cleaner_steps.h"
#include "clean/custom_items.h"
#include "clean/run_event.h"
#include "errors/error_reporter.h"
#include "platform/platform.h"
#include "settings/settings_store.h"

namespace qm::clean {

// What the run needs of the main window, so the run does not depend on the window's model.
class RunWindow {
  public:
    virtual ~RunWindow() = default;
    virtual void ClearProgress() = 0;
    virtual void AppendProgress(std::string_view line) = 0;
    virtual void SelectLastProgressLine() = 0;
    // Appends the four status lines.
    virtual void GetInfo() = 0;
    // A left-arrow key-down to the top tab strip, handled before this returns.
    virtual void SendLeftArrowToTopTabs() = 0;
    // The item's box as it is right now: 0 clear, 1 ticked.
    virtual int BoxValue(const CleaningItem& item) = 0;
    // The box of own place `slot` (1..8) as it is right now.
    virtual int CustomBoxValue(int slot) = 0;
};

inline constexpr std::string_view kRunErrorLabel = "Form1,Command7";
inline constexpr std::string_view kConfirmText = "Do you want to clean selected items";
inline constexpr std::string_view kNothingSelectedText =
    "No option is selected\r\nPlease select one or more options";
inline constexpr std::string_view kFinalLine = "All selected items has been cleaned.";
inline constexpr std::string_view kProgramTitle = "Quillmoss";
inline constexpr std::string_view kProgramVersion = "2.80";

class CleanRun {
  public:
    // The run keeps lstCache and, unless given other steps, the shipped catalogue steps.
    CleanRun(RunWindow& window, platform::Platform& platform, settings::SettingsStore& settings,
             errors::ErrorReporter& reporter);
    CleanRun(const CleanRun&) = delete;
    CleanRun& operator=(const CleanRun&) = delete;

    // Replaces the cleaner steps (tests record them); null returns to the shipped ones.
    void UseSteps(CleanerSteps* steps);

    // Command7_Click. Returns when the run is over or was declined: true; false, doing nothing,
    // when a run is already in progress (a start from inside one of its pauses, or, once
    // confirmed, an unattended clean of another copy), so that a caller acting on the result
    // (ItemsCleaned, a restart) knows there is none of its own.
    // `once_confirmed` runs after the user said OK, before the first item. A run the scheduler
    // or the session's end started keeps a record of what went and ends with one entry in
    // the Application event log.
    bool Run(const std::function<void()>& once_confirmed = {}, RunStart start = RunStart::Window);

    bool ItemsCleaned() const { return items_cleaned_; }
    bool in_progress() const { return in_progress_; }
    std::vector<std::string>& lst_cache() { return lst_cache_; }

  private:
    // Each answers whether the item failed: a step raised an error or the item was refused.
    bool CleanItem(const CleaningItem& item);
    bool CleanCustomItem(const CustomItem& item);

    RunWindow& window_;
    platform::Platform& platform_;
    settings::SettingsStore& settings_;
    errors::ErrorReporter& reporter_;
    std::vector<std::string> lst_cache_;
    CatalogueSteps shipped_steps_;
    CleanerSteps* steps_;
    bool items_cleaned_ = false;
    bool in_progress_ = false;
};

}  // namespace qm::clean
