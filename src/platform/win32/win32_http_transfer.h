#pragma once
// One GET through WinINet, made to run on a thread of its own: it keeps copies of everything
// it was asked, so the caller may stop waiting for it, and any thread may abort it. Aborting
// closes its open WinINet handles, which makes a blocked connect, send or read return at once;
// a file it was writing is then removed on its way out.
#include <string>

#include "platform/http.h"
#include "platform/win32/windows_api.h"

namespace qm::win32 {

class HttpTransfer {
  public:
    explicit HttpTransfer(const platform::HttpRequest& request);
    ~HttpTransfer();
    HttpTransfer(const HttpTransfer&) = delete;
    HttpTransfer& operator=(const HttpTransfer&) = delete;

    // The transfer itself, on the worker thread; signals done() when it returns.
    void Run();
    // From any thread, at any time: the transfer ends as soon as WinINet lets go, and fails
    // with `reason` unless it had already ended.
    void Abort(platform::Status reason);
    // After Abort, for a caller that stops waiting: the file being written loses its name
    // now, or as soon as the worker lets go of it.
    void DropFile();

    // Signalled once Run has returned; only then are status() and response() the worker's.
    HANDLE done() const { return done_; }
    platform::Status status() const { return status_; }
    const platform::HttpResponse& response() const { return response_; }

  private:
    enum Slot { kSession, kConnection, kRequest, kSlots };

    platform::Status Transfer();
    // WinINet's handles are plain pointers (HINTERNET), kept so without <wininet.h> here.
    platform::Status ReadBody(void* request);
    // Keeps `handle` in `slot` for Abort to find; false (the handle closed) once aborted.
    bool Keep(Slot slot, void* handle);
    void CloseAll();
    bool aborted();
    // Bounds the next calls on `handle` by the request's timeout, or by what is left of its
    // limit when that is less, so that no call WinINet blocks in outlasts the limit. False
    // once the limit has passed.
    bool BoundByLimit(void* handle) const;

    std::string url_;
    std::string file_;
    platform::HttpBody body_;
    DWORD timeout_ms_;
    DWORD limit_ms_;
    DWORD start_ = 0;  // tick count when Run began
    platform::HttpResponse response_;
    platform::Status status_ = platform::kErrorInternetCannotConnect;

    CRITICAL_SECTION lock_;  // the handles and the abort
    void* handles_[kSlots] = {};
    platform::Status abort_reason_ = platform::kOk;
    HANDLE done_;
};

}  // namespace qm::win32
