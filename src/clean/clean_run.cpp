#include "clean/clean_run.h"

#include <optional>

#include "clean/wait_seconds.h"

namespace qm::clean {

CleanRun::CleanRun(RunWindow& window, platform::Platform& platform,
                   settings::SettingsStore& settings, errors::ErrorReporter& reporter)
    : window_(window),
      platform_(platform),
      settings_(settings),
      reporter_(reporter),
      shipped_steps_(platform, settings, reporter, lst_cache_),
      steps_(&shipped_steps_) {}

void CleanRun::UseSteps(CleanerSteps* steps) {
    steps_ = steps != nullptr ? steps : &shipped_steps_;
}

bool CleanRun::Run(const std::function<void()>& once_confirmed, RunStart start) {
    // A click on "Clean All Selected Items" or a scheduler tick handled during a pause would
    // otherwise start a second run inside this one, cleaning items twice and interleaving
    // their lines in the list. Such a start is refused: one run at a time.
    if (in_progress_) return false;
    in_progress_ = true;
    struct InProgressReset {
        bool& flag;
        ~InProgressReset() { flag = false; }
    } reset{in_progress_};

    items_cleaned_ = false;
    window_.ClearProgress();
    window_.GetInfo();

    const int answer =
        platform_.dialogs.MessageBox(kConfirmText, kProgramTitle, platform::mb::kOkCancel);
    if (answer != platform::mb::kIdOk) return true;
    // An unattended clean from the command line may be at work meanwhile: two runs at once
    // would fight over the same files, so this one stands back as a run in progress does.
    if (!platform_.process.BeginCleanRun()) return false;
    struct CleanRunClaim {
        platform::Process& process;
        ~CleanRunClaim() { process.EndCleanRun(); }
    } claim{platform_.process};
    if (once_confirmed) once_confirmed();

    window_.SendLeftArrowToTopTabs();

    // Only the shipped steps can be recorded; steps a test put in their place run as given.
    std::optional<RecordedSteps> recorded;
    CleanerSteps* const own_steps = steps_;
    if (start != RunStart::Window && steps_ == &shipped_steps_) {
        recorded.emplace(platform_, reporter_, lst_cache_);
        steps_ = &recorded->steps();
    }
    struct StepsReset {
        CleanerSteps*& steps;
        CleanerSteps* own;
        ~StepsReset() { steps = own; }
    } steps_reset{steps_, own_steps};
    RunOutcome outcome{platform_.system.UtcSeconds(), 0, {}};
    const auto note = [&](std::string_view name, bool selected, bool failed) {
        ItemOutcome item{std::string(name), selected, failed, {}};
        if (recorded) item.removals = recorded->Take();
        item.failed = item.failed || !item.removals.failed.empty();
        outcome.items.push_back(std::move(item));
    };

    // Each box is read when the run reaches it, so a tick changed during an earlier item's
    // pause counts.
    for (const CleaningItem& item : ItemsInRunOrder()) {
        if (window_.BoxValue(item) == 1) {
            note(item.value_name, true, CleanItem(item));
        } else {
            settings_.SaveSettingString(settings::kSettingsRoot, settings::kSettingsPath,
                                        item.value_name, "uu");
            note(item.value_name, false, false);
        }
    }

    // The user's own places come after every item of the catalogue, as the settings hold them
    // at this moment.
    for (const CustomItem& item : DefinedCustomItems(settings_)) {
        if (window_.CustomBoxValue(item.slot) == 1) {
            note(item.value_name, true, CleanCustomItem(item));
        } else {
            settings_.Save(item.value_name, "uu");
            note(item.value_name, false, false);
        }
    }
    outcome.end = platform_.system.UtcSeconds();
    if (items_cleaned_ && start != RunStart::Window)
        ReportToEventLog(platform_.events, start, outcome);

    if (!items_cleaned_) {
        platform_.dialogs.MessageBox(kNothingSelectedText, kProgramTitle, platform::mb::kOk);
        return true;
    }
    window_.AppendProgress("");
    window_.AppendProgress(kFinalLine);
    window_.SelectLastProgressLine();
    return true;
}

bool CleanRun::CleanItem(const CleaningItem& item) {
    const int reports_before = reporter_.reports();
    window_.AppendProgress("");
    window_.AppendProgress(item.start_line);
    // A failing step is reported and the item still gets its remaining steps, its "tt" and
    // its end line.
    for (const StepId id : item.steps) {
        errors::ReportingStep(reporter_, kRunErrorLabel, [&] { steps_->Run(id); });
    }
    settings_.SaveSettingString(settings::kSettingsRoot, settings::kSettingsPath, item.value_name,
                                "tt");
    const std::optional<std::string> refused = steps_->TakeEndLine();
    window_.AppendProgress(refused ? std::string_view(*refused) : item.end_line);
    window_.SelectLastProgressLine();
    items_cleaned_ = true;
    WaitSeconds(platform_.system, platform_.loop, 1);
    return refused.has_value() || reporter_.reports() != reports_before;
}

bool CleanRun::CleanCustomItem(const CustomItem& item) {
    const int reports_before = reporter_.reports();
    window_.AppendProgress("");
    window_.AppendProgress(item.StartLine());
    std::optional<cleaners::PlaceRefusal> refusal;
    errors::ReportingStep(reporter_, kRunErrorLabel,
                          [&] { refusal = steps_->CleanPlace(item.place); });
    settings_.Save(item.value_name, "tt");
    window_.AppendProgress(refusal ? item.RefusedLine(*refusal) : item.EndLine());
    window_.SelectLastProgressLine();
    items_cleaned_ = true;
    WaitSeconds(platform_.system, platform_.loop, 1);
    return refusal.has_value() || reporter_.reports() != reports_before;
}

}  // namespace qm::clean
