#pragma once
// Everything the core reaches the machine through. Both backends hand out one of these.
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/event_log.h"
#include "platform/file_system.h"
#include "platform/http.h"
#include "platform/message_loop.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "platform/session_traces.h"
#include "platform/shell.h"
#include "platform/signatures.h"
#include "platform/system_info.h"
#include "platform/url_cache.h"

namespace qm::platform {

struct Platform {
    Registry& registry;
    FileSystem& files;
    Shell& shell;
    SystemInfo& system;
    Dialogs& dialogs;
    MessageLoop& loop;
    Process& process;
    UrlCache& url_cache;
    Desktop& desktop;
    Http& http;
    Signatures& signatures;
    SessionTraces& traces;
    EventLog& events;
};

}  // namespace qm::platform
