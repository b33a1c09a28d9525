// History, typed addresses, AutoComplete and the index.dat files.
#include "cleaners/ie_cleaners.h"

#include <algorithm>

#include "errors/labels.h"

namespace qm::cleaners {

using platform::Root;

namespace {

// Stops Timer1 however the verb returns. A timer left running would press the default
// button of whatever question of ours comes next, such as the next run's "Do you want to
// clean selected items".
class Timer1Guard {
  public:
    explicit Timer1Guard(platform::MessageLoop& loop) : loop_(loop) {}
    ~Timer1Guard() { loop_.StopTimer(kTimer1Id); }
    Timer1Guard(const Timer1Guard&) = delete;
    Timer1Guard& operator=(const Timer1Guard&) = delete;

  private:
    platform::MessageLoop& loop_;
};

}  // namespace

IECleaners::IECleaners(platform::Platform& platform, settings::SettingsStore& settings,
                       FileTools& file_tools, errors::ErrorReporter& reporter)
    : platform_(platform), settings_(settings), file_tools_(file_tools), reporter_(reporter) {}

void IECleaners::CleanUrlHistory() {
    errors::SilentStep([&] {
        settings_.SaveSettingLong(Root::CurrentUser, ie_keys::kUrlHistory, ie_keys::kDaysToKeep, 0);
    });

    platform::Shell& shell = platform_.shell;
    std::size_t count = 0;
    if (shell.HistoryItemCount(count) != platform::kOk) return;
    // Last to first: deleting an item never moves the ones still to be visited.
    for (std::size_t item = count; item-- > 0;) {
        std::vector<std::string> verbs;
        if (shell.HistoryItemVerbs(item, verbs) != platform::kOk) continue;
        // Only the exact English verb: a localized menu has no "&Delete", and guessing which
        // of its verbs deletes could run something else entirely.
        const auto verb = std::find(verbs.begin(), verbs.end(), kDeleteVerb);
        if (verb == verbs.end()) continue;

        platform_.loop.StartTimer(kTimer1Id, kTimer1IntervalMs, [this] { OnTimer1Tick(); });
        const Timer1Guard stop_when_answered_or_not(platform_.loop);
        shell.InvokeHistoryVerb(item, static_cast<std::size_t>(verb - verbs.begin()));
    }
}

void IECleaners::OnTimer1Tick() {
    // Only a question of our own is answered. While another program is in front, the timer
    // keeps trying, and the user can always answer the question by hand.
    if (platform_.desktop.ConfirmOwnQuestion()) platform_.loop.StopTimer(kTimer1Id);
}

void IECleaners::CleanTypedURLs() {
    errors::SilentStep([&] { settings_.DeleteKey(Root::CurrentUser, ie_keys::kTypedUrls); });
}

void IECleaners::CleanAutoComplete() {
    errors::SilentStep([&] { settings_.DeleteKey(Root::CurrentUser, ie_keys::kIntelliFormsSpw); });
    errors::SilentStep([&] {
        settings_.SaveSettingString(Root::CurrentUser, ie_keys::kMain, ie_keys::kUseFormSuggest,
                                    "no");
    });
    errors::SilentStep([&] {
        settings_.SaveSettingString(Root::CurrentUser, ie_keys::kAutoComplete,
                                    ie_keys::kUseAutoComplete, "no");
    });
}

void IECleaners::KillIndexDat() {
    const auto label = errors::label::kKillIndexDat;
    // A refusal (Windows 95/98/ME cannot schedule anything) is a status, not an error: it
    // passes silently like every other scheduling result.
    auto schedule = [&](const std::string& path) {
        errors::ReportingStep(reporter_, label,
                              [&] { platform_.files.ScheduleDeleteAtRestart(path); });
    };
    // Windows removes a folder at the restart only when it is empty by then, so each index
    // file is named itself, before its folder. A folder that cannot be looked up is left out:
    // a path built on empty text would name "\Content.IE5" at the root of the drive.
    auto schedule_index_place = [&](const std::string& parent, std::string_view folder_name) {
        if (parent.empty()) return;
        const std::string folder = paths::AddBackslash(parent) + std::string(folder_name);
        schedule(paths::AddBackslash(folder) + "index.dat");
        schedule(folder);
    };

    std::string cache_folder;
    errors::ReportingStep(reporter_, label,
                          [&] { cache_folder = file_tools_.GetInternetCacheFolder(); });
    schedule_index_place(cache_folder, "Content.IE5");

    std::string history_folder;
    errors::ReportingStep(reporter_, label,
                          [&] { history_folder = file_tools_.GetHistoryFolder(); });
    schedule_index_place(history_folder, "History.IE5");
}

}  // namespace qm::cleaners
