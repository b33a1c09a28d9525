#include "cli/preview_session.h"

#include "clean/clean_run.h"

namespace qm::cli {

using dry_run::DryDeletion;

void PreviewTally::Add(const DryDeletion& deletion) {
    using Kind = DryDeletion::Kind;
    if (deletion.kind == Kind::Kept) {
        ++kept;  // stays: no entry that goes
        return;
    }
    ++entries;
    switch (deletion.kind) {
        case Kind::File:
            ++files;
            bytes += deletion.size;
            break;
        case Kind::Rows:
            rows += deletion.size;
            break;
        case Kind::Folder:
            ++folders;
            break;
        case Kind::RegistryKey:
        case Kind::RegistryValue:
            ++registry_entries;
            break;
        case Kind::UrlCacheEntry:
            ++cache_entries;
            break;
        default:
            break;
    }
}

std::string PreviewTally::Text() const {
    return std::to_string(entries) + " entries, " + std::to_string(files) + " files, " +
           std::to_string(bytes) + " bytes" +
           (rows > 0 ? ", " + std::to_string(rows) + " rows" : std::string()) +
           (kept > 0 ? ", " + std::to_string(kept) + " kept" : std::string());
}

std::string PreviewTally::KindsText() const {
    std::string text;
    const auto part = [&text](std::size_t count, std::string_view what) {
        if (count == 0) return;
        text.append(text.empty() ? " (" : ", ").append(std::to_string(count)).append(what);
    };
    part(folders, " folders");
    part(registry_entries, " registry entries");
    part(cache_entries, " cache entries");
    return text.empty() ? text : text + ")";
}

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
