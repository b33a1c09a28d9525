#include "cli/preview_session.h"

#include "clean/clean_run.h"

namespace qm::cli {

using dry_run::DryDeletion;

PreviewSession::PreviewSession(platform::Platform& platform)
    : dry_(platform),
      settings_(dry_.platform().registry, dry_.platform().process, quiet_),
      steps_(dry_.platform(), settings_, quiet_, lst_cache_) {}

std::vector<DryDeletion> PreviewSession::Preview(const clean::CleaningItem& item,
                                                 const std::function<bool()>& go_on) {
    bool first = true;
    for (const clean::StepId id : item.steps) {
        if (!first && go_on && !go_on()) break;
        first = false;
        errors::ReportingStep(quiet_, clean::kRunErrorLabel, [&] { steps_.Run(id); });
    }
    steps_.TakeEndLine();
    return dry_.TakeRecord();
}

std::vector<DryDeletion> PreviewSession::Preview(const clean::CustomItem& item) {
    errors::ReportingStep(quiet_, clean::kRunErrorLabel, [&] { steps_.CleanPlace(item.place); });
    return dry_.TakeRecord();
}

}  // namespace qm::cli
