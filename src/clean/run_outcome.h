#pragma once
// What an unattended clean run did, item by item, from the record of the real run: the text
// report, the JSON report and the event log entry are all made from it.
#include <cstdint>
#include <string>
#include <vector>

#include "clean/cleaner_steps.h"
#include "errors/error_reporter.h"
#include "platform/platform.h"
#include "platform/recording/recording.h"
#include "settings/settings_store.h"

namespace qm::clean {

struct ItemOutcome {
    std::string name;  // the settings value name ("temp", "custom3")
    bool selected = false;
    // Something of the item could not be removed, was refused or raised an error.
    bool failed = false;
    recording::Removals removals;
};

struct RunOutcome {
    std::int64_t start = 0;  // UTC seconds
    std::int64_t end = 0;
    // Every item of the catalogue in run order, then every own place defined.
    std::vector<ItemOutcome> items;
};

// The shipped cleaner steps over a recording of the machine, with a settings store of their
// own on the recording registry, so that the keys the cleaners delete through the settings
// are in the record too.
class RecordedSteps {
  public:
    RecordedSteps(platform::Platform& machine, errors::ErrorReporter& reporter,
                  std::vector<std::string>& lst_cache)
        : recording_(machine),
          settings_(recording_.platform().registry, machine.process, reporter),
          steps_(recording_.platform(), settings_, reporter, lst_cache) {}

    CatalogueSteps& steps() { return steps_; }
    recording::Removals Take() { return recording_.Take(); }

  private:
    recording::Recording recording_;
    settings::SettingsStore settings_;
    CatalogueSteps steps_;
};

}  // namespace qm::clean
