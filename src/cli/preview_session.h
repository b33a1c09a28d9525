#pragma once
// The preview's engine, shared by /preview and the window's Preview dialog: one dry run over
// the machine, fed one item at a time, and the tally of what an item's record would remove.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "clean/catalogue.h"
#include "clean/cleaner_steps.h"
#include "clean/custom_items.h"
#include "errors/error_reporter.h"
#include "platform/dry_run/dry_run.h"
#include "platform/platform.h"
#include "settings/settings_store.h"

namespace qm::cli {

struct PreviewTally {
    std::size_t entries = 0;
    std::size_t files = 0;
    std::uint64_t bytes = 0;
    std::uint64_t rows = 0;
    std::size_t kept = 0;
    std::size_t folders = 0;
    std::size_t registry_entries = 0;
    std::size_t cache_entries = 0;
    void Add(const dry_run::DryDeletion& deletion);
    // "3 entries, 1 files, 5 bytes", then rows and kept when there are any: the report's line.
    std::string Text() const;
    // " (2 folders, 1 registry entries)": the kinds the report's line leaves out, if any.
    std::string KindsText() const;
};

class PreviewSession {
  public:
    explicit PreviewSession(platform::Platform& platform);
    PreviewSession(const PreviewSession&) = delete;
    PreviewSession& operator=(const PreviewSession&) = delete;

    // What cleaning `item` would remove, on the machine as the items previewed before it
    // would have left it. `go_on` is asked between the item's steps; false stops the item
    // there, and the record holds what its steps so far would remove.
    std::vector<dry_run::DryDeletion> Preview(const clean::CleaningItem& item,
                                              const std::function<bool()>& go_on = {});
    // What cleaning one of the user's own places would remove.
    std::vector<dry_run::DryDeletion> Preview(const clean::CustomItem& item);

  private:
    // The preview's own errors are the machine's business, not the maker's: nothing is sent.
    errors::ErrorReporter quiet_;
    dry_run::DryRun dry_;
    settings::SettingsStore settings_;
    std::vector<std::string> lst_cache_;
    clean::CatalogueSteps steps_;
};

}  // namespace qm::cli
