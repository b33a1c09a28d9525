#pragma once
// HTTP(S) through WinINet's wide-character calls: one session per request, no cache, no
// cookies, no redirects, no dialogs, and the request's timeout on the connection, each send
// and each receive.
#include "platform/http.h"

namespace qm::win32 {

class Win32Http final : public platform::Http {
  public:
    platform::Status Get(const platform::HttpRequest& request,
                         platform::HttpResponse& response) override;
};

}  // namespace qm::win32
