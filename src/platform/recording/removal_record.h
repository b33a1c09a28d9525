#pragma once
// What a real clean removed and what it could not, as the cleaners asked the machine for it.
// The removals are the entries the preview lists (so both report alike); a failure is one
// removal the machine refused, with the Windows error it gave.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dry_run/dry_record.h"
#include "platform/status.h"

namespace qm::recording {

using Removal = dry_run::DryDeletion;

struct FailedRemoval {
    Removal::Kind kind;
    std::string path;        // as for a removal
    std::string value_name;  // registry values
    platform::Status error = platform::kOk;
};

struct Removals {
    std::vector<Removal> removed;
    std::vector<FailedRemoval> failed;
};

// Where the recording parts write. What was not there to remove (file or path not found) is
// neither; nor is a folder that keeps something, whose contents answer for themselves.
class RemovalRecord {
  public:
    void Note(Removal::Kind kind, std::string_view path, std::string_view value_name,
              std::uint64_t size, platform::Status status);
    void Add(Removal removal) { record_.removed.push_back(std::move(removal)); }
    // Hands over what was recorded since the last call. A failure that a later call made good
    // (a read-only file deleted once its attribute was cleared, a held file scheduled for the
    // restart) is left out: only what stayed counts as failed.
    Removals Take();

  private:
    Removals record_;
};

}  // namespace qm::recording
