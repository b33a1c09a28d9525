#pragma once
// What a record of deletions adds up to: entries, files and their bytes, rows, kept places,
// folders, registry entries and cache entries. The preview and the clean's report count alike.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/dry_run/dry_record.h"

namespace qm::dry_run {

struct Tally {
    std::size_t entries = 0;
    std::size_t files = 0;
    std::uint64_t bytes = 0;
    std::uint64_t rows = 0;
    std::size_t kept = 0;
    std::size_t folders = 0;
    std::size_t registry_entries = 0;
    std::size_t cache_entries = 0;
    void Add(const DryDeletion& deletion);
    // "3 entries, 1 files, 5 bytes", then rows and kept when there are any: the report's line.
    std::string Text() const;
    // " (2 folders, 1 registry entries)": the kinds the report's line leaves out, if any.
    std::string KindsText() const;
};

}  // namespace qm::dry_run
