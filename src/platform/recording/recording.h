#pragma once
// A real clean that keeps a record: the machine's platform with the files, registry, shell,
// Internet cache and session traces wrapped so that each removal goes through to the machine
// and is noted with its outcome. The cleaners run on it unchanged; Take() hands over what went
// and what could not since the last call, one item at a time.
#include "platform/platform.h"
#include "platform/recording/recording_files.h"
#include "platform/recording/recording_registry.h"
#include "platform/recording/recording_shell.h"
#include "platform/recording/removal_record.h"

namespace qm::recording {

class Recording {
  public:
    explicit Recording(const platform::Platform& real)
        : registry_(real.registry, record_),
          files_(real.files, record_),
          shell_(real.shell, record_),
          url_cache_(real.url_cache, record_),
          traces_(real.traces, record_),
          platform_{registry_,       files_,       shell_,     real.system,  real.dialogs,
                    real.loop,       real.process, url_cache_, real.desktop, real.http,
                    real.signatures, traces_,      real.events} {}
    Recording(const Recording&) = delete;
    Recording& operator=(const Recording&) = delete;

    platform::Platform& platform() { return platform_; }
    Removals Take() { return record_.Take(); }

  private:
    RemovalRecord record_;
    RecordingRegistry registry_;
    RecordingFiles files_;
    RecordingShell shell_;
    RecordingUrlCache url_cache_;
    RecordingSessionTraces traces_;
    platform::Platform platform_;
};

}  // namespace qm::recording
