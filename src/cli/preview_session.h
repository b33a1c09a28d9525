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
#include "platform/dry_run/dry_tally.h"
#include "platform/platform.h"
#include "settings/settings_store.h"

namespace qm::cli {

using PreviewTally = dry_run::Tally;

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
