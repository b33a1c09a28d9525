#pragma once
// The simulated session's clipboard, clipboard history and resolver cache.
#include <string>
#include <vector>

#include "platform/session_traces.h"

namespace qm::sim {

struct SessionTraceState {
    std::string clipboard;                       // empty: it holds nothing
    std::vector<std::string> clipboard_history;  // Windows 10's list
    std::vector<std::string> dns_cache;          // host names
    bool clipboard_held = false;                 // another program keeps it open
    bool has_history_call = false;               // the runtime's clipboard is there
    bool has_dns_call = true;
};

class SimSessionTraces final : public platform::SessionTraces {
  public:
    SessionTraceState state;

    platform::Status EmptyClipboard() override {
        if (state.clipboard_held) return platform::kErrorAccessDenied;
        state.clipboard.clear();
        return platform::kOk;
    }
    bool HasClipboardHistory() override { return state.has_history_call; }
    platform::Status ClearClipboardHistory() override {
        if (!state.has_history_call) return platform::kErrorCallNotImplemented;
        state.clipboard_history.clear();
        return platform::kOk;
    }
    bool HasDnsCache() override { return state.has_dns_call; }
    platform::Status FlushDnsCache() override {
        if (!state.has_dns_call) return platform::kErrorCallNotImplemented;
        state.dns_cache.clear();
        return platform::kOk;
    }
};

}  // namespace qm::sim
