#pragma once
// HTTP(S) through WinINet's wide-character calls: one session per request, no cache, no
// cookies, no redirects, no dialogs, and the request's timeout on the connection, each send
// and each receive. Each transfer runs on a thread of its own while the calling thread pumps
// its message loop, so the window stays answerable however slow the site; the request's whole
// limit is kept on the calling thread, which aborts the transfer once it has passed.
#include "platform/http.h"

namespace qm::win32 {

class Win32MessageLoop;

class Win32Http final : public platform::Http {
  public:
    // Waits pump `loop`; without one the calling thread simply waits.
    explicit Win32Http(Win32MessageLoop* loop = nullptr) : loop_(loop) {}

    platform::Status Get(const platform::HttpRequest& request,
                         platform::HttpResponse& response) override;

  private:
    bool Wait(void* event, unsigned long timeout_ms);

    Win32MessageLoop* loop_;
};

// The program is ending: every transfer still running in the process is aborted (its partial
// file removed) within a moment, and any Get from now on fails at once with
// kErrorInternetConnectionAborted. Nothing of the process then waits on the network, nor does
// WinINet's own clean-up meet a thread still inside it.
void CancelAllTransfers();

}  // namespace qm::win32
