#pragma once
// The session's traces as a dry run sees them: what would be emptied is recorded, nothing is.
#include <vector>

#include "platform/dry_run/dry_record.h"
#include "platform/session_traces.h"

namespace qm::dry_run {

inline constexpr std::string_view kClipboardTrace = "the clipboard";
inline constexpr std::string_view kClipboardHistoryTrace = "the clipboard history";
inline constexpr std::string_view kDnsCacheTrace = "the DNS resolver cache";

class DrySessionTraces final : public platform::SessionTraces {
  public:
    DrySessionTraces(platform::SessionTraces& real, std::vector<DryDeletion>& record)
        : real_(real), record_(record) {}

    platform::Status EmptyClipboard() override { return Record(kClipboardTrace); }
    bool HasClipboardHistory() override { return real_.HasClipboardHistory(); }
    platform::Status ClearClipboardHistory() override {
        if (!real_.HasClipboardHistory()) return platform::kErrorCallNotImplemented;
        return Record(kClipboardHistoryTrace);
    }
    bool HasDnsCache() override { return real_.HasDnsCache(); }
    platform::Status FlushDnsCache() override {
        if (!real_.HasDnsCache()) return platform::kErrorCallNotImplemented;
        return Record(kDnsCacheTrace);
    }

  private:
    platform::Status Record(std::string_view what) {
        record_.push_back({DryDeletion::Kind::SessionTrace, std::string(what), "", 0});
        return platform::kOk;
    }

    platform::SessionTraces& real_;
    std::vector<DryDeletion>& record_;
};

}  // namespace qm::dry_run
