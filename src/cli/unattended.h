#pragma once
// What Quillmoss does when started with arguments: the list of items, the preview and the
// unattended clean, each ending in a report (printed, and written to the /log file), a JSON
// document when asked for (/json) and an exit code; the clean also leaves one entry in the
// Application event log. Nothing here asks the user anything.
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "clean/catalogue.h"
#include "clean/custom_items.h"
#include "clean/run_outcome.h"
#include "cleaners/file_tools.h"
#include "errors/error_reporter.h"
#include "platform/dry_run/dry_record.h"
#include "platform/platform.h"
#include "settings/settings_store.h"

namespace qm::cli {

class Unattended {
  public:
    using Output = std::function<void(std::string_view report)>;

    Unattended(platform::Platform& platform, settings::SettingsStore& settings,
               errors::ErrorReporter& reporter)
        : platform_(platform), settings_(settings), reporter_(reporter) {}

    // `args` without the program's own name. The report goes to `out` whole, once the work is
    // done; the exit code is returned.
    int Run(std::span<const std::string> args, const Output& out);

    // What cleaning would remove, item by item in the order given, in one preview: each item
    // sees the machine as the items before it would have left it.
    // The user's own places come after the items, in the order given.
    std::vector<std::vector<dry_run::DryDeletion>> PreviewRecords(
        std::span<const clean::CleaningItem* const> items,
        std::span<const clean::CustomItem> customs = {});

  private:
    std::vector<const clean::CleaningItem*> Remembered();
    std::vector<clean::CustomItem> RememberedCustom();
    int List(std::string& report);
    // Each fills `outcome` with every item, for the JSON report.
    int Preview(std::span<const clean::CleaningItem* const> items,
                std::span<const clean::CustomItem> customs, std::string& report,
                clean::RunOutcome& outcome);
    int Clean(std::span<const clean::CleaningItem* const> items,
              std::span<const clean::CustomItem> customs, std::string& report,
              clean::RunOutcome& outcome);

    platform::Platform& platform_;
    settings::SettingsStore& settings_;
    errors::ErrorReporter& reporter_;
};

}  // namespace qm::cli
