#pragma once
// The shell, the Internet cache and the session's traces of a real clean that keeps a record:
// every call goes to the machine; what each emptying or deleting call removed, or the error
// it met, is noted.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/recording/removal_record.h"
#include "platform/session_traces.h"
#include "platform/shell.h"
#include "platform/url_cache.h"

namespace qm::recording {

inline constexpr std::string_view kClipboard = "the clipboard";
inline constexpr std::string_view kClipboardHistory = "the clipboard history";
inline constexpr std::string_view kDnsCache = "the DNS resolver cache";

class RecordingShell final : public platform::Shell {
  public:
    RecordingShell(platform::Shell& real, RemovalRecord& record) : real_(real), record_(record) {}

    platform::Status GetFolderPath(int csidl, std::string& path) override {
        return real_.GetFolderPath(csidl, path);
    }
    platform::Status GetSpecialFolderLocationPath(int csidl, std::string& path) override {
        return real_.GetSpecialFolderLocationPath(csidl, path);
    }
    platform::Status HistoryItemCount(std::size_t& count) override {
        return real_.HistoryItemCount(count);
    }
    platform::Status HistoryItemVerbs(std::size_t item, std::vector<std::string>& verbs) override {
        return real_.HistoryItemVerbs(item, verbs);
    }
    platform::Status InvokeHistoryVerb(std::size_t item, std::size_t verb) override {
        std::vector<std::string> verbs;
        const bool deletes = real_.HistoryItemVerbs(item, verbs) == platform::kOk &&
                             verb < verbs.size() && IsDeleteVerb(verbs[verb]);
        const platform::Status status = real_.InvokeHistoryVerb(item, verb);
        if (deletes)
            record_.Note(Removal::Kind::HistoryItem, std::to_string(item + 1), "", 0, status);
        return status;
    }
    void ClearRecentDocs() override {
        real_.ClearRecentDocs();
        record_.Add({Removal::Kind::RecentDocuments, "", "", 0});
    }
    // Some Windows answer an empty bin with an error: only a bin emptied counts.
    std::int32_t EmptyRecycleBin() override {
        const std::int32_t result = real_.EmptyRecycleBin();
        if (result == 0) record_.Add({Removal::Kind::RecycleBin, "", "", 0});
        return result;
    }
    void UpdateRecycleBinIcon() override { real_.UpdateRecycleBinIcon(); }
    void OpenInBrowser(std::string_view address) override { real_.OpenInBrowser(address); }

  private:
    static bool IsDeleteVerb(std::string_view verb) {
        std::string plain;
        for (const char c : verb) {
            if (c != '&')
                plain.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
        }
        return plain == "delete";
    }

    platform::Shell& real_;
    RemovalRecord& record_;
};

class RecordingUrlCache final : public platform::UrlCache {
  public:
    RecordingUrlCache(platform::UrlCache& real, RemovalRecord& record)
        : real_(real), record_(record) {}

    platform::Status FindFirst(std::uint32_t& size, platform::UrlCacheWalk& walk,
                               platform::UrlCacheEntry& entry) override {
        return real_.FindFirst(size, walk, entry);
    }
    platform::Status FindNext(platform::UrlCacheWalk walk, std::uint32_t& size,
                              platform::UrlCacheEntry& entry) override {
        return real_.FindNext(walk, size, entry);
    }
    void Close(platform::UrlCacheWalk walk) override { real_.Close(walk); }
    platform::Status DeleteEntry(std::string_view url) override {
        const platform::Status status = real_.DeleteEntry(url);
        record_.Note(Removal::Kind::UrlCacheEntry, url, "", 0, status);
        return status;
    }

  private:
    platform::UrlCache& real_;
    RemovalRecord& record_;
};

class RecordingSessionTraces final : public platform::SessionTraces {
  public:
    RecordingSessionTraces(platform::SessionTraces& real, RemovalRecord& record)
        : real_(real), record_(record) {}

    platform::Status EmptyClipboard() override { return Noted(kClipboard, real_.EmptyClipboard()); }
    bool HasClipboardHistory() override { return real_.HasClipboardHistory(); }
    platform::Status ClearClipboardHistory() override {
        return Noted(kClipboardHistory, real_.ClearClipboardHistory());
    }
    bool HasDnsCache() override { return real_.HasDnsCache(); }
    platform::Status FlushDnsCache() override { return Noted(kDnsCache, real_.FlushDnsCache()); }

  private:
    // A call this Windows does not have removed nothing and failed at nothing.
    platform::Status Noted(std::string_view what, platform::Status status) {
        if (status != platform::kErrorCallNotImplemented)
            record_.Note(Removal::Kind::SessionTrace, what, "", 0, status);
        return status;
    }

    platform::SessionTraces& real_;
    RemovalRecord& record_;
};

}  // namespace qm::recording
