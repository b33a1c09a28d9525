#pragma once
// The parts of a simulated machine, wired to each other. Private to the machine's own files.
#include <vector>

#include "platform/sim/machine.h"
#include "platform/sim/sim_dialogs.h"
#include "platform/sim/sim_event_log.h"
#include "platform/sim/sim_file_system.h"
#include "platform/sim/sim_history.h"
#include "platform/sim/sim_http.h"
#include "platform/sim/sim_message_loop.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_session.h"
#include "platform/sim/sim_session_traces.h"
#include "platform/sim/sim_shell.h"
#include "platform/sim/sim_signatures.h"
#include "platform/sim/sim_system.h"
#include "platform/sim/sim_url_cache.h"

namespace qm::sim {

struct Machine::Impl {
    std::vector<Deletion> deletions;  // first: the parts below record into it
    SimRegistry registry{deletions};
    SimMessageLoop loop;
    SimSystemInfo system{loop};
    SimFileSystem files{deletions, system.version};
    SimDialogs dialogs;
    SimHistory history{loop, dialogs, deletions};
    SimShell shell{files, registry, history};
    SessionRecord session;
    SimProcess process{session, files};
    SimUrlCache url_cache{files, deletions};
    SimDesktop desktop{history, session, system.version, loop};
    SimHttp http{files, loop};
    SimSignatures signatures;
    SimSessionTraces traces;
    SimEventLog events;
    platform::Platform platform{registry,  files,   shell, system,     dialogs, loop,  process,
                                url_cache, desktop, http,  signatures, traces,  events};

    // What a freshly installed Windows XP with Quillmoss on it has that the program relies on.
    void MakeDefaultMachine();
};

}  // namespace qm::sim
