#include "cli/unattended.h"

#include <algorithm>

#include "clean/clean_run.h"
#include "clean/cleaner_steps.h"
#include "clean/policy_items.h"
#include "clean/run_event.h"
#include "cli/command_line.h"
#include "cli/json_report.h"
#include "cli/preview_session.h"

namespace qm::cli {

using dry_run::DryDeletion;

namespace {

constexpr std::string_view kEol = "\r\n";
constexpr std::string_view kBusyText =
    "Another clean run is in progress (in the window or from the command line); nothing was "
    "cleaned.";

std::string Padded(std::string_view text, std::size_t width) {
    std::string padded(text);
    padded.resize(std::max(width, text.size() + 1), ' ');
    return padded;
}

std::string Line(const DryDeletion& d) {
    using Kind = DryDeletion::Kind;
    switch (d.kind) {
        case Kind::File:
            return "file      " + d.path + " (" + std::to_string(d.size) + " bytes)";
        case Kind::Folder:
            return "folder    " + d.path;
        case Kind::RegistryKey:
            return "key       " + d.path;
        case Kind::RegistryValue:
            return "value     " + d.path + " : " + d.value_name;
        case Kind::UrlCacheEntry:
            return "cache     " + d.path;
        case Kind::HistoryItem:
            return "history   item number " + d.path + " of the History folder";
        case Kind::RecycleBin:
            return "bin       everything in the Recycle Bin";
        case Kind::RecentDocuments:
            return "recent    the Recent Documents list";
        case Kind::AtRestart:
            return "restart   " + d.path + " (deleted at the next restart)";
        case Kind::Kept:
            return "kept      " + d.path +
                   (d.value_name == dry_run::kKeptExcluded ? " (a place never touched)"
                    : d.value_name == dry_run::kKeptPinned
                        ? " (it holds pinned entries, or pins that cannot be told)"
                        : " (it holds cookies of a site to keep)");
        case Kind::SessionTrace:
            return "session   " + d.path;
        case Kind::Rows:
            return "rows      " + d.path + " : " + d.value_name + " (" + std::to_string(d.size) +
                   " rows)";
    }
    return {};
}

std::string FailureLine(const recording::FailedRemoval& failure, platform::SystemInfo& system) {
    std::string line = "failed    " + failure.path;
    if (failure.kind == DryDeletion::Kind::RegistryValue) line += " : " + failure.value_name;
    const std::string words = system.ErrorText(failure.error);
    line += words.empty() ? " (error " : ": " + words + " (error ";
    return line + std::to_string(failure.error) + ")";
}

// " (2 failed)" after a tally, when something failed.
std::string FailedText(std::size_t failed) {
    return failed == 0 ? std::string() : ", " + std::to_string(failed) + " failed";
}

// Every item of the catalogue and every own place defined, those given as selected.
std::vector<clean::ItemOutcome> AllItems(std::span<const clean::CleaningItem* const> items,
                                         std::span<const clean::CustomItem> customs,
                                         settings::SettingsStore& settings) {
    std::vector<clean::ItemOutcome> all;
    for (const clean::CleaningItem& item : clean::ItemsInRunOrder()) {
        const bool given = std::find(items.begin(), items.end(), &item) != items.end();
        all.push_back({std::string(item.value_name), given, false, {}});
    }
    for (const clean::CustomItem& custom : clean::DefinedCustomItems(settings)) {
        const bool given = std::any_of(customs.begin(), customs.end(),
                                       [&](const auto& c) { return c.slot == custom.slot; });
        all.push_back({custom.value_name, given, false, {}});
    }
    return all;
}

// Ends the session's clean run however the clean returns.
struct CleanRunClaim {
    platform::Process& process;
    ~CleanRunClaim() { process.EndCleanRun(); }
};

}  // namespace

int Unattended::Run(std::span<const std::string> args, const Output& out) {
    const Parsed parsed = ParseCommandLine(args);
    if (!parsed.error.empty()) {
        out("Quillmoss: " + parsed.error + std::string(kEol) + std::string(kEol) +
            std::string(UsageText()));
        return kExitUsage;
    }
    const Command& command = parsed.command;
    if (command.action == Action::Usage) {
        out(UsageText());
        return kExitDone;
    }
    // The log's folder is tried before anything is cleaned, so a report that could not be
    // kept never follows a clean that cannot be undone.
    if (command.log && platform_.files.WriteFile(command.log_file, "") != platform::kOk) {
        out("Quillmoss: cannot write the log file \"" + command.log_file + "\"; nothing was done." +
            std::string(kEol));
        return kExitUsage;
    }
    if (command.json && !command.json_to_console() &&
        platform_.files.WriteFile(command.json_file, "") != platform::kOk) {
        out("Quillmoss: cannot write the JSON file \"" + command.json_file +
            "\"; nothing was done." + std::string(kEol));
        return kExitUsage;
    }
    std::vector<const clean::CleaningItem*> items = command.items;
    std::vector<clean::CustomItem> customs;
    for (const int slot : command.custom_slots) {
        const std::string name = "custom" + std::to_string(slot);
        std::optional<clean::CustomItem> custom = clean::FindCustomItem(settings_, name);
        if (!custom) {
            out("Quillmoss: " + name + " holds no place; /list names the places." +
                std::string(kEol));
            return kExitUsage;
        }
        customs.push_back(std::move(*custom));
    }
    // An ignored policy value is said first, so whoever reads the report knows what ran.
    std::vector<std::string> policy_lines = settings_.policies().Problems();
    if (items.empty() && customs.empty()) {
        if (std::optional<clean::PolicyItems> policy = clean::ItemsByPolicy(settings_)) {
            items = std::move(policy->items);
            customs = std::move(policy->customs);
            policy_lines.insert(policy_lines.end(), policy->problems.begin(),
                                policy->problems.end());
        } else {
            items = Remembered();
            customs = RememberedCustom();
        }
    }

    std::string report;
    for (const std::string& line : policy_lines) report.append(line).append(kEol);
    int code = kExitDone;
    clean::RunOutcome outcome{platform_.system.UtcSeconds(), 0, AllItems({}, {}, settings_)};
    if (command.action == Action::List) {
        code = List(report);
    } else if (items.empty() && customs.empty()) {
        report.append(clean::kNothingSelectedText).append(kEol);
    } else if (command.action == Action::Preview) {
        code = Preview(items, customs, report, outcome);
    } else {
        code = Clean(items, customs, report, outcome);
    }
    outcome.end = platform_.system.UtcSeconds();
    if (command.log) platform_.files.WriteFile(command.log_file, report);
    std::string json;
    if (command.json) {
        json = JsonReport(outcome, {platform_.system.ComputerName(), platform_.system.UserName(),
                                    code, command.action == Action::Preview, policy_lines});
        if (!command.json_to_console()) platform_.files.WriteFile(command.json_file, json);
    }
    out(command.json_to_console() ? json : report);
    return code;
}

std::vector<const clean::CleaningItem*> Unattended::Remembered() {
    std::vector<const clean::CleaningItem*> items;
    for (const clean::CleaningItem& item : clean::ItemsInRunOrder()) {
        const std::string text = settings_.GetSettingString(
            settings::kSettingsRoot, settings::kSettingsPath, item.value_name, "");
        if (text.find_first_of("tT") != std::string::npos) items.push_back(&item);
    }
    return items;
}

std::vector<clean::CustomItem> Unattended::RememberedCustom() {
    std::vector<clean::CustomItem> customs = clean::DefinedCustomItems(settings_);
    std::erase_if(customs, [&](const clean::CustomItem& custom) {
        return settings_.Get(custom.value_name).find_first_of("tT") == std::string::npos;
    });
    return customs;
}

int Unattended::List(std::string& report) {
    report.append(Padded("Item", 12)).append(Padded("Caption", 32)).append("Panel").append(kEol);
    for (const clean::CleaningItem& item : clean::ItemsInRunOrder()) {
        const clean::ItemPanel& panel = clean::PanelsInTabOrder()[item.panel - 1];
        report.append(Padded(item.value_name, 12))
            .append(Padded(item.caption, 32))
            .append(panel.tab_caption)
            .append(kEol);
    }
    const std::string_view own_panel =
        clean::PanelsInTabOrder()[clean::kCustomPanel - 1].tab_caption;
    for (const clean::CustomItem& custom : clean::DefinedCustomItems(settings_)) {
        report.append(Padded(custom.value_name, 12))
            .append(Padded(custom.place.Caption(), 32))
            .append(own_panel)
            .append(kEol);
    }
    return kExitDone;
}

std::vector<std::vector<DryDeletion>> Unattended::PreviewRecords(
    std::span<const clean::CleaningItem* const> items, std::span<const clean::CustomItem> customs) {
    PreviewSession session(platform_);
    std::vector<std::vector<DryDeletion>> records;
    for (const clean::CleaningItem* item : items) records.push_back(session.Preview(*item));
    for (const clean::CustomItem& custom : customs) records.push_back(session.Preview(custom));
    return records;
}

int Unattended::Preview(std::span<const clean::CleaningItem* const> items,
                        std::span<const clean::CustomItem> customs, std::string& report,
                        clean::RunOutcome& outcome) {
    const std::vector<std::vector<DryDeletion>> records = PreviewRecords(items, customs);
    outcome.items = AllItems(items, customs, settings_);
    for (std::size_t i = 0, item = 0; i < outcome.items.size(); ++i) {
        if (outcome.items[i].selected && item < records.size())
            outcome.items[i].removals.removed = records[item++];
    }
    report.append("Preview: what cleaning would remove. Nothing has been deleted.").append(kEol);
    PreviewTally total;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const bool own = i >= items.size();
        report.append(kEol).append("[");
        report.append(own ? customs[i - items.size()].value_name : items[i]->value_name);
        report.append("] ");
        report.append(own ? customs[i - items.size()].place.Caption() : items[i]->caption);
        report.append(kEol);
        PreviewTally tally;
        for (const DryDeletion& deletion : records[i]) {
            report.append("  ").append(Line(deletion)).append(kEol);
            tally.Add(deletion);
            total.Add(deletion);
        }
        report.append("  = ").append(tally.Text()).append(kEol);
    }
    report.append(kEol).append("Total: ").append(total.Text()).append(" in ");
    report.append(std::to_string(records.size())).append(" items.").append(kEol);
    return kExitDone;
}

int Unattended::Clean(std::span<const clean::CleaningItem* const> items,
                      std::span<const clean::CustomItem> customs, std::string& report,
                      clean::RunOutcome& outcome) {
    if (!platform_.process.BeginCleanRun()) {
        report.append(kBusyText).append(kEol);
        return kExitStepFailed;
    }
    const CleanRunClaim claim{platform_.process};
    const int reports_before = reporter_.reports();
    bool refused = false;
    std::vector<std::string> lst_cache;
    // The record comes from the run itself: what the machine really removed, and refused.
    clean::RecordedSteps recorded(platform_, reporter_, lst_cache);
    clean::CatalogueSteps& steps = recorded.steps();
    outcome.items.clear();
    PreviewTally total;
    std::size_t total_failed = 0, cleaned = 0;
    // Between an item's two progress lines: what went, what could not, and its tally.
    const auto tell = [&](std::string_view name, bool failed) {
        clean::ItemOutcome item{std::string(name), true, failed, recorded.Take()};
        PreviewTally tally;
        for (const DryDeletion& removal : item.removals.removed) {
            report.append("  ").append(Line(removal)).append(kEol);
            tally.Add(removal);
            total.Add(removal);
        }
        for (const recording::FailedRemoval& failure : item.removals.failed)
            report.append("  ").append(FailureLine(failure, platform_.system)).append(kEol);
        report.append("  = ").append(tally.Text()).append(FailedText(item.removals.failed.size()));
        report.append(kEol);
        total_failed += item.removals.failed.size();
        item.failed = item.failed || !item.removals.failed.empty();
        ++cleaned;
        outcome.items.push_back(std::move(item));
    };
    // As the window's run does: every item in run order, "tt" for the cleaned, "uu" for the
    // others, and the same progress lines, without the pauses kept for the window's sake.
    for (const clean::CleaningItem& item : clean::ItemsInRunOrder()) {
        if (std::find(items.begin(), items.end(), &item) == items.end()) {
            settings_.SaveSettingString(settings::kSettingsRoot, settings::kSettingsPath,
                                        item.value_name, "uu");
            outcome.items.push_back({std::string(item.value_name), false, false, {}});
            continue;
        }
        report.append(item.start_line).append(kEol);
        const int item_reports = reporter_.reports();
        for (const clean::StepId id : item.steps) {
            errors::ReportingStep(reporter_, clean::kRunErrorLabel, [&] { steps.Run(id); });
        }
        settings_.SaveSettingString(settings::kSettingsRoot, settings::kSettingsPath,
                                    item.value_name, "tt");
        const std::optional<std::string> refusal = steps.TakeEndLine();
        refused = refused || refusal.has_value();
        tell(item.value_name, refusal.has_value() || reporter_.reports() != item_reports);
        report.append(refusal ? std::string_view(*refusal) : item.end_line).append(kEol);
    }
    for (const clean::CustomItem& custom : clean::DefinedCustomItems(settings_)) {
        const auto named = std::find_if(customs.begin(), customs.end(),
                                        [&](const auto& c) { return c.slot == custom.slot; });
        if (named == customs.end()) {
            settings_.Save(custom.value_name, "uu");
            outcome.items.push_back({custom.value_name, false, false, {}});
            continue;
        }
        report.append(custom.StartLine()).append(kEol);
        const int item_reports = reporter_.reports();
        std::optional<cleaners::PlaceRefusal> refusal;
        errors::ReportingStep(reporter_, clean::kRunErrorLabel,
                              [&] { refusal = steps.CleanPlace(custom.place); });
        settings_.Save(custom.value_name, "tt");
        const bool place_refused = refusal.has_value();
        refused = refused || place_refused;
        tell(custom.value_name, place_refused || reporter_.reports() != item_reports);
        report.append(refusal ? custom.RefusedLine(*refusal) : custom.EndLine()).append(kEol);
    }
    report.append("Total: ").append(total.Text()).append(FailedText(total_failed)).append(" in ");
    report.append(std::to_string(cleaned)).append(" items.").append(kEol);
    report.append(clean::kFinalLine).append(kEol);
    outcome.end = platform_.system.UtcSeconds();
    clean::ReportToEventLog(platform_.events, clean::RunStart::CommandLine, outcome);
    const int failures = reporter_.reports() - reports_before;
    if (failures == 0 && !refused) return kExitDone;
    report.append(std::to_string(failures) + " errors met; some traces may remain.").append(kEol);
    return kExitStepFailed;
}

}  // namespace qm::cli
