#pragma once
// A preview of cleaning: the machine's platform with the files, registry, Internet cache and
// shell replaced by stand-ins that let every read through and record every deletion instead
// of doing it. The cleaners run on it unchanged and never know; what they would have
// removed is in record(), in order, and nothing on the machine has changed.
#include <utility>
#include <vector>

#include "platform/dry_run/dry_files.h"
#include "platform/dry_run/dry_record.h"
#include "platform/dry_run/dry_registry.h"
#include "platform/dry_run/dry_session_traces.h"
#include "platform/dry_run/dry_shell.h"
#include "platform/dry_run/dry_url_cache.h"
#include "platform/platform.h"

namespace qm::dry_run {

class DryRun {
  public:
    explicit DryRun(const platform::Platform& real)
        : registry_(real.registry, record_),
          files_(real.files, record_),
          shell_(real.shell, record_),
          url_cache_(real.url_cache, record_),
          traces_(real.traces, record_),
          platform_{registry_,       files_,       shell_,     real.system,  real.dialogs,
                    real.loop,       real.process, url_cache_, real.desktop, real.http,
                    real.signatures, traces_,      real.events} {}
    DryRun(const DryRun&) = delete;
    DryRun& operator=(const DryRun&) = delete;

    platform::Platform& platform() { return platform_; }
    const std::vector<DryDeletion>& record() const { return record_; }
    // Hands the record over and begins a new one; what was hidden stays hidden.
    std::vector<DryDeletion> TakeRecord() {
        files_.KeepAcrossTake();
        return std::exchange(record_, {});
    }

  private:
    std::vector<DryDeletion> record_;
    DryRegistry registry_;
    DryFiles files_;
    DryShell shell_;
    DryUrlCache url_cache_;
    DrySessionTraces traces_;
    platform::Platform platform_;
};

}  // namespace qm::dry_run
