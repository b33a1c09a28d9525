#pragma once
// What the session itself remembers of its user beyond files and the registry: the clipboard,
// Windows 10's clipboard history and the resolver's cache of visited host names. The calls for
// the last two are not on every Windows, so they are looked up when first asked for.
#include "platform/status.h"

namespace qm::platform {

class SessionTraces {
  public:
    virtual ~SessionTraces() = default;
    // OpenClipboard, EmptyClipboard, CloseClipboard: the clipboard holds nothing afterwards.
    // Another program holding the clipboard open for longer than a moment answers
    // kErrorAccessDenied.
    virtual Status EmptyClipboard() = 0;
    // Whether Windows 10's clipboard history is there (the runtime's Clipboard class), and
    // clearing it (Clipboard.ClearHistory). Where the system has no such call, the clearing
    // answers kErrorCallNotImplemented.
    virtual bool HasClipboardHistory() = 0;
    virtual Status ClearClipboardHistory() = 0;
    // Whether the resolver's cache can be emptied here, and emptying it (DnsFlushResolverCache,
    // the call ipconfig /flushdns makes). Where the system has no such call, the flush answers
    // kErrorCallNotImplemented.
    virtual bool HasDnsCache() = 0;
    virtual Status FlushDnsCache() = 0;
};

}  // namespace qm::platform
